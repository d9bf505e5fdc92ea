// A stand-in for winspool.drv that answers EnumPortsA at level 2 the way
// Windows' spooler lays out its answer: the records at the start of the
// buffer, their strings packed downwards from the end of the buffer offered.
// Between the size call and the data call one of its four ports goes away,
// so the data call reports fewer bytes than it was offered and the first
// records' strings lie beyond that count. Every other entry point the
// program looks up answers as a spooler that refuses the request.
#include <windows.h>

#include <cstring>

namespace {

// PORT_INFO_2A, declared here: winspool.h declares the entry points as
// imports, which this library defines.
struct PortInfo2 {
    LPSTR pPortName;
    LPSTR pMonitorName;
    LPSTR pDescription;
    DWORD fPortType;
    DWORD Reserved;
};
constexpr DWORD kPortTypeWrite = 1;
constexpr DWORD kPortTypeRead = 2;

struct Port {
    const char* name;
    const char* monitor;
    const char* description;
    DWORD type;
};

const Port kPorts[] = {
    {"COM1:", "Stand-in Monitor", "Serial Port", kPortTypeWrite | kPortTypeRead},
    {"FILE:", "Stand-in Monitor", "Print to File", kPortTypeWrite},
    {"LPT1:", "Stand-in Monitor", "Printer Port", kPortTypeWrite},
    {"GONE:", "Stand-in Monitor", "Gone before the data call", kPortTypeWrite},
};

DWORD BytesFor(size_t ports)
{
    size_t bytes = ports * sizeof(PortInfo2);
    for (size_t i = 0; i < ports; ++i)
        bytes += std::strlen(kPorts[i].name) + std::strlen(kPorts[i].monitor) + std::strlen(kPorts[i].description) + 3;
    return static_cast<DWORD>(bytes);
}

bool Refuse(DWORD error)
{
    SetLastError(error);
    return false;
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI EnumPortsA(LPSTR, DWORD level, LPBYTE buffer, DWORD offered, LPDWORD needed,
                                             LPDWORD returned)
{
    *returned = 0;
    if (level != 2)
        return Refuse(ERROR_INVALID_LEVEL);
    if (!buffer || offered < BytesFor(4)) {
        *needed = BytesFor(4);
        return Refuse(ERROR_INSUFFICIENT_BUFFER);
    }
    // The last port is gone by now.
    const size_t count = 3;
    char* strings = reinterpret_cast<char*>(buffer) + offered;
    auto place = [&strings](const char* text) {
        const size_t size = std::strlen(text) + 1;
        strings -= size;
        std::memcpy(strings, text, size);
        return strings;
    };
    auto* records = reinterpret_cast<PortInfo2*>(buffer);
    for (size_t i = 0; i < count; ++i) {
        records[i].pPortName = place(kPorts[i].name);
        records[i].pMonitorName = place(kPorts[i].monitor);
        records[i].pDescription = place(kPorts[i].description);
        records[i].fPortType = kPorts[i].type;
        records[i].Reserved = 0;
    }
    *needed = BytesFor(count);
    *returned = static_cast<DWORD>(count);
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI EnumPortsW(LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned)
{
    *needed = 0;
    *returned = 0;
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI EnumMonitorsW(LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned)
{
    *needed = 0;
    *returned = 0;
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI AddPortA(LPSTR, HWND, LPSTR)
{
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI DeletePortA(LPSTR, HWND, LPSTR)
{
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI DeletePortW(LPWSTR, HWND, LPWSTR)
{
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI ConfigurePortA(LPSTR, HWND, LPSTR)
{
    return Refuse(ERROR_NOT_SUPPORTED);
}

__declspec(dllexport) BOOL WINAPI ConfigurePortW(LPWSTR, HWND, LPWSTR)
{
    return Refuse(ERROR_NOT_SUPPORTED);
}

}  // extern "C"
