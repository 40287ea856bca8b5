// Per-language arrays: the fallback from the requested language to language
// 0 and then to the default, and the owner's language callback.

#include <gtest/gtest.h>

#include "data/types/lang_array.h"

namespace tv {
namespace {

TEST(TLangArray, ReadsFallBackToLanguageZeroThenToTheDefault) {
  TLangArray array("(none)");
  EXPECT_EQ(array.Text(0), "(none)");
  EXPECT_EQ(array.Text(7), "(none)");
  array.SetTexts({"Deutsch", "English"});
  EXPECT_EQ(array.Text(1), "English");
  EXPECT_EQ(array.Text(5), "Deutsch");
  array.Add(
      "Fran\xE7"
      "ais");  // Français
  EXPECT_EQ(array.Count(), 3);
  EXPECT_EQ(array.Text(2),
            "Fran\xE7"
            "ais");
  array.SetTexts({});
  EXPECT_EQ(array.Text(0), "(none)");
}

TEST(TLangArray, CurrentLanguageComesFromTheOwner) {
  TLangArray array;
  array.SetTexts({"Ja", "Yes"});
  EXPECT_EQ(array.CurrentLanguage(), 0);
  EXPECT_EQ(array.CurrentText(), "Ja");
  int language = 1;
  TCommonLangArray* asked = nullptr;
  array.SetLanguageCallback([&](TCommonLangArray* sender, int& current) {
    asked = sender;
    current = language;
  });
  EXPECT_EQ(array.CurrentText(), "Yes");
  EXPECT_EQ(asked, &array);
  language = 4;
  EXPECT_EQ(array.CurrentText(), "Ja");
}

TEST(TLangArray, AssignCopiesValuesAndDefault) {
  TLangArray source("default");
  source.SetTexts({"a", "b"});
  TLangArray target("other");
  target.Assign(source);
  EXPECT_EQ(target.Text(1), "b");
  EXPECT_EQ(target.DefaultText(), "default");
  target.Assign(target);
  EXPECT_EQ(target.Count(), 2);

  TCommonLangArray common;
  common.Add("x");
  target.Assign(common);
  EXPECT_EQ(target.Count(), 1);
  EXPECT_EQ(target.DefaultText(), "default");  // only a TLangArray brings a default
}

TEST(TCommonLangArray, ObjectsFallBackLikeTexts) {
  TCommonLangArray array;
  EXPECT_EQ(array.Object(3), nullptr);
  TObject german, english;
  array.AddObject("de", &german);
  array.AddObject("en", &english);
  EXPECT_EQ(array.Object(1), &english);
  EXPECT_EQ(array.Object(9), &german);
  EXPECT_EQ(array.CurrentObject(), &german);
}

}  // namespace
}  // namespace tv
