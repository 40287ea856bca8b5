#include "data/types/lang_array.h"

namespace tv {

const TStringList& TCommonLangArray::Values() const {
  static const TStringList empty;
  return values_ ? *values_ : empty;
}

TStringList& TCommonLangArray::Writable() {
  if (!values_) values_ = std::make_unique<TStringList>();
  return *values_;
}

void TCommonLangArray::Assign(const TCommonLangArray& source) {
  if (&source != this) Writable().Assign(source.Values());
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
  TStringList& values = Writable();
  values.Clear();
  for (const std::string& text : texts) values.Add(text);
}

void TCommonLangArray::SetObject(int index, TObject* object) {
  TStringList& values = Writable();
  while (values.Count() <= index) values.Add("");
  values.PutObject(index, object);
}

void TLangArray::Assign(const TCommonLangArray& source) {
  TCommonLangArray::Assign(source);
  if (const auto* other = dynamic_cast<const TLangArray*>(&source)) defaultText_ = other->defaultText_;
}

}  // namespace tv
