#pragma once
// Tables: an ordered list of fields in three areas (keys, data fields,
// ignore fields) with the layout of a row's value buffer; the table types
// that group tables, the bridge to an outside database, and aux tables.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/elements/data_error.h"
#include "data/elements/data_field.h"
#include "data/elements/data_row.h"
#include "data/elements/singletons.h"
#include "data/types/pointer_index.h"

namespace tv {

class TDataTableType;
class TDataBridge;

// Where a key or data field's value sits in a row's buffer.
struct TFieldDataObject {
  TDataField* Field;
  int Offset;
};

// A named table: its key, data and ignore fields in order and the layout of its rows.
class TDataTable : public TSingleton {
  TV_CLASS(TDataTable, TSingleton)
 public:
  explicit TDataTable(TComponent* owner);
  ~TDataTable() override;

  // The table of Keys then Fields (missing entries skipped), registered in
  // each field's table list, laid out and checked for double fields.
  static std::unique_ptr<TDataTable> CreateWithFields(const std::string& tableName,
                                                      const std::vector<TDataField*>& keys,
                                                      const std::vector<TDataField*>& fields,
                                                      TDataBridge* dataBridge = nullptr,
                                                      TDataTableType* tableType = nullptr);

  // Raises the category "AddField" report when the field is already a key
  // or data field; an ignore field moves into the key area.
  void AddKey(TDataField* field);
  void AddField(TDataField* field);
  void AddIgnore(TDataField* field);
  void RemoveDataField(TDataField* field);
  void MoveField(TDataField* field, int newIndex);
  // Fields that the table does not hold yet, put among its data fields at
  // Index in their order, with one layout for all: as AddField and
  // MoveField one by one would put them, without laying the table out again
  // for each (a translator's thousands of languages).
  void InsertFields(const std::vector<TDataField*>& fields, int index);

  // Any position of the whole list, ignore fields included.
  TDataField* GetField(int idx) const {
    RequireElements(idx >= 0 && idx < static_cast<int>(fields_.size()),
                    "TDataTable.GetField: (idx >= 0) and (idx < FieldCount + IgnoreFieldCount), idx: ", idx);
    return fields_[static_cast<std::size_t>(idx)];
  }
  int KeyCount() const { return keyCount_; }
  int FieldCount() const { return fieldCount_; }
  int IgnoreFieldCount() const { return static_cast<int>(fields_.size()) - fieldCount_; }
  // Position among keys and data fields, or -1.
  int IndexOfField(const TDataField* field) const {
    RequireElements(field != nullptr, "TDataTable.IndexOfField: Field <> nil");
    const int* position = positions_.Find(field);
    return position != nullptr ? *position : -1;
  }
  bool TableHasField(const TDataField* field) const;
  bool TableHasKey(const TDataField* field) const;
  // True for a field outside the table too.
  bool TableHasNonKey(const TDataField* field) const;
  // IndexOfField, or else the first key or data field looked up through Field.
  int IndexOfFieldOrLookup(TDataField* field) const;
  void CheckDoubleFields() const;

  void LockStructure() { locked_ = true; }
  bool Locked() const { return locked_; }
  void CheckLocked() const;

  int FieldDataOffset(int idx) const {
    RequireElements(idx >= 0 && idx < fieldCount_,
                    "TDataTable.FieldDataOffset: (idx >= 0) and (idx < FieldCount), idx: ", idx);
    return layout_[static_cast<std::size_t>(idx)].Offset;
  }
  int RowDataSize() const { return rowDataSize_; }
  // The row of default values that new rows start as; made when first
  // asked for after a change of the fields, so that a table given thousands
  // of fields one by one does not make a row for each.
  const TDataRow& BlankRow() const;

  const std::string& TableName() const { return tableName_; }
  void SetTableName(const std::string& name);
  TDataTableType* TableType() const { return tableType_; }
  void SetTableType(TDataTableType* type);
  TDataBridge* DataBridge() const { return dataBridge_; }
  void SetDataBridge(TDataBridge* bridge) { dataBridge_ = bridge; }
  TLangArray& Descriptions() { return descriptions_; }
  TDataField* RunningNumberField() const { return runningNumberField_; }

  virtual bool HasFieldList(const TObject* object) const;
  // Asks the bridge to delete the matching rows in its database (all rows
  // without criteria); false without a bridge.
  virtual bool DeleteRows(const TObject* criteria);
  // Same keys, data fields and ignore fields in the same order, the same
  // field lists and running-number field; no name, type or bridge.
  virtual std::unique_ptr<TDataTable> CreateCopy() const;
  static std::unique_ptr<TDataTable> CreateCopy(const TDataTable* table);

