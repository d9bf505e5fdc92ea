#include "platform/win32/spooler/Win32PortWatch.h"

#include <utility>

namespace dovrel::win32 {

bool Win32PortWatch::Arm(const PortWatchFunctions& spooler, const PrintServer& printServer, UniquePrinter& server,
                         UniquePrinterChange& change)
{
    HANDLE opened = nullptr;
    if (!spooler.openPrinter(printServer.Wide(), &opened, nullptr) || !opened)
        return false;
    UniquePrinter printer(opened, PrinterTraits{spooler.closePrinter});
    const HANDLE armed = spooler.findFirst(printer.Get(), PRINTER_CHANGE_PORT, 0, nullptr);
    if (armed == INVALID_HANDLE_VALUE || armed == nullptr)
        return false;
    change = UniquePrinterChange(armed, PrinterChangeTraits{spooler.findClose});
    server = std::move(printer);
    return true;
}

std::unique_ptr<Win32PortWatch> Win32PortWatch::Start(const PortWatchFunctions& spooler,
                                                      const PrintServer& printServer, MessageLoopWaits& waits,
                                                      std::function<void()> onChanged)
{
    UniquePrinter server;
    UniquePrinterChange change;
    if (!Arm(spooler, printServer, server, change))
        return nullptr;
    return std::make_unique<Win32PortWatch>(spooler, waits, std::move(onChanged), std::move(server),
                                            std::move(change));
}

Win32PortWatch::Win32PortWatch(const PortWatchFunctions& spooler, MessageLoopWaits& waits,
                               std::function<void()> onChanged, UniquePrinter server, UniquePrinterChange change)
    : spooler_(spooler), waits_(waits), onChanged_(std::move(onChanged)), server_(std::move(server)),
      change_(std::move(change))
{
    waits_.AddWait(change_.Get(), [this] { OnSignalled(); });
}

Win32PortWatch::~Win32PortWatch()
{
    Stop();
}

void Win32PortWatch::OnSignalled()
{
    DWORD change = 0;
    if (!spooler_.findNext(change_.Get(), &change, nullptr, nullptr)) {
        Stop();
        return;
    }
    if (onChanged_)
        onChanged_();
}

void Win32PortWatch::Stop()
{
    if (!change_)
        return;
    waits_.RemoveWait(change_.Get());
    change_.Reset();
}

}  // namespace dovrel::win32
