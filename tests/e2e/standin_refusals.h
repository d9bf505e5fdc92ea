#pragma once
// The entry points of winspool.drv that the program looks up for its
// commands, answered as Windows' spooler refuses them (each call noted with
// the server it names, see NoteCall): adding and
// configuring a port for want of rights, as it refuses an administrator
// who has not raised them; deleting LPT1: and COM1: as busy, since its
// printers use them (three and seven), any other port for want of rights.
// For the stand-ins, which serve the port list. Included by exactly one
// file of each.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

inline BOOL Refuse(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// Where DOVREL_STANDIN_CALLS names a file, appends a line to it for each
// call: the entry point, a tab, and the server it names ("local" for none).
inline void NoteCall(const char* entryPoint, const wchar_t* server)
{
    const DWORD kept = GetLastError();
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"DOVREL_STANDIN_CALLS", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char line[512];
            const int size = wsprintfA(line, "%s\t%ls\r\n", entryPoint, server ? server : L"local");
            DWORD written = 0;
            WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
            CloseHandle(file);
        }
    }
    SetLastError(kept);
}

inline void NoteCall(const char* entryPoint, const char* server)
{
    wchar_t wide[256] = {};
    if (server)
        MultiByteToWideChar(CP_ACP, 0, server, -1, wide, 255);
    NoteCall(entryPoint, server ? wide : nullptr);
}

// PRINTER_INFO_5W.
struct PrinterInfo5 {
    LPWSTR pPrinterName;
    LPWSTR pPortName;
    DWORD Attributes;
    DWORD DeviceNotSelectedTimeout;
    DWORD TransmissionRetryTimeout;
};

struct StandinPrinter {
    const wchar_t* name;
    const wchar_t* ports;
};

// A printer's ports as the spooler lists them: one, or several separated by
// commas; names of any case.
const StandinPrinter kPrinters[] = {
    {L"Office Laser", L"LPT1:"},     {L"Label Printer", L"COM1:,lpt1:"}, {L"Wide Format", L"LPT10:"},
    {L"Draft Printer", L"FILE:,LPT1:"}, {L"Serial Printer 1", L"COM1:"},  {L"Serial Printer 2", L"COM1:"},
    {L"Serial Printer 3", L"COM1:"}, {L"Serial Printer 4", L"COM1:"},    {L"Serial Printer 5", L"COM1:"},
    {L"Serial Printer 6", L"COM1:"},
};

// Answers an enumeration whose records start with string addresses, one
// per text of a row, the rest of each record zero: the records first, then
// their strings, as Wine's spooler lays them out.
template <typename Record>
BOOL AnswerRecords(const std::vector<std::vector<std::wstring>>& rows, LPBYTE buffer, DWORD offered, LPDWORD needed,
                   LPDWORD returned)
{
    std::size_t bytes = rows.size() * sizeof(Record);
    for (const auto& row : rows)
        for (const auto& text : row)
            bytes += (text.size() + 1) * sizeof(wchar_t);
    *needed = static_cast<DWORD>(bytes);
    *returned = 0;
    if (!buffer || offered < bytes)
        return Refuse(ERROR_INSUFFICIENT_BUFFER);
    std::memset(buffer, 0, bytes);
    BYTE* strings = buffer + rows.size() * sizeof(Record);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        for (std::size_t field = 0; field < rows[index].size(); ++field) {
            const std::wstring& text = rows[index][field];
            const auto at = reinterpret_cast<LPWSTR>(strings);
            std::memcpy(strings, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            strings += (text.size() + 1) * sizeof(wchar_t);
            std::memcpy(buffer + index * sizeof(Record) + field * sizeof(LPWSTR), &at, sizeof at);
        }
    }
    *returned = static_cast<DWORD>(rows.size());
    return TRUE;
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI EnumMonitorsW(LPWSTR server, DWORD, LPBYTE, DWORD, LPDWORD needed,
                                                LPDWORD returned)
{
    NoteCall("EnumMonitorsW", server);
    *needed = *returned = 0;
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI EnumPrintersW(DWORD, LPWSTR server, DWORD level, LPBYTE buffer, DWORD offered,
                                                LPDWORD needed, LPDWORD returned)
{
    NoteCall("EnumPrintersW", server);
    if (level != 5) {
        *needed = *returned = 0;
        return Refuse(ERROR_INVALID_LEVEL);
    }
    std::vector<std::vector<std::wstring>> rows;
    for (const StandinPrinter& printer : kPrinters)
        rows.push_back({printer.name, printer.ports});
    return AnswerRecords<PrinterInfo5>(rows, buffer, offered, needed, returned);
}

__declspec(dllexport) BOOL WINAPI AddPortA(LPSTR server, HWND, LPSTR)
{
    NoteCall("AddPortA", server);
    return Refuse(ERROR_ACCESS_DENIED);
}
__declspec(dllexport) BOOL WINAPI DeletePortA(LPSTR, HWND, LPSTR) { return Refuse(ERROR_NOT_SUPPORTED); }
__declspec(dllexport) BOOL WINAPI DeletePortW(LPWSTR server, HWND, LPWSTR name)
{
    NoteCall("DeletePortW", server);
    const bool inUse = name && (lstrcmpiW(name, L"LPT1:") == 0 || lstrcmpiW(name, L"COM1:") == 0);
    return Refuse(inUse ? ERROR_BUSY : ERROR_ACCESS_DENIED);
}
__declspec(dllexport) BOOL WINAPI ConfigurePortA(LPSTR, HWND, LPSTR) { return Refuse(ERROR_NOT_SUPPORTED); }
__declspec(dllexport) BOOL WINAPI ConfigurePortW(LPWSTR server, HWND, LPWSTR)
{
    NoteCall("ConfigurePortW", server);
    return Refuse(ERROR_ACCESS_DENIED);
}

}  // extern "C"
