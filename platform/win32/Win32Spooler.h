#pragma once

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Spooler.h"
#include "platform/win32/MessageLoopWaits.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32PortWatch.h"

namespace dovrel::win32 {

// The local print spooler through winspool's ANSI entry points, with
// winspool.drv loaded from the system folder.
class Win32Spooler final : public Spooler {
public:
    // Each call raises the program's error when the spooler's library
    // cannot be loaded. Without `waits` no changes are watched.
    explicit Win32Spooler(MessageLoopWaits* waits = nullptr) : waits_(waits) {}

    bool EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                   std::int32_t& returned) override;
    bool AddPortA(WindowHandle owner, const std::wstring& monitorName) override;
    bool DeletePortA(WindowHandle owner, const std::wstring& portName) override;
    bool ConfigurePortA(WindowHandle owner, const std::wstring& portName) override;
    // Through the local print server's change notification, where the
    // spooler gives one.
    std::unique_ptr<PortWatch> WatchPorts(std::function<void()> onChanged) override;

private:
    // How a port acted on by its ANSI name is reached.
    struct PortToActOn {
        enum class Way { ByAnsiName, ByExactName, Refused } way;
        std::string ansiName;
        std::wstring exactName;
    };
    PortToActOn FindPort(const std::wstring& portName) const;
    template <typename ByExactName, typename ByAnsiName>
    bool ActOnPort(const std::wstring& portName, ByExactName byExactName, ByAnsiName byAnsiName, HWND owner) const;
    std::wstring MonitorSpelling(const std::wstring& monitorName) const;

    // winspool.drv and the entry points used, loaded at the first call: the
    // window is on the screen before the spooler is first asked.
    struct Winspool {
        Winspool();
        SystemLibrary library;
        decltype(&::EnumPortsA) enumPortsA;
        decltype(&::EnumPortsW) enumPortsW;
        decltype(&::EnumMonitorsW) enumMonitorsW;
        decltype(&::AddPortA) addPortA;
        decltype(&::DeletePortA) deletePortA;
        decltype(&::DeletePortW) deletePortW;
        decltype(&::ConfigurePortA) configurePortA;
        decltype(&::ConfigurePortW) configurePortW;
        PortWatchFunctions watch;
    };
    const Winspool& Library() const;

    MessageLoopWaits* waits_;
    mutable std::unique_ptr<Winspool> winspool_;
};

}  // namespace dovrel::win32
