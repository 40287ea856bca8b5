#include "data/conditions/condition.h"

namespace tv {

TGetRowsHandler::TGetRowsHandler(const TCondition& condition, int lastKeyLevel, bool counting)
    : condition_(condition), lastKeyLevel_(lastKeyLevel), counting_(counting) {}

void TGetRowsHandler::Handle(TAbstractRow& child) {
  if (auto* node = ClassCast<TSubTotalRow>(&child)) {
    condition_.Traverse(*this, *node);
    return;
  }
  auto* row = ClassCast<TDataRow>(&child);
  if (!row || !condition_.AcceptsRow(*row)) return;
  ++count_;
  if (!counting_) rows_.push_back(row);
}

void TCondition::Changed() {
  if (updateCount_ > 0)
    pending_ = true;
  else if (OnChange)
    OnChange(*this);
}

void TCondition::EndUpdate() {
  if (--updateCount_ < 1) {
    updateCount_ = 0;
    Changed();
    pending_ = false;
  }
}

void TCondition::Traverse(TGetRowsHandler& handler, TSubTotalRow& node) const {
  for (int i = 0; i < node.ChildCount(); ++i) handler.Handle(*node.Child(i));
}

bool TCondition::AcceptsRow(const TAbstractRow&) const {
  return true;
}

}  // namespace tv
