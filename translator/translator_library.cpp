#include "translator/translator_library.h"

#include "data/types/data_types.h"
#include "platform/components/class_registry.h"
#include "platform/rtl/process_object.h"
#include "translator/app_translator.h"

namespace tv {

namespace {

constexpr int kNameSize = 64;

// Not destroyed at the end of the process: translators still alive then
// leave its list.
constinit TProcessObject<TTranslatorShared> shared;

std::unique_ptr<TTranslatorShared> MakeShared() {
  auto s = std::make_unique<TTranslatorShared>();
  s->ClassField = TKeyField::CreateNamed("Class", StringType(kNameSize, false));
  s->ComponentField = TKeyField::CreateNamed("Component", StringType(kNameSize, false));
  s->PropertyField = TKeyField::CreateNamed("Property", StringType(kNameSize, false));
  s->TranslateField = TDataField::CreateNamed("Translate", BooleanType());
  s->IncludeSubclassesField = TDataField::CreateNamed("Include subclasses", BooleanType());
  s->PointerField = TDataField::CreateNamed("Pointer to component", ObjectType());
  s->TranslateText = TBooleanTextField::Create("", s->TranslateField.get());
  s->IncludeSubclassesText = TBooleanTextField::Create("", s->IncludeSubclassesField.get());
  s->RulesTable = TDataTable::CreateWithFields("", {s->ClassField.get(), s->PropertyField.get()},
                                               {s->IncludeSubclassesField.get(), s->TranslateField.get()});
  return s;
}

}  // namespace

TTranslatorShared& InitializeTranslatorLibrary() {
  return shared.Get([] {
    auto made = MakeShared();
    // Stored forms name them.
    RegisterComponentClass<TTranslator>();
    RegisterComponentClass<TtvTranslator>();
    return made;
  });
}

TTranslatorShared* FindTranslatorLibrary() {
  return shared.Find();
}

void FinalizeTranslatorLibrary() {
  TTranslatorShared* current = shared.Find();
  if (current == nullptr) return;
  if (!current->Translators.empty())
    throw ETranslatorError("The translator library cannot end while translators exist");
  // Tables go before the fields they hold, text fields before their fields.
  current->RulesTable.reset();
  current->TranslateText.reset();
  current->IncludeSubclassesText.reset();
  shared.Free();
}

}  // namespace tv
