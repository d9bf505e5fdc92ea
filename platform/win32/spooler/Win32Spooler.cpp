#include "platform/win32/spooler/Win32Spooler.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "platform/win32/spooler/SpoolerNames.h"
#include "platform/win32/system/TextConversion.h"
#include "platform/win32/form/Window.h"

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

// What a call of the spooler answered; read right after the call, before
// anything else can change the last error.
SpoolerResult Answer(BOOL done)
{
    return {done != FALSE, done ? 0u : static_cast<std::uint32_t>(GetLastError())};
}

// The spooler takes non-const strings; it does not write to them.
std::string Ansi(const std::wstring& text)
{
    return AnsiFromWide(text);
}

}  // namespace

SpoolerResult Win32Spooler::EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                                       std::int32_t& returned)
{
    DWORD needed = 0;
    DWORD count = 0;
    BOOL ok = FALSE;
    // An answer of a thread leaves the last error as the spooler would.
    if (!AnsweredByThread(buffer, bufferSize, needed, count, ok))
        ok = Library().enumPortsA(server_.Ansi(), 2, buffer, bufferSize, &needed, &count);
    const SpoolerResult result = Answer(ok);
    bytesNeeded = ToCount(needed);
    returned = ToCount(count);
    return result;
}

bool Win32Spooler::AnsweredByThread(LPBYTE buffer, DWORD bufferSize, DWORD& needed, DWORD& count, BOOL& ok)
{
    if (firstEnumeration_.Answer(buffer, bufferSize, needed, count, ok))
        return true;
    if (!buffer && !server_.IsLocal()) {
        laterEnumeration_ = std::make_shared<PortPrefetch>();
        laterEnumeration_->Start(waits_, server_, PortPrefetch::Notification::NotArmed);
    }
    // Held while it is awaited: a handler run meanwhile (F5, or a port
    // added) may start the next one in its place.
    const std::shared_ptr<PortPrefetch> answering = laterEnumeration_;
    return answering && answering->Answer(buffer, bufferSize, needed, count, ok);
}

void Win32Spooler::DropThreadAnswers()
{
    firstEnumeration_.Drop();
    if (laterEnumeration_)
        laterEnumeration_->Drop();
}

SpoolerResult Win32Spooler::AddPortA(WindowHandle owner, const std::wstring& monitorName)
{
    DropThreadAnswers();
    std::string name = Ansi(MonitorSpelling(monitorName));
    return Answer(Library().addPortA(server_.Ansi(), ToHwnd(owner), name.data()));
}

SpoolerResult Win32Spooler::DeletePortW(WindowHandle owner, const std::wstring& portName)
{
    return ActOnPort(portName, Library().deletePortW, ToHwnd(owner));
}

SpoolerResult Win32Spooler::ConfigurePortW(WindowHandle owner, const std::wstring& portName)
{
    return ActOnPort(portName, Library().configurePortW, ToHwnd(owner));
}

// Hands the spooler its own name of the port, or refuses with the reason
// FindPort gives, without a call.
template <typename Operation>
SpoolerResult Win32Spooler::ActOnPort(const std::wstring& portName, Operation operation, HWND owner)
{
    DropThreadAnswers();
    const PortToActOn port = FindPort(portName);
    if (port.error != ERROR_SUCCESS)
        return {false, static_cast<std::uint32_t>(port.error)};
    return Answer(operation(server_.Wide(), owner, const_cast<LPWSTR>(port.exactName.c_str())));
}

// The port is looked for by the spooler's own name of it where there is
// one, as Delete and Settings hand it over.
std::vector<std::wstring> Win32Spooler::PrintersUsingPort(const std::wstring& portName)
{
    DropThreadAnswers();
    const PortToActOn port = FindPort(portName);
    const std::wstring& name = port.error == ERROR_SUCCESS ? port.exactName : portName;
    // With a server's name, the printers installed on that server.
    const DWORD which = server_.IsLocal() ? PRINTER_ENUM_LOCAL : PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME;
    const SpoolerPrinters listed = PrintersAtLevel5([&](LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD count) {
        return Library().enumPrintersW(which, server_.Wide(), 5, buffer, size, needed, count);
    });
    std::vector<std::wstring> printers;
    for (const PrinterPorts& printer : listed.printers)
        if (PortListNames(printer.ports, name))
            printers.push_back(printer.printer);
    return printers;
}

// The notification that the first enumeration's thread armed before it
// asked, where there is such a thread: a change made since its answer then
// still signals.
std::unique_ptr<PortWatch> Win32Spooler::WatchPorts(std::function<void()> onChanged)
{
    if (!waits_)
        return nullptr;
    const PortWatchFunctions& functions = Library().watch;
    if (auto takeover = firstEnumeration_.TakeOverNotification(functions, *waits_, onChanged))
        return takeover;
    return Win32PortWatch::Start(functions, server_, *waits_, std::move(onChanged));
}

// The list shows each port by its name in the ANSI code page, where letters
// the code page lacks become '?' or a look-alike. A port is therefore looked
// up among the spooler's own names: when exactly one of them reads as the
// given name in ANSI, the spooler is handed that port's real name, so that
// "?:" reaches the port whose name holds a letter the code page lacks, and
// never a port that is literally named "?:". The name the list shows is
// never handed over as it is: two or more ports that read the same cannot be
// told apart (the reason given is the one that says why: the code page has
// no letter for some of theirs), a port the spooler no longer lists is
// unknown, and when the spooler cannot list its ports the command is
// refused with its reason.
Win32Spooler::PortToActOn Win32Spooler::FindPort(const std::wstring& portName) const
{
    const SpoolerNames listed = NamesAtLevel1([this](LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD count) {
        return Library().enumPortsW(server_.Wide(), 1, buffer, size, needed, count);
    });
    if (!listed.Listed())
        return {listed.error, std::wstring()};
    const std::string shown = Ansi(portName);
    PortToActOn port{static_cast<DWORD>(ERROR_UNKNOWN_PORT), std::wstring()};
    for (const std::wstring& name : listed.names) {
        if (Ansi(name) != shown)
            continue;
        if (port.error == ERROR_SUCCESS)
            return {static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), std::wstring()};
        port = {ERROR_SUCCESS, name};
    }
    return port;
}

// Monitor names are compared without regard to case, so "Local port" is the
// monitor "Local Port". It is handed over as the spooler spells it: Wine's
// spooler keeps a second, differently spelt name as a second monitor and
// releases its library once too often, which crashes the program at the
// next port added after a port was deleted.
std::wstring Win32Spooler::MonitorSpelling(const std::wstring& monitorName) const
{
    const SpoolerNames listed = NamesAtLevel1([this](LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD count) {
        return Library().enumMonitorsW(server_.Wide(), 1, buffer, size, needed, count);
    });
    for (const std::wstring& name : listed.names)
        if (EqualIgnoringCase(name, monitorName))
            return name;
    return monitorName;
}

}  // namespace dovrel::win32
