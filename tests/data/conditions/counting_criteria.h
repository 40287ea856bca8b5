#pragma once
// A criteria that counts the rows it is asked about, so that a test can tell
// which parts of a key tree a traversal visited.

#include "data/conditions/criteria.h"

namespace tv::test {

class TCountingCriteria : public TCriteria {
 public:
  mutable int tested = 0;
  bool AcceptsRow(const TAbstractRow& row) const override {
    ++tested;
    return TCriteria::AcceptsRow(row);
  }
};

}  // namespace tv::test
