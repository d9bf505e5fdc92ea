// A stand-in for winspool.drv that tells of port changes, as Windows'
// spooler does and Wine's does not. Its ports are the value names of the
// registry key where Wine's spooler keeps them, so ports another program
// adds or deletes through Wine's spooler show here too; its notification
// is an event that the key's own change notification sets.
// It answers for any print server as for the local one, except that a
// server's notification is refused, as a firewall refuses it.
// Settings in the environment of the program that loads it make it the
// spooler a scenario needs: DOVREL_STANDIN_ADDS_AFTER_FIRST=NAME adds the
// port NAME right after its first answer; DOVREL_STANDIN_HANGS=1 never
// answers EnumPortsA; DOVREL_STANDIN_SLOW_MS=N answers it after N ms;
// DOVREL_STANDIN_CALLS=FILE notes every call (standin_refusals.h).
// winspool.h is not included: it declares the entry points as imports,
// which this library defines.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/common/PortRecords.h"
#include "tests/e2e/standin_refusals.h"

namespace {

constexpr wchar_t kPortsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
constexpr DWORD kPrinterChangePort = 0x00700000;  // PRINTER_CHANGE_PORT
const HANDLE kServer = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x5e7));  // the local print server

HKEY watchedKey = nullptr;
HANDLE changed = nullptr;

std::vector<std::string> PortNames()
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return names;
    char name[1024];
    DWORD size = sizeof name;
    for (DWORD i = 0; RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i) {
        names.emplace_back(name, size);
        size = sizeof name;
    }
    RegCloseKey(key);
    return names;
}

std::string Setting(const char* name)
{
    char value[256] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void AddPortOnce(const std::string& name)
{
    static bool added = false;
    HKEY key = nullptr;
    if (added || name.empty() ||
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return;
    added = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1) == ERROR_SUCCESS;
    RegCloseKey(key);
}

bool Arm()
{
    return RegNotifyChangeKeyValue(watchedKey, FALSE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed,
                                   TRUE) == ERROR_SUCCESS;
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI EnumPortsW(LPWSTR server, DWORD level, LPBYTE buffer, DWORD offered,
                                             LPDWORD needed, LPDWORD returned)
{
    NoteCall("EnumPortsW", server);
    if (level != 1) {
        *needed = *returned = 0;
        return Refuse(ERROR_INVALID_LEVEL);
    }
    std::vector<std::vector<std::wstring>> rows;
    for (const std::string& name : PortNames())
        rows.push_back({std::wstring(name.begin(), name.end())});
    return AnswerRecords<LPWSTR>(rows, buffer, offered, needed, returned);
}

__declspec(dllexport) BOOL WINAPI EnumPortsA(LPSTR server, DWORD level, LPBYTE buffer, DWORD offered,
                                             LPDWORD needed, LPDWORD returned)
{
    NoteCall("EnumPortsA", server);
    *returned = 0;
    if (level != 2)
        return Refuse(ERROR_INVALID_LEVEL);
    if (!Setting("DOVREL_STANDIN_HANGS").empty())
        Sleep(INFINITE);
    Sleep(static_cast<DWORD>(std::strtoul(Setting("DOVREL_STANDIN_SLOW_MS").c_str(), nullptr, 10)));
    const std::vector<std::string> names = PortNames();
    std::vector<dovrel::test::PortStrings> ports;
    for (const std::string& name : names)
        ports.push_back({name.c_str(), "Local Monitor", "Local Port", 1});
    *needed = static_cast<DWORD>(dovrel::test::PortRecordBytes(ports));
    if (!buffer || offered < *needed)
        return Refuse(ERROR_INSUFFICIENT_BUFFER);
    dovrel::test::WritePortRecords(ports, buffer, offered, dovrel::test::StringPlacement::AfterRecords);
    *returned = static_cast<DWORD>(ports.size());
    AddPortOnce(Setting("DOVREL_STANDIN_ADDS_AFTER_FIRST"));
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI OpenPrinterW(LPWSTR name, HANDLE* printer, void*)
{
    NoteCall("OpenPrinterW", name);
    *printer = name ? nullptr : kServer;
    return name ? Refuse(ERROR_INVALID_PRINTER_NAME) : TRUE;
}

__declspec(dllexport) BOOL WINAPI ClosePrinter(HANDLE printer)
{
    return printer == kServer ? TRUE : Refuse(ERROR_INVALID_HANDLE);
}

__declspec(dllexport) HANDLE WINAPI FindFirstPrinterChangeNotification(HANDLE printer, DWORD filter, DWORD, void*)
{
    if (printer != kServer || filter != kPrinterChangePort || changed ||
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_NOTIFY | KEY_WOW64_64KEY, &watchedKey) != ERROR_SUCCESS)
        return INVALID_HANDLE_VALUE;
    changed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return changed && Arm() ? changed : INVALID_HANDLE_VALUE;
}

// As Windows' does: the handle is no longer signalled, and the next change
// signals it again.
__declspec(dllexport) BOOL WINAPI FindNextPrinterChangeNotification(HANDLE change, DWORD* what, void*, void**)
{
    if (!changed || change != changed || !ResetEvent(changed) || !Arm())
        return Refuse(ERROR_INVALID_HANDLE);
    if (what)
        *what = kPrinterChangePort;
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI FindClosePrinterChangeNotification(HANDLE change)
{
    if (!changed || change != changed)
        return Refuse(ERROR_INVALID_HANDLE);
    RegCloseKey(watchedKey);
    CloseHandle(changed);
    changed = nullptr;
    return TRUE;
}

}  // extern "C"
