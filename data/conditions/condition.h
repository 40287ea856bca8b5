#pragma once
// Conditions on the rows of a table. A storage selects rows by handing its
// key tree to a condition's Traverse, which reports matching rows to a
// TGetRowsHandler; single rows are tested with AcceptsRow.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "data/elements/data_row.h"
#include "platform/components/persistent.h"

namespace tv {

class TCondition;

// Collects what a traversal reports: the matching data rows, or only their
// number. It asks for keyed descent unless told otherwise.
class TGetRowsHandler {
 public:
  // LastKeyLevel: the level of the nodes whose children are data rows.
  TGetRowsHandler(const TCondition& condition, int lastKeyLevel, bool counting = false);

  bool KeyedDescent = true;
  // With keyed descent: the nodes of the last key level are walked in full.
  bool LastLevelFlag = false;
  int LastKeyLevel() const { return lastKeyLevel_; }
  const TCondition& Condition() const { return condition_; }

  // A child of a node: a node is traversed further by the condition, a data
  // row is reported when the condition accepts it.
  void Handle(TAbstractRow& child);
  const std::vector<TDataRow*>& Rows() const { return rows_; }
  int Count() const { return count_; }

 private:
  const TCondition& condition_;
  int lastKeyLevel_;
  bool counting_;
  std::vector<TDataRow*> rows_;
  int count_ = 0;
};

// A condition on the rows of a table, with change notices for its observers.
class TCondition : public TPersistent, public TRowCondition {
  TV_CLASS(TCondition, TPersistent)
 public:
  using TChangeEvent = std::function<void(TCondition& sender)>;

  TChangeEvent OnChange;
  TObject* Owner() const { return owner_; }
  void SetOwner(TObject* owner) { owner_ = owner; }
  int UpdateCount() const { return updateCount_; }
  bool ChangePending() const { return pending_; }

  void BeginUpdate() { ++updateCount_; }
  // Inside an update the change waits for the outermost EndUpdate.
  void Changed();
  void EndUpdate();

  // Hands every child of Node, in key order, to the handler.
  virtual void Traverse(TGetRowsHandler& handler, TSubTotalRow& node) const;
  // Every row, unless a descendant says otherwise.
  bool AcceptsRow(const TAbstractRow& row) const override;

 protected:
  explicit TCondition(TObject* owner = nullptr) : owner_(owner) {}

 private:
  int updateCount_ = 0;
  bool pending_ = false;
  TObject* owner_;
};

// The common base of the criteria and their fields.
class TNiceCondition : public TCondition {
  TV_CLASS(TNiceCondition, TCondition)
 protected:
  using TCondition::TCondition;
};

inline void RequireCriteria(bool condition, std::string_view message, std::uint32_t line = __builtin_LINE()) {
  Require(condition, message, "Criteria", line);
}

}  // namespace tv
