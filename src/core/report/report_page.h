#pragma once
// The report list as the page "report.html" and as CSV.
#include <string>
#include <vector>

#include "table/table.h"

namespace trotix {

inline constexpr const char* kReportFileName = "report.html";
inline constexpr const char* kReportCsvFileName = "report.csv";

// The lines of "report.html": eight header lines, the first declaring UTF-8, then seven per REP
// row, texts decoded for display and HTML-escaped. No lines at all for an empty report, which is
// not saved.
std::vector<std::string> ReportLines(const Table& REP);

// REP as RFC 4180 CSV: a header record with the five captions, then one record per row, each
// ended by CR LF; fields holding a comma, a quote, CR or LF are quoted, quotes doubled. A field
// starting with "=", "+", "-", "@", tab or CR that is no plain number gets a leading "'", so a
// spreadsheet shows it instead of running it. Texts are decoded for display (UTF-8) and NUL
// bytes dropped.
std::string ReportCsv(const Table& REP);
// One CSV field by those rules.
std::string CsvField(std::string_view text);

}  // namespace trotix
