#include "tests/e2e/driver/Registry.h"

#include <algorithm>
#include <cwctype>

#include "platform/win32/system/UniqueHandle.h"

namespace e2e {

namespace {

using dovrel::win32::UniqueHkey;

constexpr wchar_t kPlacementKey[] = L"Software\\Orvane\\Dovrel";
constexpr wchar_t kPlacementValue[] = L"Window placement";
// Where Wine reads the screen's dots per inch when a process starts.
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kDpiValue[] = L"LogPixels";

DWORD RegistryType(const std::wstring& name)
{
    static const struct {
        const wchar_t* name;
        DWORD type;
    } kTypes[] = {
        {L"REG_NONE", REG_NONE},   {L"REG_SZ", REG_SZ},       {L"REG_EXPAND_SZ", REG_EXPAND_SZ},
        {L"REG_BINARY", REG_BINARY}, {L"REG_DWORD", REG_DWORD}, {L"REG_MULTI_SZ", REG_MULTI_SZ},
        {L"REG_QWORD", REG_QWORD},
    };
    for (const auto& entry : kTypes) {
        if (_wcsicmp(name.c_str(), entry.name) == 0)
            return entry.type;
    }
    return static_cast<DWORD>(ParseNumber(name, L"the registry type"));
}

std::vector<BYTE> BytesFromHex(const std::wstring& hex)
{
    if (hex.size() % 2 != 0 || !std::all_of(hex.begin(), hex.end(), [](wchar_t c) { return std::iswxdigit(c); }))
        throw UsageError("the data must be hexadecimal digits, two per byte");
    std::vector<BYTE> bytes;
    for (size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(static_cast<BYTE>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

}  // namespace

void WorkArea(const Args&)
{
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        throw Failure("SPI_GETWORKAREA failed");
    Print(L"work-area: " + std::to_wstring(area.left) + L" " + std::to_wstring(area.top) + L" " +
          std::to_wstring(area.right) + L" " + std::to_wstring(area.bottom));
    HDC screen = GetDC(nullptr);
    if (!screen)
        throw Failure("GetDC failed");
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    Print(L"dpi: " + std::to_wstring(dpi));
}

void Placement(const Args&)
{
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPlacementKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
        Print(L"placement: absent");
        return;
    }
    UniqueHkey key(raw);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), kPlacementValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        Print(L"placement: absent");
        return;
    }
    Print(L"placement: " + std::to_wstring(size) + L" bytes, type " + std::to_wstring(type));
}

void ResetPlacement(const Args&)
{
    HKEY raw = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kPlacementKey, 0, KEY_SET_VALUE, &raw);
    if (status == ERROR_FILE_NOT_FOUND) {
        Print(L"placement: absent");
        return;
    }
    if (status != ERROR_SUCCESS)
        throw Failure("cannot open HKCU\\Software\\Orvane\\Dovrel, error " + std::to_string(status));
    UniqueHkey key(raw);
    status = RegDeleteValueW(key.Get(), kPlacementValue);
    if (status == ERROR_FILE_NOT_FOUND) {
        Print(L"placement: absent");
        return;
    }
    if (status != ERROR_SUCCESS)
        throw Failure("cannot delete the value \"Window placement\", error " + std::to_string(status));
    Print(L"placement: removed");
}

// The placement value as a user's registry may hold it: any type, any bytes.
void WritePlacement(const Args& args)
{
    const DWORD type = RegistryType(args[0]);
    std::vector<BYTE> data = BytesFromHex(args.size() > 1 ? args[1] : L"");
    const DWORD size = static_cast<DWORD>(data.size());
    data.push_back(0);  // an empty value still gets a valid pointer
    HKEY raw = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kPlacementKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS)
        throw Failure("cannot create HKCU\\Software\\Orvane\\Dovrel, error " + std::to_string(status));
    UniqueHkey key(raw);
    status = RegSetValueExW(key.Get(), kPlacementValue, 0, type, data.data(), size);
    if (status != ERROR_SUCCESS)
        throw Failure("cannot write the value \"Window placement\", error " + std::to_string(status));
    Print(L"placement: " + std::to_wstring(size) + L" bytes, type " + std::to_wstring(type));
}

void DeleteProgramKey(const Args&)
{
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kPlacementKey);
    if (status == ERROR_FILE_NOT_FOUND) {
        Print(L"key: absent");
        return;
    }
    if (status != ERROR_SUCCESS)
        throw Failure("cannot delete HKCU\\Software\\Orvane\\Dovrel, error " + std::to_string(status));
    Print(L"key: removed");
}

// For the programs started afterwards, the driver included.
void SetDpi(const Args& args)
{
    const long dpi = ParseNumber(args[0], L"the dots per inch");
    if (dpi < 48 || dpi > 960)
        throw UsageError("the dots per inch lie between 48 and 960");
    HKEY raw = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS)
        throw Failure("cannot open HKCU\\Control Panel\\Desktop, error " + std::to_string(status));
    UniqueHkey key(raw);
    const DWORD value = static_cast<DWORD>(dpi);
    status = RegSetValueExW(key.Get(), kDpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    if (status != ERROR_SUCCESS)
        throw Failure("cannot write LogPixels, error " + std::to_string(status));
    Print(L"dpi: " + std::to_wstring(value));
}

void ResetDpi(const Args&)
{
    HKEY raw = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &raw);
    if (status == ERROR_SUCCESS) {
        UniqueHkey key(raw);
        status = RegDeleteValueW(key.Get(), kDpiValue);
    }
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw Failure("cannot delete LogPixels, error " + std::to_string(status));
    Print(L"dpi: default");
}

}  // namespace e2e
