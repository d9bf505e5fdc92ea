#pragma once

#include <string>
#include <vector>

// A table's rows as text for other programs: comma-separated values as
// RFC 4180 has them, tab-separated text, and UTF-8 with its byte order mark.
namespace dovrel::TableText {

using Fields = std::vector<std::wstring>;

// In both forms a field that begins with =, +, -, @, a tab or a CR, which a
// spreadsheet would run as a formula, gets an apostrophe in front.
//
// One record of comma-separated values, ending in CR LF. A field that holds
// a comma, a quote, a CR or an LF is quoted, its quotes doubled.
std::wstring CsvRecord(const Fields& fields);
// One line of tab-separated text, ending in CR LF. Tabs, CRs and LFs inside
// a field, which the format cannot carry, become spaces; a field that begins
// with a quote is quoted as in CSV.
std::wstring TsvRecord(const Fields& fields);
// The text in UTF-8, after the byte order mark (EF BB BF). A half of a
// surrogate pair on its own becomes U+FFFD.
std::string Utf8WithByteOrderMark(const std::wstring& text);

}  // namespace dovrel::TableText
