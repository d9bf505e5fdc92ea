#include "platform/win32/SpoolerNames.h"

#include <winspool.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

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

}  // namespace

SpoolerNames NamesAtLevel1(const Level1Enumeration& enumerate)
{
    SpoolerNames result;
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
        std::vector<BYTE> buffer(needed);
        count = 0;
        if (enumerate(buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count)) {
            const std::size_t filled = std::min<std::size_t>(needed, buffer.size());
            const std::size_t whole = std::min<std::size_t>(count, filled / sizeof(NameRecord));
            for (std::size_t index = 0; index < whole; ++index) {
                NameRecord record;
                std::memcpy(&record, buffer.data() + index * sizeof(NameRecord), sizeof record);
                result.names.push_back(NameInBuffer(buffer, record.pName));
            }
            return result;
        }
    }
    result.error = ERROR_INSUFFICIENT_BUFFER;  // the list kept growing
    return result;
}

}  // namespace dovrel::win32
