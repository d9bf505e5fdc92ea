// A stand-in for winspool.drv that answers EnumPortsA at level 2 the way
// Windows' spooler lays out its answer: the records at the start of the
// buffer, their strings packed downwards from the end of the buffer offered.
// Between the size call and the data call one of its four ports goes away,
// so the data call reports fewer bytes than it was offered and the first
// records' strings lie beyond that count. EnumPortsW lists the three ports
// left; the commands are refused as standin_refusals.h says, and no change
// is notified.
// winspool.h is not included: it declares the entry points as imports,
// which this library defines.
#include <windows.h>

#include "tests/common/PortRecords.h"
#include "tests/e2e/standin_refusals.h"

namespace {

using dovrel::test::PortStrings;

constexpr DWORD kPortTypeWrite = 1;
constexpr DWORD kPortTypeRead = 2;

// The ports before the size call; the last one is gone by the data call.
const std::vector<PortStrings> kBefore = {
    {"COM1:", "Stand-in Monitor", "Serial Port", kPortTypeWrite | kPortTypeRead},
    {"FILE:", "Stand-in Monitor", "Print to File", kPortTypeWrite},
    {"LPT1:", "Stand-in Monitor", "Printer Port", kPortTypeWrite},
    {"GONE:", "Stand-in Monitor", "Gone before the data call", kPortTypeWrite},
};
const std::vector<PortStrings> kAfter(kBefore.begin(), kBefore.end() - 1);

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI EnumPortsA(LPSTR, DWORD level, LPBYTE buffer, DWORD offered, LPDWORD needed,
                                             LPDWORD returned)
{
    *returned = 0;
    if (level != 2)
        return Refuse(ERROR_INVALID_LEVEL);
    if (!buffer || offered < dovrel::test::PortRecordBytes(kBefore)) {
        *needed = static_cast<DWORD>(dovrel::test::PortRecordBytes(kBefore));
        return Refuse(ERROR_INSUFFICIENT_BUFFER);
    }
    dovrel::test::WritePortRecords(kAfter, buffer, offered, dovrel::test::StringPlacement::FromEndOfBuffer);
    *needed = static_cast<DWORD>(dovrel::test::PortRecordBytes(kAfter));
    *returned = static_cast<DWORD>(kAfter.size());
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI EnumPortsW(LPWSTR, DWORD level, LPBYTE buffer, DWORD offered, LPDWORD needed,
                                             LPDWORD returned)
{
    if (level != 1) {
        *needed = *returned = 0;
        return Refuse(ERROR_INVALID_LEVEL);
    }
    std::vector<std::vector<std::wstring>> rows;
    for (const PortStrings& port : kAfter)
        rows.push_back({std::wstring(port.name, port.name + std::strlen(port.name))});
    return AnswerRecords<LPWSTR>(rows, buffer, offered, needed, returned);
}

__declspec(dllexport) BOOL WINAPI OpenPrinterW(LPWSTR, HANDLE* printer, void*)
{
    *printer = nullptr;
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI ClosePrinter(HANDLE)
{
    return Refuse(ERROR_INVALID_HANDLE);
}

__declspec(dllexport) HANDLE WINAPI FindFirstPrinterChangeNotification(HANDLE, DWORD, DWORD, void*)
{
    SetLastError(ERROR_NOT_SUPPORTED);
    return INVALID_HANDLE_VALUE;
}

__declspec(dllexport) BOOL WINAPI FindNextPrinterChangeNotification(HANDLE, DWORD*, void*, void**)
{
    return Refuse(ERROR_INVALID_HANDLE);
}

__declspec(dllexport) BOOL WINAPI FindClosePrinterChangeNotification(HANDLE)
{
    return Refuse(ERROR_INVALID_HANDLE);
}

}  // extern "C"
