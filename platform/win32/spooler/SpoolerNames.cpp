#include "platform/win32/spooler/SpoolerNames.h"

#include <winspool.h>

#include <limits>
#include <utility>

#include "platform/win32/system/TextConversion.h"

namespace dovrel::win32 {

namespace {

// The record layout of PORT_INFO_1W and MONITOR_INFO_1W alike.
struct NameRecord {
    LPWSTR pName;
};
static_assert(sizeof(NameRecord) == sizeof(PORT_INFO_1W) && sizeof(NameRecord) == sizeof(MONITOR_INFO_1W));

std::wstring Trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

std::int32_t ToCount(DWORD value)
{
    return value > static_cast<DWORD>(std::numeric_limits<std::int32_t>::max()) ? -1 : static_cast<std::int32_t>(value);
}

// The last error is read right after the call, before anything else can
// change it.
EnumerationCall AsEnumerationCall(SpoolerEnumeration enumerate)
{
    return [enumerate = std::move(enumerate)](std::uint8_t* buffer, std::uint32_t size, std::int32_t& bytesNeeded,
                                              std::int32_t& returned) {
        DWORD needed = 0;
        DWORD count = 0;
        const BOOL done = enumerate(buffer, size, &needed, &count);
        const SpoolerResult result{done != FALSE, done ? 0u : static_cast<std::uint32_t>(GetLastError())};
        bytesNeeded = ToCount(needed);
        returned = ToCount(count);
        return result;
    };
}

// A spooler with nothing to list may answer with no bytes and no error.
SpoolerNames NamesAtLevel1(const SpoolerEnumeration& enumerate)
{
    const SpoolerAnswer answer = SpoolerAnswer::Fetch(AsEnumerationCall(enumerate));
    SpoolerNames result;
    result.error = answer.Answered() ? ERROR_SUCCESS : answer.Error();
    for (std::size_t index = 0; index < answer.Records(sizeof(NameRecord)); ++index)
        result.names.push_back(answer.WideStringAt(answer.RecordAt<NameRecord>(index).pName));
    return result;
}

SpoolerPrinters PrintersAtLevel5(const SpoolerEnumeration& enumerate)
{
    const SpoolerAnswer answer = SpoolerAnswer::Fetch(AsEnumerationCall(enumerate));
    SpoolerPrinters result;
    result.error = answer.Answered() ? ERROR_SUCCESS : answer.Error();
    for (std::size_t index = 0; index < answer.Records(sizeof(PRINTER_INFO_5W)); ++index) {
        const auto record = answer.RecordAt<PRINTER_INFO_5W>(index);
        result.printers.push_back({answer.WideStringAt(record.pPrinterName), answer.WideStringAt(record.pPortName)});
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
