#pragma once
// A list as CSV for spreadsheets: RFC 4180 quoting, CR LF line ends, UTF-8
// behind a byte-order mark (which spreadsheet programs need to read UTF-8).
// Cells are scraped text: one that a spreadsheet would take for a formula
// (starting with =, +, -, @, a tab or a carriage return) gets an apostrophe
// in front, so opening the file never runs what a site wrote.

#include <string>
#include <string_view>
#include <vector>

namespace sirelo {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Appends one line of UTF-8 cells to `csv`.
void AppendCsvLine(std::string& csv, const std::vector<std::string>& cells);

}  // namespace sirelo
