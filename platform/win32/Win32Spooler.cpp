#include "platform/win32/Win32Spooler.h"

#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <limits>
#include <string>

#include "platform/win32/Win32Text.h"

namespace dovrel::win32 {

// The logic reads the spooler's records through PortInfo2; it must be the
// platform's PORT_INFO_2A to the byte, in both builds.
static_assert(sizeof(PortInfo2) == sizeof(PORT_INFO_2A));
static_assert(offsetof(PortInfo2, pPortName) == offsetof(PORT_INFO_2A, pPortName));
static_assert(offsetof(PortInfo2, pMonitorName) == offsetof(PORT_INFO_2A, pMonitorName));
static_assert(offsetof(PortInfo2, pDescription) == offsetof(PORT_INFO_2A, pDescription));
static_assert(offsetof(PortInfo2, fPortType) == offsetof(PORT_INFO_2A, fPortType));
static_assert(offsetof(PortInfo2, Reserved) == offsetof(PORT_INFO_2A, Reserved));

namespace {

std::int32_t ToCount(DWORD value)
{
    // A count beyond the 32-bit signed range is no count the program can use.
    return value > static_cast<DWORD>(std::numeric_limits<std::int32_t>::max()) ? -1 : static_cast<std::int32_t>(value);
}

HWND Owner(WindowHandle owner)
{
    return reinterpret_cast<HWND>(owner);
}

// The spooler takes non-const strings; it does not write to them.
std::string Ansi(const std::wstring& text)
{
    return AnsiFromWide(text);
}

}  // namespace

bool Win32Spooler::EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                             std::int32_t& returned)
{
    DWORD needed = 0;
    DWORD count = 0;
    const BOOL ok = ::EnumPortsA(nullptr, 2, buffer, bufferSize, &needed, &count);
    bytesNeeded = ToCount(needed);
    returned = ToCount(count);
    return ok != FALSE;
}

bool Win32Spooler::AddPortA(WindowHandle owner, const std::wstring& monitorName)
{
    std::string name = Ansi(monitorName);
    return ::AddPortA(nullptr, Owner(owner), name.data()) != FALSE;
}

bool Win32Spooler::DeletePortA(WindowHandle owner, const std::wstring& portName)
{
    std::string name = Ansi(portName);
    return ::DeletePortA(nullptr, Owner(owner), name.data()) != FALSE;
}

bool Win32Spooler::ConfigurePortA(WindowHandle owner, const std::wstring& portName)
{
    std::string name = Ansi(portName);
    return ::ConfigurePortA(nullptr, Owner(owner), name.data()) != FALSE;
}

}  // namespace dovrel::win32
