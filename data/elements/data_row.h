#pragma once
// Rows: one value per key and data field of a table, held in one flat
// buffer laid out by the table. A data row is an ordinary row; a sub-total
// row is a node of a storage's key tree.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/elements/codes.h"
#include "data/elements/data_field.h"
#include "data/types/interruptable.h"
#include "data/types/value.h"
#include "data/types/value_list.h"
#include "platform/rtl/lists.h"

namespace tv {

class TDataField;
class TDataTable;
class TAbstractRow;
class TDataRow;
class TSubTotalRow;
class TRowSortOrder;

// How AddValues merges the aggregable values of another row.
enum class TAddMode { amAdd, amSubtract, amReplace, amKeep };

// What the rows of a storage need of it; the row storage implements it.
class TRowStorageLink {
 public:
  virtual ~TRowStorageLink() = default;
  // A fresh row of the storage's table, outside the storage.
  virtual std::unique_ptr<TDataRow> NewRow() = 0;
  // Takes the row out of its parent's children; the storage still owns it.
  virtual void TakeOut(TAbstractRow& row) = 0;
  // Changes a key of a stored row: takes the row out, writes the value and
  // puts it back; a refused change leaves the row exactly as it was.
  virtual TSetResult ChangeKey(TDataRow& row, int idx, const TValue& value, TSetAction setAction) = 0;
  // Owns Row, a row outside its tree, as if it had been taken out.
  virtual void TakeOver(std::unique_ptr<TDataRow> row) = 0;
  // Puts a taken-out row (back) into the tree; refused, it stays taken out.
  virtual TPutResult PutRow(TDataRow& row, TPutAction putAction) = 0;
  // Keeps a deleted accepted row, owned by the storage from now on.
  virtual void AddDeletedRow(TDataRow& row) = 0;
  // Frees a row of the storage.
  virtual void FreeRow(TDataRow& row) = 0;
  virtual void RowChanged(TAbstractRow& row, TChangeKind changeKind) = 0;
  // The storage's last key-tree level.
  virtual int LastLevel() const = 0;
  // Sub-totals above Row must be computed again.
  virtual void InvalidateSubTotals(TAbstractRow& row) = 0;
  virtual void Touch() = 0;
};

// Selects rows; conditions implement it.
class TRowCondition {
 public:
  virtual ~TRowCondition() = default;
  virtual bool AcceptsRow(const TAbstractRow& row) const = 0;
};

// Decides whether rows are accepted (AcceptRow).
class TRowAcceptor {
 public:
  virtual ~TRowAcceptor() = default;
  virtual bool Accepts(TAbstractRow& row) = 0;
  // May be null.
  virtual TInterruptable* Interruptable() const { return nullptr; }
};

// A row of one table: its values in one flat buffer, its storage and place in the key tree.
class TAbstractRow : public TObject {
  TV_CLASS(TAbstractRow, TObject)
 public:
  TAbstractRow(const TAbstractRow&) = delete;
  TAbstractRow& operator=(const TAbstractRow&) = delete;

  const TDataTable& DataTable() const { return *dataTable_; }
  unsigned char* Buffer() { return buffer_.data(); }
  const unsigned char* Buffer() const { return buffer_.data(); }
  // How memo texts longer than their slot are kept outside the buffer.
  TOverflowCallback Overflow(int idx) const;
  TRowStorageLink* Storage() const { return storage_; }
  void SetStorage(TRowStorageLink* storage) { storage_ = storage; }
  TSubTotalRow* Parent() const { return parent_; }
  void SetParent(TSubTotalRow* parent) { parent_ = parent; }
  // The string list attached to the row, made on first use.
  TStringList& Strings();
  bool HasStrings() const { return strings_ != nullptr; }
  void SetVisible(bool visible);

  // The virtual operations of rows, in order.
  virtual void SetValueByField(const TDataField* field, const TValue& value);
  virtual void SetValueByIndex(int idx, const TValue& value);
  virtual bool IsDataRow() const = 0;
  virtual bool IsLocked() const { return false; }
  virtual TSetResult SetIndexValue(int idx, const TValue& value, TSetAction setAction) = 0;
  virtual void CollectRows(std::vector<TAbstractRow*>& list, const TRowCondition* condition,
                           bool ordered) = 0;
  virtual bool HasState(TRowState state) const = 0;
  virtual int LevelCount() const;
  virtual bool AcceptRow(TRowAcceptor& acceptor, const std::function<void(void*, TAbstractRow&)>& callback,
                         void* data) = 0;
  virtual void BeforeRead() const {}
  virtual void CollectByState(std::vector<TAbstractRow*>& list, TRowState state) = 0;
  virtual void CountDataRows(int& counter) const = 0;
  // The field's position among the keys and data fields, or -1.
  virtual int IndexOfField(const TDataField* field) const;
  virtual bool IsRealRow() const = 0;
  virtual bool IsUnaccepted() const = 0;
  virtual bool Visible() const { return visible_; }
  virtual bool FieldHasValue(const TDataField* field) const = 0;

