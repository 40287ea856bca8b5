#include "tests/data/elements/elements_test_support.h"

#include "data/types/data_types.h"

namespace tv::test {

TRecordedReports::TRecordedReports() : saved_(DataErrorHook()) {
  DataErrorHook() = [this](TDataErrorSeverity severity, const std::string& category,
                           const std::string& message) {
    reports_.push_back(TReport{severity, category, message});
  };
}

TRecordedReports::~TRecordedReports() {
  DataErrorHook() = saved_;
}

std::string RaisedMessage(const std::function<void()>& call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.what();
  }
  return "none";
}

std::string FatalReport(const std::function<void()>& call) {
  try {
    call();
  } catch (const EDataError& e) {
    return e.Category() + ": " + e.what();
  }
  return "none";
}

namespace {
std::string Unique(const std::string& name) {
  static int serial = 0;
  return name + "_" + std::to_string(++serial);
}
}  // namespace

std::unique_ptr<TDataField> Field(const std::string& name, const TDataType* type) {
  return TDataField::CreateNamed(Unique(name), type ? type : StringType(30, false));
}

std::unique_ptr<TKeyField> Key(const std::string& name, const TDataType* type) {
  return TKeyField::CreateNamed(Unique(name), type ? type : StringType(30, false));
}

std::string Layout(const TDataTable& table) {
  std::string text;
  const int all = table.FieldCount() + table.IgnoreFieldCount();
  for (int i = 0; i < all; ++i) {
    if (i > 0) text += ' ';
    text += i < table.KeyCount() ? "K:" : i < table.FieldCount() ? "D:" : "I:";
    const std::string name = table.GetField(i)->FieldName();
    text += name.substr(0, name.find('_'));
  }
  return text;
}

TLanguageTexts::TLanguageTexts(const std::string& tableName, const std::string& textName)
    : language(Key("language", IntegerType())),
      number(Key("number", IntegerType())),
      text(Field(textName, StringType(30, false))),
      table(TDataTable::CreateWithFields(tableName, {language.get(), number.get()}, {text.get()})) {}

std::unique_ptr<TDataRow> TLanguageTexts::Row(int lang, int n, const std::string& value) const {
  auto row = std::make_unique<TDataRow>(table.get());
  row->SetFieldValue(language.get(), IntegerValue(lang));
  row->SetFieldValue(number.get(), IntegerValue(n));
  row->SetFStringValue(text.get(), value);
  return row;
}

}  // namespace tv::test
