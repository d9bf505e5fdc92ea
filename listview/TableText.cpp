#include "listview/TableText.h"

#include <cstdint>
#include <string_view>

namespace dovrel::TableText {

namespace {

bool NeedsQuotes(const std::wstring& field)
{
    return field.find_first_of(L",\"\r\n") != std::wstring::npos;
}

// A spreadsheet takes a field that begins so for a formula (and skips a
// leading tab or CR before one); an apostrophe in front makes it show the
// field as text.
std::wstring AsText(const std::wstring& field)
{
    constexpr std::wstring_view kFormulaStarts = L"=+-@\t\r";
    const bool formulaLike = !field.empty() && kFormulaStarts.find(field.front()) != std::wstring_view::npos;
    return formulaLike ? L"'" + field : field;
}

std::wstring Quoted(const std::wstring& field)
{
    std::wstring quoted = L"\"";
    for (wchar_t c : field) {
        if (c == L'"')
            quoted += L'"';
        quoted += c;
    }
    return quoted + L'"';
}

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(std::string& out, std::uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

std::wstring CsvRecord(const Fields& fields)
{
    std::wstring record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += L',';
        const std::wstring field = AsText(fields[i]);
        record += NeedsQuotes(field) ? Quoted(field) : field;
    }
    return record + L"\r\n";
}

std::wstring TsvRecord(const Fields& fields)
{
    std::wstring line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += L'\t';
        std::wstring field;
        for (wchar_t c : AsText(fields[i]))
            field += (c == L'\t' || c == L'\r' || c == L'\n') ? L' ' : c;
        // A spreadsheet reads a field that begins with a quote up to the
        // closing one, across tabs: quoted, it stays one field.
        line += !field.empty() && field.front() == L'"' ? Quoted(field) : field;
    }
    return line + L"\r\n";
}

// wchar_t holds UTF-16 code units on Windows and whole code points
// elsewhere; both come out the same.
std::string Utf8WithByteOrderMark(const std::wstring& text)
{
    std::string out = "\xEF\xBB\xBF";
    out.reserve(out.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto unit = static_cast<std::uint32_t>(text[i]);
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit) || unit > 0x10FFFF) {
            unit = 0xFFFD;
        }
        AppendUtf8(out, unit);
    }
    return out;
}

}  // namespace dovrel::TableText
