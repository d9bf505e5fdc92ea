#include "tests/e2e/driver/Spooler.h"

#include <winspool.h>

namespace e2e {

void SpoolerPorts(const Args&)
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPortsA(nullptr, 2, nullptr, 0, &needed, &returned);
    if (needed == 0)
        throw Failure("EnumPortsA reports no bytes needed, error " + std::to_string(GetLastError()));
    std::vector<BYTE> buffer(needed);
    if (!EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &returned))
        throw Failure("EnumPortsA failed, error " + std::to_string(GetLastError()));
    const auto* ports = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
        Print(WideFromAnsi(ports[i].pPortName) + L"\t" + WideFromAnsi(ports[i].pMonitorName) + L"\t" +
              WideFromAnsi(ports[i].pDescription) + L"\t" + std::to_wstring(ports[i].fPortType));
    }
}

// The spooler's port names as it holds them, through its Unicode entry
// point: letters that the ANSI code page lacks come through whole.
void SpoolerNames(const Args&)
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPortsW(nullptr, 1, nullptr, 0, &needed, &returned);
    if (needed == 0)
        throw Failure("EnumPortsW reports no bytes needed, error " + std::to_string(GetLastError()));
    std::vector<BYTE> buffer(needed);
    if (!EnumPortsW(nullptr, 1, buffer.data(), needed, &needed, &returned))
        throw Failure("EnumPortsW failed, error " + std::to_string(GetLastError()));
    const auto* ports = reinterpret_cast<const PORT_INFO_1W*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i)
        Print(ports[i].pName);
}

// Another program adding a local port: through the monitor's data channel,
// which shows no dialog.
void SpoolerAdd(const Args& args)
{
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE monitor = nullptr;
    wchar_t name[] = L",XcvMonitor Local Port";
    if (!OpenPrinterW(name, &monitor, &defaults))
        throw Failure("OpenPrinter of the Local Port monitor failed, error " + std::to_string(GetLastError()));
    DWORD needed = 0;
    DWORD status = 0;
    const std::wstring& port = args[0];
    const BOOL done = XcvDataW(monitor, L"AddPort", reinterpret_cast<BYTE*>(const_cast<wchar_t*>(port.c_str())),
                               static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)), nullptr, 0, &needed, &status);
    ClosePrinter(monitor);
    if (!done || status != 0)
        throw Failure("XcvData AddPort failed, status " + std::to_string(status));
}

void SpoolerDelete(const Args& args)
{
    std::wstring port = args[0];
    if (!DeletePortW(nullptr, nullptr, &port[0]))
        throw Failure("DeletePort failed, error " + std::to_string(GetLastError()));
}

// What the spooler answers a program that wants to hear of port changes.
void SpoolerWatch(const Args&)
{
    HANDLE server = nullptr;
    if (!OpenPrinterW(nullptr, &server, nullptr)) {
        Print(L"open-server: failed, error " + std::to_wstring(GetLastError()));
        return;
    }
    Print(L"open-server: yes");
    const HANDLE change = FindFirstPrinterChangeNotification(server, PRINTER_CHANGE_PORT, 0, nullptr);
    if (change == INVALID_HANDLE_VALUE) {
        Print(L"notification: none, error " + std::to_wstring(GetLastError()));
    } else {
        Print(L"notification: yes");
        FindClosePrinterChangeNotification(change);
    }
    ClosePrinter(server);
}

// Another program that has the file open, as a spreadsheet keeps the file
// it shows: others may read it but neither write nor replace it. Prints
// "held" once it is, and lets go when a file of its name with ".release"
// after it appears, or after MS milliseconds.
void HoldFile(const Args& args)
{
    const HANDLE file = CreateFileW(args[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw Failure("cannot open the file, error " + std::to_string(GetLastError()));
    Print(L"held");
    const std::wstring release = args[0] + L".release";
    Poll(static_cast<DWORD>(ParseNumber(args[1], L"the time")),
         [&] { return GetFileAttributesW(release.c_str()) != INVALID_FILE_ATTRIBUTES; });
    CloseHandle(file);
    DeleteFileW(release.c_str());
}

void CodePage(const Args&)
{
    Print(L"ansi: " + std::to_wstring(GetACP()));
}

}  // namespace e2e
