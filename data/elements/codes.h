#pragma once
// The codes of the data engine: where a row stands, what a write or a put
// into a storage is asked to do and how it ended, what changed in a row, and
// how grave a data error is. Their numbers are those of the stored interface
// and of the messages that print them ("Unknown TPutResult 9)!").

namespace tv {

// Where a row stands: accepted, changed, inserted or deleted in a storage,
// outside the storage's rows, or outside any storage (owned by its creator).
enum class TRowState : unsigned char {
  rsAccepted = 0,
  rsModified = 1,
  rsDeleted = 2,
  rsInserted = 3,
  rsOutside = 4,
  rsExternControlled = 5,
};
using enum TRowState;

// What a changed key does when it meets another row's key.
enum class TSetAction : int { saRefuse = 0, saReplace = 1 };
using enum TSetAction;

// How a write of a field ended; a read-only field refuses with its own code.
enum class TSetResult : int { srSet = 0, srRefused = 1, srReadOnly = 4 };
using enum TSetResult;

// What a put into a storage does with a row whose key is present already.
enum class TPutAction : int {
  paRefuse = 0,
  paReplace = 1,
  paReplaceIfDifferent = 2,
  paMergeAdd = 3,
  paMergeSubtract = 4,
  paMergeReplace = 5,
  paMergeKeep = 6,
  paInternalRestore = 7,  // a row going back to its old place
};
using enum TPutAction;

// How a put into a storage ended. Two outcomes share the number 6, as the
// stored interface gives it to both; their names keep them apart.
enum class TPutResult : int {
  prInserted = 0,
  prRefused = 1,
  prKeyExists = 2,
  prReplaced = 3,
  prNotAccepted = 4,  // outside the storage's key condition
  prMerged = 5,
  prNotAccepting = 6,  // the storage takes no rows
  prEqualRowKept = 6,  // replace-if-different met an equal row
  prRestored = 7,
};
using enum TPutResult;

// What a row tells its storage about itself.
enum class TChangeKind : int { ckDeleted = 2, ckVisibility = 3 };
using enum TChangeKind;

enum class TDataErrorSeverity : int { desFatal = 1, desWarning = 2 };
using enum TDataErrorSeverity;

// The number of a code, for messages.
template <class TCode>
constexpr int CodeNumber(TCode code) {
  return static_cast<int>(code);
}

}  // namespace tv
