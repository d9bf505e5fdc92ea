#include "tests/e2e/driver/ProcessFigures.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/win32/system/UniqueHandle.h"
#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

namespace {

using dovrel::win32::UniqueKernelHandle;

template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name)
{
    const FARPROC address = GetProcAddress(GetModuleHandleW(module), name);
    if (!address)
        throw Failure(std::string("this system has no ") + name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// The handles the process holds, counted in the system's handle table:
// Wine's GetProcessHandleCount succeeds with 0 for every process.
size_t HandlesOf(DWORD pid)
{
    using QuerySystemInformation = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    const auto query = SystemFunction<QuerySystemInformation>(L"ntdll.dll", "NtQuerySystemInformation");
    std::vector<BYTE> buffer(64 * 1024);
    for (;;) {
        ULONG needed = 0;
        const LONG status =
            query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch && buffer.size() < 64 * 1024 * 1024) {
            buffer.resize(std::max<size_t>(needed, buffer.size() * 2));
            continue;
        }
        if (status != 0)
            throw Failure("NtQuerySystemInformation(SystemHandleInformation) failed, status " + std::to_string(status));
        break;
    }
    ULONG count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    const size_t first = offsetof(Table, entries);
    count = static_cast<ULONG>(std::min<size_t>(count, (buffer.size() - first) / sizeof(Entry)));
    size_t held = 0;
    for (ULONG i = 0; i < count; ++i) {
        Entry entry;
        std::memcpy(&entry, buffer.data() + first + i * sizeof(Entry), sizeof entry);
        if (entry.ownerPid == pid)
            ++held;
    }
    return held;
}

struct WindowTally {
    DWORD pid;
    size_t count;
};

BOOL CALLBACK CountDescendant(HWND, LPARAM tally)
{
    ++reinterpret_cast<WindowTally*>(tally)->count;
    return TRUE;
}

BOOL CALLBACK CountWindowOfProcess(HWND window, LPARAM param)
{
    auto* tally = reinterpret_cast<WindowTally*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == tally->pid) {
        ++tally->count;
        EnumChildWindows(window, CountDescendant, param);
    }
    return TRUE;
}

// Every window of the process, hidden and message-only ones included, with
// all their descendants.
size_t WindowsOf(DWORD pid)
{
    WindowTally tally{pid, 0};
    EnumWindows(CountWindowOfProcess, reinterpret_cast<LPARAM>(&tally));
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr)
        CountWindowOfProcess(window, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

std::wstring GuiResourceCount(HANDLE process, DWORD which)
{
    SetLastError(ERROR_SUCCESS);
    const DWORD count = GetGuiResources(process, which);
    // A process with a window holds USER objects, and GDI ones to draw it.
    if (count == 0)
        return L"unknown (GetGuiResources gives 0, error " + std::to_wstring(GetLastError()) + L")";
    return std::to_wstring(count);
}

// The process of "Ports", open for reading.
UniqueKernelHandle OpenPortsProcess(DWORD& pid)
{
    GetWindowThreadProcessId(MainWindow(), &pid);
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process)
        throw Failure("cannot open process " + std::to_string(pid) + ", error " + std::to_string(GetLastError()));
    return process;
}

}  // namespace

// What "Ports"'s process holds now: its USER and GDI objects where the
// system counts them, its handles, windows and memory.
void ProcessFigures(const Args&)
{
    DWORD pid = 0;
    const UniqueKernelHandle process = OpenPortsProcess(pid);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.Get(), &memory, sizeof memory))
        throw Failure("GetProcessMemoryInfo failed, error " + std::to_string(GetLastError()));
    Print(L"pid: " + std::to_wstring(pid));
    Print(L"user-objects: " + GuiResourceCount(process.Get(), GR_USEROBJECTS));
    Print(L"gdi-objects: " + GuiResourceCount(process.Get(), GR_GDIOBJECTS));
    Print(L"handles: " + std::to_wstring(HandlesOf(pid)));
    Print(L"windows: " + std::to_wstring(WindowsOf(pid)));
    Print(L"private-bytes: " + std::to_wstring(memory.PagefileUsage));
    Print(L"working-set: " + std::to_wstring(memory.WorkingSetSize));
    Print(L"peak-working-set: " + std::to_wstring(memory.PeakWorkingSetSize));
}

namespace {

template <typename Value>
Value ReadFrom(HANDLE process, const void* address)
{
    Value value{};
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, address, &value, sizeof value, &read) || read != sizeof value)
        throw Failure("ReadProcessMemory failed, error " + std::to_string(GetLastError()));
    return value;
}

}  // namespace

// Read from the process parameters in the process's environment block: the
// driver is built for the same bitness as the program.
void CommandLine(const Args&)
{
    DWORD pid = 0;
    const UniqueKernelHandle process = OpenPortsProcess(pid);
    using QueryInformationProcess = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = SystemFunction<QueryInformationProcess>(L"ntdll.dll", "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    const LONG status = query(process.Get(), ProcessBasicInformation, &basic, sizeof basic, nullptr);
    if (status != 0)
        throw Failure("NtQueryInformationProcess failed, status " + std::to_string(status));
    const auto peb = ReadFrom<PEB>(process.Get(), basic.PebBaseAddress);
    const auto parameters = ReadFrom<RTL_USER_PROCESS_PARAMETERS>(process.Get(), peb.ProcessParameters);
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    SIZE_T read = 0;
    if (!line.empty() && !ReadProcessMemory(process.Get(), parameters.CommandLine.Buffer, line.data(),
                                            parameters.CommandLine.Length, &read))
        throw Failure("ReadProcessMemory failed, error " + std::to_string(GetLastError()));
    Print(L"pid: " + std::to_wstring(pid));
    Print(L"command-line: " + Escaped(line));
}

void WaitProcessGone(const Args& args)
{
    const auto pid = static_cast<DWORD>(ParseNumber(args[0], L"the process id"));
    UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (process && WaitForSingleObject(process.Get(), WaitArgument(args, 1)) != WAIT_OBJECT_0)
        throw Failure("process " + std::to_string(pid) + " still runs");
}

}  // namespace e2e
