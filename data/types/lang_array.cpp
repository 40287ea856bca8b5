#include "data/types/lang_array.h"

namespace tv {

TCommonLangArray::TCommonLangArray() : values_(std::make_unique<TStringList>()) {}

void TCommonLangArray::Assign(const TCommonLangArray& source) {
  if (&source != this) values_->Assign(*source.values_);
}

int TCommonLangArray::CurrentLanguage() {
  int language = 0;
  if (languageCallback_) languageCallback_(this, language);
  return language;
}

std::string TCommonLangArray::Text(int index) const {
  if (index < Count()) return values_->Strings(index);
  return Count() >= 1 ? values_->Strings(0) : DefaultText();
}

TObject* TCommonLangArray::Object(int index) const {
  if (index < Count()) return values_->Objects(index);
  return Count() >= 1 ? values_->Objects(0) : DefaultObject();
}

void TCommonLangArray::SetTexts(const std::vector<std::string>& texts) {
  values_->Clear();
  for (const std::string& text : texts) values_->Add(text);
}

void TCommonLangArray::SetObject(int index, TObject* object) {
  while (Count() <= index) values_->Add("");
  values_->PutObject(index, object);
}

void TLangArray::Assign(const TCommonLangArray& source) {
  TCommonLangArray::Assign(source);
  if (const auto* other = dynamic_cast<const TLangArray*>(&source)) defaultText_ = other->defaultText_;
}

}  // namespace tv
