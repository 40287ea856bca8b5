#pragma once
// Values per language: item i of an array is the value of language i. An
// array does not know the current language; its owner's callback tells it.
// A read falls back from the requested language to language 0, and from an
// empty array to a default.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/lists.h"

namespace tv {

// Texts per language with fallback to language 0, without a default.
class TCommonLangArray : public TObject {
  TV_CLASS(TCommonLangArray, TObject)
 public:
  // Sender, and the current language number to fill in.
  using TLanguageCallback = std::function<void(TCommonLangArray* sender, int& language)>;

  TCommonLangArray() = default;

  virtual std::string DefaultText() const { return {}; }
  virtual TObject* DefaultObject() const { return nullptr; }
  // Copies Source's texts and objects; assigning an array to itself does nothing.
  virtual void Assign(const TCommonLangArray& source);

  void SetLanguageCallback(TLanguageCallback callback) { languageCallback_ = std::move(callback); }
  int Count() const { return values_ ? values_->Count() : 0; }
  // The callback's answer, 0 without one.
  int CurrentLanguage();

  std::string Text(int index) const;
  std::string CurrentText() { return Text(CurrentLanguage()); }
  TObject* Object(int index) const;
  TObject* CurrentObject() { return Object(CurrentLanguage()); }

  // Language 0 first.
  void SetTexts(const std::vector<std::string>& texts);
  // The value of the next language.
  void Add(const std::string& text) { Writable().Add(text); }
  void AddObject(const std::string& text, TObject* object) { Writable().AddObject(text, object); }
  // The object of language Index; languages up to it get empty entries first.
  void SetObject(int index, TObject* object);
  const TStringList& Values() const;

 private:
  TStringList& Writable();
  TLanguageCallback languageCallback_;
  // Made by the first value: most arrays of a field stay empty.
  std::unique_ptr<TStringList> values_;
};

// Texts per language with fallback to language 0 and then to a default.
class TLangArray : public TCommonLangArray {
  TV_CLASS(TLangArray, TCommonLangArray)
 public:
  explicit TLangArray(std::string defaultText = {}) : defaultText_(std::move(defaultText)) {}

  std::string DefaultText() const override { return defaultText_; }
  void SetDefaultText(std::string text) { defaultText_ = std::move(text); }
  // Also takes the default text of another TLangArray.
  void Assign(const TCommonLangArray& source) override;

 private:
  std::string defaultText_;
};

}  // namespace tv
