#include "platform/win32/SpoolerNames.h"

#include <winspool.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/win32/TextConversion.h"

namespace dovrel::win32 {

namespace {

// The record layout of PORT_INFO_1W and MONITOR_INFO_1W alike.
struct NameRecord {
    LPWSTR pName;
};
static_assert(sizeof(NameRecord) == sizeof(PORT_INFO_1W) && sizeof(NameRecord) == sizeof(MONITOR_INFO_1W));

// The text at `address` when a whole NUL-terminated string of wide
// characters lies there inside the buffer; empty otherwise.
std::wstring NameInBuffer(const std::vector<BYTE>& buffer, const void* address)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    if (!address || at < begin || at >= begin + buffer.size() || (at - begin) % sizeof(wchar_t) != 0)
        return std::wstring();
    std::wstring name;
    for (std::size_t offset = at - begin; offset + sizeof(wchar_t) <= buffer.size(); offset += sizeof(wchar_t)) {
        wchar_t character;
        std::memcpy(&character, buffer.data() + offset, sizeof character);
        if (character == L'\0')
            return name;
        name += character;
    }
    return std::wstring();
}

// The size call, then the data call, asked again while the list grows:
// the buffer with the number of whole records inside the bytes filled, or
// the reason there are none.
struct Records {
    std::vector<BYTE> buffer;
    std::size_t count = 0;
    DWORD error = ERROR_SUCCESS;
};

Records Enumerate(const SpoolerEnumeration& enumerate, std::size_t recordSize)
{
    Records result;
    DWORD needed = 0;
    DWORD count = 0;
    if (enumerate(nullptr, 0, &needed, &count)) {
        return result;  // nothing to list
    }
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) {
            result.error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_DATA;
            return result;
        }
        result.buffer.assign(needed, 0);
        count = 0;
        if (enumerate(result.buffer.data(), static_cast<DWORD>(result.buffer.size()), &needed, &count)) {
            const std::size_t filled = std::min<std::size_t>(needed, result.buffer.size());
            result.count = std::min<std::size_t>(count, filled / recordSize);
            return result;
        }
    }
    result.error = ERROR_INSUFFICIENT_BUFFER;  // the list kept growing
    return result;
}

template <typename Record>
Record RecordAt(const Records& records, std::size_t index)
{
    Record record;
    std::memcpy(&record, records.buffer.data() + index * sizeof(Record), sizeof record);
    return record;
}

std::wstring Trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

SpoolerNames NamesAtLevel1(const SpoolerEnumeration& enumerate)
{
    const Records records = Enumerate(enumerate, sizeof(NameRecord));
    SpoolerNames result;
    result.error = records.error;
    for (std::size_t index = 0; index < records.count; ++index)
        result.names.push_back(NameInBuffer(records.buffer, RecordAt<NameRecord>(records, index).pName));
    return result;
}

SpoolerPrinters PrintersAtLevel5(const SpoolerEnumeration& enumerate)
{
    const Records records = Enumerate(enumerate, sizeof(PRINTER_INFO_5W));
    SpoolerPrinters result;
    result.error = records.error;
    for (std::size_t index = 0; index < records.count; ++index) {
        const auto record = RecordAt<PRINTER_INFO_5W>(records, index);
        result.printers.push_back(
            {NameInBuffer(records.buffer, record.pPrinterName), NameInBuffer(records.buffer, record.pPortName)});
    }
    return result;
}

// Blanks around a name in the list are not the port's.
bool PortListNames(const std::wstring& portList, const std::wstring& portName)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = portList.find(L',', start);
        const std::wstring name = Trimmed(portList.substr(start, comma == std::wstring::npos ? comma : comma - start));
        if (!name.empty() && EqualIgnoringCase(name, portName))
            return true;
        if (comma == std::wstring::npos)
            return false;
        start = comma + 1;
    }
}

}  // namespace dovrel::win32
