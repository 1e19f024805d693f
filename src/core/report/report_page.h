#pragma once
// The report list as the page "report.html" and as CSV.
#include <string>
#include <vector>

#include "table/table.h"
#include "text/dates.h"

namespace trotix {

inline constexpr const char* kReportFileName = "report.html";
inline constexpr const char* kReportCsvFileName = "report.csv";

// The lines of "report.html": eight header lines, the first declaring UTF-8 and naming the race
// `day`, then seven per REP row, texts decoded for display and HTML-escaped. No lines at all for
// an empty report, which is not saved.
std::vector<std::string> ReportLines(const Table& REP, const Date& day);

// REP as RFC 4180 CSV: a header record with "Date" and the five captions, then one record per
// row, the race `day` first, each ended by CR LF; a price is written with a point whatever the
// window shows; fields holding a comma, a quote, CR or LF are quoted, quotes doubled. A field
// starting with "=", "+", "-", "@", tab or CR that is no plain number gets a leading "'", so a
// spreadsheet shows it instead of running it. Texts are decoded for display (UTF-8) and NUL
// bytes dropped.
std::string ReportCsv(const Table& REP, const Date& day);
// One CSV field by those rules.
std::string CsvField(std::string_view text);

}  // namespace trotix
