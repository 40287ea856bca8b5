#include "platform/components/persistent.h"

namespace tv {

void TPersistent::Assign(const TPersistent* source) {
  if (source != nullptr) {
    source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* destination) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " +
                      (destination != nullptr ? destination->ClassName() : std::string("nil")));
}

}  // namespace tv