 protected:
  // Adds a field the table does not hold yet at Position.
  void Take(TDataField* field, int position);
  void Release(TDataField* field);
  void UpdateLayout();
  void NoteSpecialField(TDataField* field);

 private:
  friend class TDataTableType;
  friend class TDataField;
  // A field being destroyed leaves every table that holds it, locked or not,
  // so that no table keeps a dangling field.
  void ForgetField(TDataField* field);
  void SetTableTypeQuietly(TDataTableType* type) { tableType_ = type; }
  int PositionInList(const TDataField* field) const;

  int keyCount_ = 0;
  int fieldCount_ = 0;
  std::vector<TDataField*> fields_;
  // Every key and data field's position (the first, should one stand twice):
  // every cell's read and write looks its field up here, so the lookup is
  // one hash probe whether the table has three fields or thousands (a
  // translator's languages), and a small table stays small.
  TPointerIndex positions_;
  std::string tableName_;
  TDataBridge* dataBridge_ = nullptr;
  TLangArray descriptions_;
  TDataTableType* tableType_ = nullptr;
  std::vector<TDataFieldList*> fieldLists_;
  std::vector<TObject*> extraLists_[2];
  TDataField* runningNumberField_ = nullptr;
  std::vector<TFieldDataObject> layout_;
  int rowDataSize_ = 0;
  mutable std::unique_ptr<TDataRow> blankRow_;
  bool locked_ = false;
};

// A named kind of table that tables are grouped by.
class TDataTableType : public TSingleton {
  TV_CLASS(TDataTableType, TSingleton)
 public:
  explicit TDataTableType(TComponent* owner);
  // Tables still of this type lose it (they must not point at a freed
  // type); the refusal itself is CheckDestroy's.
  ~TDataTableType() override;

  bool SortTables = false;
  TLangArray& Descriptions() { return descriptions_; }
  const std::vector<TDataTable*>& Tables() const { return tables_; }
  // Raises "TDataTableType.Destroy: TableList still contains N table(s).
  // The first one is NAME" while tables are of this type.
  void CheckDestroy() const;

 private:
  friend class TDataTable;
  std::vector<TDataTable*> tables_;
  TLangArray descriptions_;
};

using TOnBridgeDataEvent = std::function<void(const TDataType* dataType, TValue& value)>;

// The connection of a table to an outside database. This base has no
// transport: every operation refuses, naming why.
class TDataBridge : public TSingleton {
  TV_CLASS(TDataBridge, TSingleton)
 public:
  explicit TDataBridge(TComponent* owner);

  TOnBridgeDataEvent OnReadDbData;
  TOnBridgeDataEvent OnWriteDbData;
  bool CanRead = false;
  bool CanWrite = false;

  virtual void OpenReadConnection();
  virtual std::string GetSelectSQL(const TDataTable& table, const TObject* criteria);
  virtual void OpenWriteConnection();
  virtual void UpdateData(const TDataTable& table, const TList* rows);
  virtual bool DeleteData(const TDataTable& table, const TObject* criteria);
  virtual std::string GetDeleteSQL(const TDataTable& table, const TObject* criteria);

 private:
  [[noreturn]] void Refuse(const char* operation, bool allowed, const char* refusal) const;
};

// How an aux table loads its cached rows.
class TCacheLoadPolicy : public TSingleton {
  TV_CLASS(TCacheLoadPolicy, TSingleton)
 public:
  using TSingleton::TSingleton;
};

// The standard cache load policy.
class TDefaultCacheLoadPolicy : public TCacheLoadPolicy {
  TV_CLASS(TDefaultCacheLoadPolicy, TCacheLoadPolicy)
 public:
  using TCacheLoadPolicy::TCacheLoadPolicy;
  int NoCriteriaKeyCount = 0;
};

// A table whose rows are looked up from a cache.
class TAuxTable : public TDataTable {
  TV_CLASS(TAuxTable, TDataTable)
 public:
  using TDataTable::TDataTable;
  TCacheLoadPolicy* CacheLoadPolicy = nullptr;
  // Fill and release the row cache; the cache lives with the row storages.
  virtual void LoadCache() {}
  virtual void ReleaseCache() {}
};

// An aux table whose rows never come from a database.
class TVirtualAuxTable : public TAuxTable {
  TV_CLASS(TVirtualAuxTable, TAuxTable)
 public:
  using TAuxTable::TAuxTable;
};

}  // namespace tv
