#pragma once
// Helpers for the data element tests: fields made by name, and a hook that
// records every data error report while a test runs.

#include <memory>
#include <string>
#include <vector>

#include "data/elements/data_error.h"
#include "data/elements/data_table.h"

namespace tv::test {

struct TReport {
  TDataErrorSeverity Severity;
  std::string Category, Message;
};

// Records what ReportDataError tells the hook during its life.
class TRecordedReports {
 public:
  TRecordedReports();
  ~TRecordedReports();
  TRecordedReports(const TRecordedReports&) = delete;
  TRecordedReports& operator=(const TRecordedReports&) = delete;
  const std::vector<TReport>& Reports() const { return reports_; }

 private:
  std::vector<TReport> reports_;
  TDataErrorHook saved_;
};

// The message of the error that Call raises, or "none".
std::string RaisedMessage(const std::function<void()>& call);

// The fatal report that Call raises, as "category: message", or "none".
std::string FatalReport(const std::function<void()>& call);

// Fields named uniquely per test run, so that the registry never warns.
std::unique_ptr<TDataField> Field(const std::string& name, const TDataType* type = nullptr);
std::unique_ptr<TKeyField> Key(const std::string& name, const TDataType* type = nullptr);

// The field names of a table in order, areas marked: "K:a K:b D:c I:d".
std::string Layout(const TDataTable& table);

// A table keyed by language and number with one text field (case-insensitive,
// 30 characters), as the translator keeps its texts.
struct TLanguageTexts {
  explicit TLanguageTexts(const std::string& tableName = "", const std::string& textName = "text");
  std::unique_ptr<TKeyField> language, number;
  std::unique_ptr<TDataField> text;
  std::unique_ptr<TDataTable> table;
  std::unique_ptr<TDataRow> Row(int lang, int n, const std::string& value) const;
};

}  // namespace tv::test