  // The field's value: a fictive field reads the field it stands for; a
  // field with a place is read from the buffer; any other is computed.
  TValue GetFieldValue(const TDataField* field) const;
  std::string GetFStringValue(const TDataField* field) const;
  std::int32_t GetFIntegerValue(const TDataField* field) const;
  bool GetFBooleanValue(const TDataField* field) const;
  // The value at a position, read by the field's type.
  TValue IndexValue(int idx) const;
  // The buffer slot of a position, read and written by its field's type:
  // the one place that knows where and how a value lies in the buffer.
  TValue ReadSlot(int idx) const;
  void WriteSlot(int idx, const TValue& value);
  // Whether two rows hold equal values at a position (the type's Equals).
  bool IndexEqual(const TAbstractRow* cmpRow, int idx) const;
  // -1, 0 or 1: this row against ARow under the sort order (keys ascending
  // without one); the order takes this row's table.
  int Before(const TAbstractRow* aRow, TRowSortOrder* sortOrder) const;
  // The values of the keys and data fields, as a row is shown in messages.
  std::string DisplayText() const;

 protected:
  explicit TAbstractRow(const TDataTable& table);
  // A row of Table holding Pattern's values (its buffer taken as it is).
  TAbstractRow(const TDataTable& table, const TAbstractRow& pattern);
  void CopyBufferFrom(const TAbstractRow& source);

 private:
  void CopyTextsFrom(const TAbstractRow& source);
  static void OverflowRoutine(void* context, std::intptr_t argument, std::string& text,
                              TOverflowAction action);
  const TDataTable* dataTable_;
  bool visible_ = true;
  std::unique_ptr<TStringList> strings_;
  TRowStorageLink* storage_ = nullptr;
  TSubTotalRow* parent_ = nullptr;
  std::vector<unsigned char> buffer_;
  // Long memo texts by position; made when the first one is stored.
  std::unique_ptr<std::vector<std::string>> overflowTexts_;
};

int IndexOfField(const TAbstractRow* row, const TDataField* field);

// A rule of a sort order: a field and its direction, with the field's
// position in the order's table cached (-1 when the table lacks it).
struct TRowSortOrderRule {
  const TDataField* Field;
  TSortOrder Direction = TSortOrder::soAscending;
  int Position = -1;
};

// Rules applied in turn; the first that tells two rows apart decides.
class TRowSortOrder {
 public:
  TRowSortOrder() = default;
  explicit TRowSortOrder(std::vector<TRowSortOrderRule> rules) : rules_(std::move(rules)) {}
  const std::vector<TRowSortOrderRule>& Rules() const { return rules_; }
  void Add(const TDataField* field, TSortOrder direction = TSortOrder::soAscending);
  const TDataTable* Table() const { return table_; }
  // A different table recomputes every rule's cached position.
  void SetTable(const TDataTable* table);
  // The rule's value of the row: by the cached position in the order's
  // table, through GetFieldValue otherwise.
  TValue RuleValue(const TRowSortOrderRule& rule, const TAbstractRow& row) const;

 private:
  std::vector<TRowSortOrderRule> rules_;
  const TDataTable* table_ = nullptr;
};

// A row of data, with a state that tells where it stands in its storage.
class TDataRow : public TAbstractRow {
  TV_CLASS(TDataRow, TAbstractRow)
 public:
  // A copy of the table's blank row, outside any storage (rsExternControlled).
  explicit TDataRow(const TDataTable* table);
  // The table's blank row: every key and data field with a data type holds
  // that type's default value.
  struct TBlank {};
  TDataRow(const TDataTable& table, TBlank);

  TRowState State() const { return state_; }
  void SetState(TRowState state) { state_ = state; }
  int LockCount() const { return lockCount_; }
  // A locked row is in the middle of a change of its storage's.
  void Lock() { ++lockCount_; }
  void Unlock() { --lockCount_; }

