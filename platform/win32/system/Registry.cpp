#include "platform/win32/system/Registry.h"

#include <climits>
#include <cstring>

#include "platform/Error.h"
#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

UniqueHkey CreateUserKey(const std::wstring& path, REGSAM access)
{
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           access, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        ThrowError(L"RegCreateKeyEx", static_cast<DWORD>(status));
    return UniqueHkey(key);
}

UniqueHkey OpenUserKey(const std::wstring& path, REGSAM access)
{
    HKEY key = nullptr;
    const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key);
    if (status == ERROR_FILE_NOT_FOUND)
        return UniqueHkey();
    if (status != ERROR_SUCCESS)
        ThrowError(L"RegOpenKeyEx", static_cast<DWORD>(status));
    return UniqueHkey(key);
}

std::optional<RegistryValue> ReadValue(HKEY key, const std::wstring& name)
{
    RegistryValue value;
    // Another writer may grow the value between asking its size and reading it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        if (status != ERROR_SUCCESS)
            ThrowError(L"RegQueryValueEx", static_cast<DWORD>(status));
        value.data.resize(size);
        status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.data.resize(size);
            return value;
        }
        if (status == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        if (status != ERROR_MORE_DATA)
            ThrowError(L"RegQueryValueEx", static_cast<DWORD>(status));
    }
    ThrowError(L"RegQueryValueEx", ERROR_MORE_DATA);
}

std::optional<std::wstring> ReadString(HKEY key, const std::wstring& name)
{
    const auto value = ReadValue(key, name);
    if (!value || value->type != REG_SZ)
        return std::nullopt;
    std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), value->data.data(), text.size() * sizeof(wchar_t));
    // The stored terminator is optional; what follows it is not part of the text.
    const auto end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

void WriteString(HKEY key, const std::wstring& name, const std::wstring& value)
{
    const size_t bytes = (value.size() + 1) * sizeof(wchar_t);
    if (bytes > UINT_MAX)
        throw Error(kErrOverflow, L"Overflow");
    const LSTATUS status = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                          static_cast<DWORD>(bytes));
    if (status != ERROR_SUCCESS)
        ThrowError(L"RegSetValueEx", static_cast<DWORD>(status));
}

void WriteBinary(HKEY key, const std::wstring& name, const void* data, DWORD size)
{
    const LSTATUS status =
        RegSetValueExW(key, name.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    if (status != ERROR_SUCCESS)
        ThrowError(L"RegSetValueEx", static_cast<DWORD>(status));
}

}  // namespace dovrel::win32
