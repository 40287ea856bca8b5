#pragma once
// What all translators share: the field set of their tables, the table of
// property rules, and the list of the translators that exist. Made by an
// explicit initialisation on first use, in order after the data types they
// need; nothing is made when the library is merely loaded.

#include <memory>
#include <vector>

#include "data/elements/calc_fields.h"
#include "data/elements/data_field.h"
#include "data/elements/data_table.h"

namespace tv {

class TTranslator;

// The translators' refusals carry their message alone.
class ETranslatorError : public Exception {
 public:
  using Exception::Exception;
};

struct TTranslatorShared {
  std::unique_ptr<TKeyField> ClassField, ComponentField, PropertyField;
  std::unique_ptr<TDataField> TranslateField, IncludeSubclassesField, PointerField;
  std::unique_ptr<TBooleanTextField> TranslateText, IncludeSubclassesText;
  // Keys "Class", "Property"; data "Include subclasses", "Translate".
  std::unique_ptr<TDataTable> RulesTable;
  // In order of creation; not owned.
  // The live translators; touched on the thread of the dialogs only.
  std::vector<TTranslator*> Translators;
};

// Creates the shared set when it does not exist yet, and returns it.
TTranslatorShared& InitializeTranslatorLibrary();
// The shared set if it exists, for translators that only leave its list.
TTranslatorShared* FindTranslatorLibrary();
// Frees the shared set; refused with ETranslatorError while translators
// exist. Tests and tools call it to leave nothing behind.
void FinalizeTranslatorLibrary();

}  // namespace tv
