#include "translator/translator_library.h"

#include "data/types/data_types.h"
#include "platform/components/class_registry.h"
#include "translator/app_translator.h"

namespace tv {

namespace {

constexpr int kNameSize = 64;

std::unique_ptr<TTranslatorShared>& Shared() {
  static auto* shared = new std::unique_ptr<TTranslatorShared>();
  return *shared;
}

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
  if (!Shared()) {
    Shared() = MakeShared();
    // Stored forms name them.
    RegisterComponentClass<TTranslator>();
    RegisterComponentClass<TtvTranslator>();
  }
  return *Shared();
}

void FinalizeTranslatorLibrary() {
  if (!Shared()) return;
  if (!Shared()->Translators.empty())
    throw ETranslatorError("The translator library cannot end while translators exist");
  // Tables go before the fields they hold, text fields before their fields.
  Shared()->RulesTable.reset();
  Shared()->TranslateText.reset();
  Shared()->IncludeSubclassesText.reset();
  Shared().reset();
}

}  // namespace tv
