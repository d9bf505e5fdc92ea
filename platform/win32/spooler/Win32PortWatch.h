#pragma once

#include <windows.h>
#include <winspool.h>

#include <functional>
#include <memory>

#include "platform/Spooler.h"
#include "platform/win32/form/MessageLoopWaits.h"
#include "platform/win32/spooler/PrintServer.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// A print server's notification of ports added or deleted, waited on in the
// message loop. Each signal is re-armed (FindNext) before the
// program hears of it, so that a change made while the list is being read
// again signals once more. When the spooler stops answering, the watch
// ends and the program hears of no more changes.
class Win32PortWatch final : public PortWatch {
public:
    // Null when the spooler gives no notification (Wine's, for one, and a
    // server whose answers a firewall blocks).
    static std::unique_ptr<Win32PortWatch> Start(const PortWatchFunctions& spooler, const PrintServer& printServer,
                                                 MessageLoopWaits& waits, std::function<void()> onChanged);
    // The print server and its notification of port changes, armed on any
    // thread, for a watch to take over; false when the spooler gives none.
    static bool Arm(const PortWatchFunctions& spooler, const PrintServer& printServer, UniquePrinter& server,
                    UniquePrinterChange& change);
    Win32PortWatch(const PortWatchFunctions& spooler, MessageLoopWaits& waits, std::function<void()> onChanged,
                   UniquePrinter server, UniquePrinterChange change);
    ~Win32PortWatch() override;
    bool Watching() const override { return static_cast<bool>(change_); }
    Win32PortWatch(const Win32PortWatch&) = delete;
    Win32PortWatch& operator=(const Win32PortWatch&) = delete;

private:
    void OnSignalled();
    void Stop();

    const PortWatchFunctions& spooler_;
    MessageLoopWaits& waits_;
    std::function<void()> onChanged_;
    UniquePrinter server_;
    UniquePrinterChange change_;  // null once stopped
};

}  // namespace dovrel::win32
