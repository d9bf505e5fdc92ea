#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// Keys and values under HKEY_CURRENT_USER. Failures other than "not there"
// raise dovrel::Error.

// Opens the key, creating it and its parents when missing.
UniqueHkey CreateUserKey(const std::wstring& path, REGSAM access);
// Opens the key; an empty handle when it does not exist.
UniqueHkey OpenUserKey(const std::wstring& path, REGSAM access);

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
// The value's type and raw data; nothing when the value does not exist.
std::optional<RegistryValue> ReadValue(HKEY key, const std::wstring& name);
// A REG_SZ value as text; nothing when it is missing or of another type.
std::optional<std::wstring> ReadString(HKEY key, const std::wstring& name);

void WriteString(HKEY key, const std::wstring& name, const std::wstring& value);
void WriteBinary(HKEY key, const std::wstring& name, const void* data, DWORD size);

}  // namespace dovrel::win32
