#include "platform/win32/spooler/Win32PortWatch.h"

#include <utility>

namespace dovrel::win32 {

PortWatchFunctions LoadPortWatchFunctions(const SystemLibrary& winspool)
{
    return {winspool.Get<decltype(&::OpenPrinterW)>("OpenPrinterW"),
            winspool.Get<decltype(&::ClosePrinter)>("ClosePrinter"),
            winspool.Get<decltype(&::FindFirstPrinterChangeNotification)>("FindFirstPrinterChangeNotification"),
            winspool.Get<decltype(&::FindNextPrinterChangeNotification)>("FindNextPrinterChangeNotification"),
            winspool.Get<decltype(&::FindClosePrinterChangeNotification)>("FindClosePrinterChangeNotification")};
}

bool Win32PortWatch::Arm(const PortWatchFunctions& spooler, const PrintServer& printServer, HANDLE& server,
                         HANDLE& change)
{
    server = nullptr;
    change = INVALID_HANDLE_VALUE;
    if (!spooler.openPrinter(printServer.Wide(), &server, nullptr) || !server) {
        server = nullptr;
        return false;
    }
    change = spooler.findFirst(server, PRINTER_CHANGE_PORT, 0, nullptr);
    if (change == INVALID_HANDLE_VALUE || change == nullptr) {
        change = INVALID_HANDLE_VALUE;
        spooler.closePrinter(server);
        server = nullptr;
        return false;
    }
    return true;
}

std::unique_ptr<Win32PortWatch> Win32PortWatch::Start(const PortWatchFunctions& spooler,
                                                      const PrintServer& printServer, MessageLoopWaits& waits,
                                                      std::function<void()> onChanged)
{
    HANDLE server = nullptr;
    HANDLE change = INVALID_HANDLE_VALUE;
    if (!Arm(spooler, printServer, server, change))
        return nullptr;
    return std::make_unique<Win32PortWatch>(spooler, waits, std::move(onChanged), server, change);
}

Win32PortWatch::Win32PortWatch(const PortWatchFunctions& spooler, MessageLoopWaits& waits,
                               std::function<void()> onChanged, HANDLE server, HANDLE change)
    : spooler_(spooler), waits_(waits), onChanged_(std::move(onChanged)), server_(server), change_(change)
{
    try {
        waits_.AddWait(change_, [this] { OnSignalled(); });
    } catch (...) {
        Stop();
        spooler_.closePrinter(server_);
        throw;
    }
}

Win32PortWatch::~Win32PortWatch()
{
    Stop();
    spooler_.closePrinter(server_);
}

void Win32PortWatch::OnSignalled()
{
    DWORD change = 0;
    if (!spooler_.findNext(change_, &change, nullptr, nullptr)) {
        Stop();
        return;
    }
    if (onChanged_)
        onChanged_();
}

void Win32PortWatch::Stop()
{
    if (change_ == INVALID_HANDLE_VALUE)
        return;
    waits_.RemoveWait(change_);
    spooler_.findClose(change_);
    change_ = INVALID_HANDLE_VALUE;
}

}  // namespace dovrel::win32
