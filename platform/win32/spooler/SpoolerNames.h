#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/SpoolerAnswer.h"

namespace dovrel::win32 {

// One enumeration of the spooler at a fixed level: the buffer, its size,
// and where the bytes needed and the record count go.
using SpoolerEnumeration = std::function<BOOL(LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned)>;

// The same call as SpoolerAnswer::Fetch asks it: its result with the error
// it left, its counts as signed 32-bit numbers (-1 for a count beyond them).
EnumerationCall AsEnumerationCall(SpoolerEnumeration enumerate);
std::int32_t ToCount(DWORD value);

// The names an enumeration lists, or the reason it could not list them.
struct SpoolerNames {
    std::vector<std::wstring> names;
    DWORD error = ERROR_SUCCESS;
    bool Listed() const { return error == ERROR_SUCCESS; }
};

// The names of a level-1 enumeration (ports or monitors, whose records hold
// one string address each), as SpoolerAnswer reads them: a name that does
// not lie wholly inside the buffer reads as the empty text.
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