  bool IsDataRow() const override { return true; }
  bool IsLocked() const override { return lockCount_ > 0; }
  // A key of a row in a storage is changed by the storage (ChangeKey of the
  // link); writing the value it holds is no change.
  TSetResult SetIndexValue(int idx, const TValue& value, TSetAction setAction) override;
  void CollectRows(std::vector<TAbstractRow*>& list, const TRowCondition* condition, bool ordered) override;
  bool HasState(TRowState state) const override { return state_ == state; }
  bool AcceptRow(TRowAcceptor& acceptor, const std::function<void(void*, TAbstractRow&)>& callback,
                 void* data) override;
  void CollectByState(std::vector<TAbstractRow*>& list, TRowState state) override;
  void CountDataRows(int& counter) const override { ++counter; }
  bool IsRealRow() const override { return true; }
  bool IsUnaccepted() const override {
    return state_ == rsModified || state_ == rsDeleted || state_ == rsInserted;
  }
  bool FieldHasValue(const TDataField* field) const override;
  // Accepted and modified rows of a storage go to its deleted rows; any
  // other row is freed: the caller must not hold it any longer.
  virtual void DeleteRow(bool flag = false);
  // The whole buffer and the string list; only into a row outside any storage, only
  // from a row of the same table.
  virtual void CopyContents(const TDataRow* srcRow);
  virtual std::unique_ptr<TDataRow> Clone() const;

  // Typed setters: the value as a generic value, set action 0.
  void SetFStringValue(const TDataField* field, std::string_view text);
  void SetFBooleanValue(const TDataField* field, bool flag);
  void SetFPointerValue(const TDataField* field, void* pointer);
  TSetResult SetFieldValue(const TDataField* field, const TValue& value, TSetAction setAction = saRefuse);
  void SetDefaultsFrom(const TDataRow* defaultRow);
  void AddValues(const TDataRow* sourceRow, TAddMode mode);
  // The key value and the description text of a lookup field.
  std::pair<TValue, std::string> GetKeyAndDescription(const TDataField* aField) const;

 private:
  bool HoldsAlready(int idx, const TValue& value) const;
  TRowState state_ = rsExternControlled;
  int lockCount_ = 0;
};

// How a sub-total row treats values written to it.
class TSubTotalHandler : public TObject {
  TV_CLASS(TSubTotalHandler, TObject)
 public:
  virtual TSetResult SetValue(TSubTotalRow& row, const TDataField* field, const TValue& value) = 0;
};

// Sub-totals cannot be written unless a handler says how.
class TDefaultSubTotalHandler : public TSubTotalHandler {
  TV_CLASS(TDefaultSubTotalHandler, TSubTotalHandler)
 public:
  TSetResult SetValue(TSubTotalRow& row, const TDataField* field, const TValue& value) override;
};

// A node of a storage's key tree: its children are the rows and nodes below
// it, kept sorted by their key for KeyField, the field by which this node's
// children are keyed. It owns them.
class TSubTotalRow : public TAbstractRow {
  TV_CLASS(TSubTotalRow, TAbstractRow)
 public:
  TSubTotalRow(const TDataTable& table, int level, const TDataField* keyField);
  ~TSubTotalRow() override;

  int Level() const { return level_; }
  const TDataField* KeyField() const { return keyField_; }
  int ChildCount() const;
  TAbstractRow* Child(int index) const;
  TValue ChildKey(int index) const;
  // The position of the (first) child with that key, or -1.
  int FindChild(const TValue& key) const;
  // Places the child by its key (first among equal keys); returns where.
  int AddChild(const TValue& key, std::unique_ptr<TAbstractRow> child);
  std::unique_ptr<TAbstractRow> TakeChild(int index);
  void SetHandler(TSubTotalHandler* handler) { handler_ = handler; }
  // Takes the key values of Parent (those of every level above it) and Key,
  // its own key at FieldIndex in Parent (none when -1): a node reads them
  // like a data row, so conditions on keys judge it as they judge its rows.
  // The node is to become Parent's child: which keys it holds is told by
  // the nodes above it.
  void TakeKeysFrom(const TSubTotalRow& parent, int fieldIndex, const TValue& key);
  // The sum of an aggregable field over the data rows below.
  TValue Aggregate(const TDataField* field) const;

  bool IsDataRow() const override { return false; }
  TSetResult SetIndexValue(int idx, const TValue& value, TSetAction setAction) override;
  // Itself (when visible and accepted by the condition), then its children.
  void CollectRows(std::vector<TAbstractRow*>& list, const TRowCondition* condition, bool ordered) override;
  bool HasState(TRowState) const override { return false; }
  bool AcceptRow(TRowAcceptor& acceptor, const std::function<void(void*, TAbstractRow&)>& callback,
                 void* data) override;
  void CollectByState(std::vector<TAbstractRow*>& list, TRowState state) override;
  void CountDataRows(int& counter) const override;
  bool IsRealRow() const override { return false; }
  bool IsUnaccepted() const override { return false; }
  // Its keys (TakeKeysFrom) and aggregable fields.
  bool FieldHasValue(const TDataField* field) const override;

 private:
  int level_;
  // The position of the node's own key (TakeKeysFrom), or -1; the nodes
  // above it hold the positions of the other keys it holds.
  int keyIndex_ = -1;
  const TDataField* keyField_;
  TValueList children_;
  TSubTotalHandler* handler_ = nullptr;
};

}  // namespace tv
