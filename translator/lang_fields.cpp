#include "translator/lang_fields.h"

#include "data/elements/data_row.h"
#include "data/types/data_types.h"

namespace tv {

namespace {

constexpr int kLanguageTextSize = 255;

}  // namespace

TLangNameField::TLangNameField(const std::string& name) : TDataField(nullptr) {
  SetDataType(StringType(kLanguageTextSize, false));
  SetLanguageName(name);
}

TLangNameField::~TLangNameField() {
  SetSortField(nullptr);
}

TLangSortField& TLangNameField::SortByText() {
  if (!sortField_) {
    sortField_ = std::make_unique<TLangSortField>(*this);
    SetSortField(sortField_.get());
  }
  return *sortField_;
}

TDataField* TLangNameField::SortField() {
  return &SortByText();
}

std::string TLangNameField::LanguageName() const {
  return const_cast<TLangArray&>(Descriptions()).CurrentText();
}

void TLangNameField::SetLanguageName(const std::string& name) {
  SetDescriptions({name});
}

TLangSortField::TLangSortField(TLangNameField& languageField)
    : TCalcField(nullptr), languageField_(&languageField) {
  InitCalc("", true, true, languageField.DataType());
}

TValue TLangSortField::CalcValue(const TAbstractRow& row) const {
  std::string text = row.GetFStringValue(languageField_);
  std::erase(text, '&');
  return StringValue(text);
}

}  // namespace tv
