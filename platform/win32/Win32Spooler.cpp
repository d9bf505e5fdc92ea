#include "platform/win32/Win32Spooler.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <string>

#include "platform/win32/TextConversion.h"

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

// The names of what a level-1 enumeration of the local spooler lists (ports
// or monitors); none when the spooler cannot list them.
template <typename Info, typename Enumeration>
std::vector<std::wstring> NamesAtLevel1(Enumeration enumerate)
{
    std::vector<std::wstring> names;
    DWORD needed = 0;
    DWORD count = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<BYTE> buffer(needed);
        if (enumerate(nullptr, 1, buffer.empty() ? nullptr : buffer.data(), needed, &needed, &count)) {
            const std::size_t whole = std::min<std::size_t>(count, buffer.size() / sizeof(Info));
            const auto* records = reinterpret_cast<const Info*>(buffer.data());
            for (std::size_t index = 0; index < whole; ++index)
                if (records[index].pName)
                    names.emplace_back(records[index].pName);
            break;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
            break;
    }
    return names;
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

Win32Spooler::Winspool::Winspool()
    : library(L"winspool.drv"),
      enumPortsA(library.Get<decltype(&::EnumPortsA)>("EnumPortsA")),
      enumPortsW(library.Get<decltype(&::EnumPortsW)>("EnumPortsW")),
      enumMonitorsW(library.Get<decltype(&::EnumMonitorsW)>("EnumMonitorsW")),
      addPortA(library.Get<decltype(&::AddPortA)>("AddPortA")),
      deletePortA(library.Get<decltype(&::DeletePortA)>("DeletePortA")),
      deletePortW(library.Get<decltype(&::DeletePortW)>("DeletePortW")),
      configurePortA(library.Get<decltype(&::ConfigurePortA)>("ConfigurePortA")),
      configurePortW(library.Get<decltype(&::ConfigurePortW)>("ConfigurePortW")),
      watch{library.Get<decltype(&::OpenPrinterW)>("OpenPrinterW"), library.Get<decltype(&::ClosePrinter)>("ClosePrinter"),
            library.Get<decltype(&::FindFirstPrinterChangeNotification)>("FindFirstPrinterChangeNotification"),
            library.Get<decltype(&::FindNextPrinterChangeNotification)>("FindNextPrinterChangeNotification"),
            library.Get<decltype(&::FindClosePrinterChangeNotification)>("FindClosePrinterChangeNotification")}
{
}

const Win32Spooler::Winspool& Win32Spooler::Library() const
{
    if (!winspool_)
        winspool_ = std::make_unique<Winspool>();
    return *winspool_;
}

bool Win32Spooler::EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                             std::int32_t& returned)
{
    DWORD needed = 0;
    DWORD count = 0;
    const BOOL ok = Library().enumPortsA(nullptr, 2, buffer, bufferSize, &needed, &count);
    bytesNeeded = ToCount(needed);
    returned = ToCount(count);
    return ok != FALSE;
}

bool Win32Spooler::AddPortA(WindowHandle owner, const std::wstring& monitorName)
{
    std::string name = Ansi(MonitorSpelling(monitorName));
    return Library().addPortA(nullptr, Owner(owner), name.data()) != FALSE;
}

bool Win32Spooler::DeletePortA(WindowHandle owner, const std::wstring& portName)
{
    return ActOnPort(portName, Library().deletePortW, Library().deletePortA, Owner(owner));
}

bool Win32Spooler::ConfigurePortA(WindowHandle owner, const std::wstring& portName)
{
    return ActOnPort(portName, Library().configurePortW, Library().configurePortA, Owner(owner));
}

std::unique_ptr<PortWatch> Win32Spooler::WatchPorts(std::function<void()> onChanged)
{
    if (!waits_)
        return nullptr;
    return Win32PortWatch::Start(Library().watch, *waits_, std::move(onChanged));
}

// Calls the spooler's Unicode or ANSI form of an operation on one port, as
// FindPort says; false, without a call, when the port cannot be told apart.
template <typename ByExactName, typename ByAnsiName>
bool Win32Spooler::ActOnPort(const std::wstring& portName, ByExactName byExactName, ByAnsiName byAnsiName,
                             HWND owner) const
{
    PortToActOn port = FindPort(portName);
    switch (port.way) {
    case PortToActOn::Way::ByExactName:
        return byExactName(nullptr, owner, port.exactName.data()) != FALSE;
    case PortToActOn::Way::ByAnsiName:
        return byAnsiName(nullptr, owner, port.ansiName.data()) != FALSE;
    case PortToActOn::Way::Refused:
        break;
    }
    SetLastError(ERROR_INVALID_NAME);
    return false;
}

// The list shows each port by its name in the ANSI code page, where letters
// the code page lacks become '?' or a look-alike. A port is therefore looked
// up among the spooler's own names: when exactly one of them reads as the
// given name in ANSI, the spooler is handed that port's real name, so that
// "?:" reaches the port whose name holds a letter the code page lacks, and
// never a port that is literally named "?:".
// Two or more such ports cannot be told apart, and none of them is touched.
// A name the spooler does not list (it may have gone meanwhile) goes to the
// spooler as it is, which answers for it.
Win32Spooler::PortToActOn Win32Spooler::FindPort(const std::wstring& portName) const
{
    PortToActOn port{PortToActOn::Way::ByAnsiName, Ansi(portName), std::wstring()};
    int matches = 0;
    for (const std::wstring& name : NamesAtLevel1<PORT_INFO_1W>(Library().enumPortsW)) {
        if (Ansi(name) == port.ansiName) {
            ++matches;
            port.exactName = name;
        }
    }
    if (matches == 1)
        port.way = PortToActOn::Way::ByExactName;
    else if (matches > 1)
        port.way = PortToActOn::Way::Refused;
    return port;
}

// Monitor names are compared without regard to case, so "Local port" is the
// monitor "Local Port". It is handed over as the spooler spells it: Wine's
// spooler keeps a second, differently spelt name as a second monitor and
// releases its library once too often, which crashes the program at the
// next port added after a port was deleted.
std::wstring Win32Spooler::MonitorSpelling(const std::wstring& monitorName) const
{
    for (const std::wstring& name : NamesAtLevel1<MONITOR_INFO_1W>(Library().enumMonitorsW))
        if (EqualIgnoringCase(name, monitorName))
            return name;
    return monitorName;
}

}  // namespace dovrel::win32
