#pragma once

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Spooler.h"
#include "platform/win32/spooler/PortPrefetch.h"
#include "platform/win32/form/MessageLoopWaits.h"
#include "platform/win32/spooler/PrintServer.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/spooler/Win32PortWatch.h"

namespace dovrel::win32 {

// The print spooler of one print server, through the program's one
// winspool.drv (Winspool). Every call names the server: null for the local machine.
// Ports are listed and added through the ANSI entry points; a port to delete
// or configure is handed over by the spooler's own name of it, looked up
// through the Unicode ones.
class Win32Spooler final : public Spooler {
public:
    // Each call raises the program's error when the spooler's library
    // cannot be loaded. Without `waits` no changes are watched.
    explicit Win32Spooler(PrintServer server = PrintServer(), MessageLoopWaits* waits = nullptr)
        : server_(std::move(server)), waits_(waits)
    {
    }

    // The message loop that waits for the spooler's change notification;
    // until it is given, no changes are watched.
    void WatchChangesThrough(MessageLoopWaits& waits) { waits_ = &waits; }

    // Starts fetching the answer of the first refresh on a thread of its own
    // (PortPrefetch), which arms the change notification first; called as
    // the window first shows. While the first refresh waits for it, the
    // message loop given to WatchChangesThrough goes on.
    void StartFirstEnumeration()
    {
        firstEnumeration_.Start(waits_, server_, PortPrefetch::Notification::Armed);
    }

    // For a print server elsewhere, every refresh's answer is fetched on a
    // thread of its own, the message loop going on meanwhile.
    SpoolerResult EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                             std::int32_t& returned) override;
    SpoolerResult AddPortA(WindowHandle owner, const std::wstring& monitorName) override;
    SpoolerResult DeletePortW(WindowHandle owner, const std::wstring& portName) override;
    SpoolerResult ConfigurePortW(WindowHandle owner, const std::wstring& portName) override;
    // Through EnumPrintersW at level 5, whose records name each printer's ports.
    std::vector<std::wstring> PrintersUsingPort(const std::wstring& portName) override;
    // Through the print server's change notification, where the spooler
    // gives one.
    std::unique_ptr<PortWatch> WatchPorts(std::function<void()> onChanged) override;

private:
    // The spooler's own name of the port the list shows by this name, or
    // the reason there is none to hand over.
    struct PortToActOn {
        DWORD error;
        std::wstring exactName;
    };
    PortToActOn FindPort(const std::wstring& portName) const;
    template <typename Operation>
    SpoolerResult ActOnPort(const std::wstring& portName, Operation operation, HWND owner);
    std::wstring MonitorSpelling(const std::wstring& monitorName) const;

    // winspool.drv, loaded at the first call.
    static const WinspoolLibrary& Library() { return Winspool(); }

    // Whether an answer of a thread serves this call, or the spooler is
    // asked directly.
    bool AnsweredByThread(LPBYTE buffer, DWORD bufferSize, DWORD& needed, DWORD& count, BOOL& ok);
    void DropThreadAnswers();

    const PrintServer server_;
    MessageLoopWaits* waits_;
    // Last, so that their threads have ended before anything else goes.
    PortPrefetch firstEnumeration_;
    std::shared_ptr<PortPrefetch> laterEnumeration_;
};

}  // namespace dovrel::win32
