#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dovrel::win32 {

// One enumeration of the local spooler at a fixed level: the buffer, its
// size, and where the bytes needed and the record count go.
using SpoolerEnumeration = std::function<BOOL(LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned)>;

// The names an enumeration lists, or the reason it could not list them.
struct SpoolerNames {
    std::vector<std::wstring> names;
    DWORD error = ERROR_SUCCESS;
    bool Listed() const { return error == ERROR_SUCCESS; }
};

// How often the data call is repeated when the list grew between the size
// call and the data call; a list that keeps growing is refused.
constexpr int kMaxNameAttempts = 4;

// Asks for the size, then for the records, of a level-1 enumeration (ports
// or monitors, whose records hold one string address each). Only whole
// records inside the bytes the spooler filled are read, and a name only
// when it starts inside the buffer and ends there; any other reads as the
// empty text.
SpoolerNames NamesAtLevel1(const SpoolerEnumeration& enumerate);

// A printer and the ports it prints to, as the spooler lists them: one
// port, or several separated by commas.
struct PrinterPorts {
    std::wstring printer;
    std::wstring ports;
};

struct SpoolerPrinters {
    std::vector<PrinterPorts> printers;
    DWORD error = ERROR_SUCCESS;
};

// The same for printers at level 5 (PRINTER_INFO_5W).
SpoolerPrinters PrintersAtLevel5(const SpoolerEnumeration& enumerate);

// Whether a printer's list of ports names the port, as the spooler compares
// port names: without regard to case.
bool PortListNames(const std::wstring& portList, const std::wstring& portName);

}  // namespace dovrel::win32
