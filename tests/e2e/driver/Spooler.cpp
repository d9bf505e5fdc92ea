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

void CodePage(const Args&)
{
    Print(L"ansi: " + std::to_wstring(GetACP()));
}

}  // namespace e2e
