#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace dovrel {

// One port record as the spooler lays it out at level 2 (PORT_INFO_2A): three
// addresses of ANSI strings, the type flags and a reserved word. Its size is
// the platform's: 20 bytes in the 32-bit build, 32 in the 64-bit one.
struct PortInfo2 {
    const char* pPortName;
    const char* pMonitorName;
    const char* pDescription;
    std::uint32_t fPortType;
    std::uint32_t Reserved;
};

// While it lives, the spooler tells of every port added or deleted on its
// print server, by this program or any other.
class PortWatch {
public:
    virtual ~PortWatch() = default;
    // False once it is known that the spooler tells of no changes after all,
    // or has stopped telling of them.
    virtual bool Watching() const = 0;
};

// The spooler's answer to one call: done, or refused with the system's
// error code that the refusal left (0 where it left none).
struct SpoolerResult {
    bool done = false;
    std::uint32_t error = 0;
};

// The print spooler of one print server: the local machine, or the server
// the program was started for. Each operation returns whether the spooler
// did it and, when it refused, its reason.
class Spooler {
public:
    virtual ~Spooler() = default;

    // EnumPortsA at level 2. buffer may be null with bufferSize 0 (the size
    // call). bytesNeeded and returned are written as the spooler leaves them.
    virtual SpoolerResult EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize,
                                     std::int32_t& bytesNeeded, std::int32_t& returned) = 0;

    // The names arrive as the program's text; owner is the window that owns
    // any dialog the port monitor shows. The monitor's name crosses to the
    // spooler in the system's ANSI code page. A port is handed over by the
    // spooler's own (Unicode) name of the port that the list shows by this
    // name, when there is exactly one.
    virtual SpoolerResult AddPortA(WindowHandle owner, const std::wstring& monitorName) = 0;
    virtual SpoolerResult DeletePortW(WindowHandle owner, const std::wstring& portName) = 0;
    virtual SpoolerResult ConfigurePortW(WindowHandle owner, const std::wstring& portName) = 0;

    // The server's printers whose list of ports names this port, in the
    // spooler's order; none when the spooler cannot list its printers.
    virtual std::vector<std::wstring> PrintersUsingPort(const std::wstring& portName) = 0;

    // Calls onChanged from the message loop after ports were added or
    // deleted (one call may stand for several changes), for as long as the
    // watch lives. Null when the spooler tells of no changes.
    virtual std::unique_ptr<PortWatch> WatchPorts(std::function<void()> /*onChanged*/) { return nullptr; }
};

}  // namespace dovrel
