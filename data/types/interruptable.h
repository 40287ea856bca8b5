#pragma once
// TInterruptable: what a caller hands to a long load so that the load can be
// stopped and can hand back how many rows it took. The routines below accept
// a missing object: it reads as not interrupted with count 0.

#include "platform/rtl/object.h"

namespace tv {

// What a caller hands to a long load so that it can be stopped and report its count.
class TInterruptable : public TObject {
  TV_CLASS(TInterruptable, TObject)
 public:
  int Setting = 10;  // how a load may use it is the load's own choice
  int Count = 0;     // set by the load
  bool Interrupted = false;
};

inline bool IsInterrupted(const TInterruptable* interruptable) {
  return interruptable && interruptable->Interrupted;
}
inline void SetInterrupted(TInterruptable* interruptable, bool interrupted) {
  if (interruptable) interruptable->Interrupted = interrupted;
}
inline int InterruptableCount(const TInterruptable* interruptable) {
  return interruptable ? interruptable->Count : 0;
}

}  // namespace tv
