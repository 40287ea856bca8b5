#pragma once
// The field of one language's texts and the field that sorts by them.

#include <memory>
#include <string>

#include "data/elements/calc_fields.h"
#include "data/elements/data_field.h"

namespace tv {

class TLangSortField;

// A language's texts; the language's name is the field's description.
class TLangNameField : public TDataField {
  TV_CLASS(TLangNameField, TDataField)
 public:
  explicit TLangNameField(const std::string& name);
  ~TLangNameField() override;
  // The description of the engine's current language (language 0 when it
  // has none of its own).
  std::string LanguageName() const;
  // Both description arrays become the one text Name.
  void SetLanguageName(const std::string& name);
  // Made on first use: a dialog's translator reads and applies texts and
  // never sorts by them, the translator's editor does.
  TLangSortField& SortByText();
  TDataField* SortField() override;

 private:
  std::unique_ptr<TLangSortField> sortField_;
};

// The language's text without "&", so that accelerator marks do not
// disturb sorting.
class TLangSortField : public TCalcField {
  TV_CLASS(TLangSortField, TCalcField)
 public:
  explicit TLangSortField(TLangNameField& languageField);
  TValue CalcValue(const TAbstractRow& row) const override;

 private:
  TLangNameField* languageField_;
};

}  // namespace tv
