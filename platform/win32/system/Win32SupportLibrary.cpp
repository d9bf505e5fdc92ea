#include "platform/win32/system/Win32SupportLibrary.h"

#include <objbase.h>
#include <shellapi.h>

#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/Error.h"
#include "platform/win32/system/Elevation.h"
#include "platform/win32/system/FileSaving.h"
#include "platform/win32/system/Folders.h"
#include "platform/win32/system/LastError.h"
#include "platform/win32/system/Registry.h"
#include "platform/win32/system/Screen.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/system/TextConversion.h"
#include "platform/win32/system/UniqueHandle.h"
#include "platform/win32/form/Win32FormServices.h"
#include "platform/win32/form/Win32FormsRuntime.h"
#include "platform/win32/system/Win32PlacementStore.h"
#include "platform/win32/form/Window.h"

namespace dovrel::win32 {

namespace {

constexpr wchar_t kAppPathKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Dovrel.exe";
constexpr wchar_t kReadMeName[] = L"ReadMe.txt";

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) noexcept
{
    try {
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// The shell and COM, loaded at the first document opened and kept: shell
// extensions may leave work behind in them.
struct ShellLibraries {
    decltype(&::CoInitializeEx) CoInitializeEx;
    decltype(&::CoUninitialize) CoUninitialize;
    decltype(&::ShellExecuteExW) ShellExecuteExW;
};

ShellLibraries LoadShellLibraries()
{
    SystemLibrary ole32(L"ole32.dll");
    SystemLibrary shell32(L"shell32.dll");
    const ShellLibraries functions = {
        ole32.Get<decltype(&::CoInitializeEx)>("CoInitializeEx"),
        ole32.Get<decltype(&::CoUninitialize)>("CoUninitialize"),
        shell32.Get<decltype(&::ShellExecuteExW)>("ShellExecuteExW"),
    };
    ole32.KeepLoaded();
    shell32.KeepLoaded();
    return functions;
}

const ShellLibraries& Shell()
{
    static const ShellLibraries libraries = LoadShellLibraries();
    return libraries;
}

// COM, initialised on the thread while the handle is true; uninitialised
// through the entry point of the ole32 the program loaded.
struct ComTraits {
    using Handle = bool;
    decltype(&::CoUninitialize) uninitialize = nullptr;
    static Handle Null() { return false; }
    void Close(Handle) const { uninitialize(); }
};
using UniqueComInitialization = UniqueHandle<ComTraits>;

// COM for the shell's sake while a document is opened: ShellExecuteEx may
// hand the work to shell extensions. A thread that already runs COM in the
// other model keeps it.
UniqueComInitialization InitializeCom()
{
    const ShellLibraries& shell = Shell();
    const bool initialized =
        SUCCEEDED(shell.CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return UniqueComInitialization(initialized, ComTraits{shell.CoUninitialize});
}

// False when the system has no program for this kind of document.
bool ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& folder)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    // No shell error boxes: a missing association is handled here. NOASYNC
    // because the program may end right after the call.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (Shell().ShellExecuteExW(&info))
        return true;
    const DWORD code = GetLastError();
    if (code == ERROR_NO_ASSOCIATION || reinterpret_cast<INT_PTR>(info.hInstApp) == SE_ERR_NOASSOC)
        return false;
    ThrowError(L"ShellExecuteEx", code);
}

// The system's own Notepad, by its full path: neither an association nor a
// search decides what runs.
void OpenInSystemNotepad(const std::wstring& file, const std::wstring& folder)
{
    const std::wstring notepad = SystemFolder() + L"\\notepad.exe";
    std::wstring commandLine = L"\"" + notepad + L"\" \"" + file + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(notepad.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started))
        ThrowLastError(L"CreateProcess");
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
}

}  // namespace

Win32SupportLibrary::Win32SupportLibrary(Win32FormsRuntime& runtime) : runtime_(runtime) {}

long Win32SupportLibrary::RegisterAppPath()
{
    const std::wstring program = ProgramPath();
    const std::wstring folder = FolderOf(program);
    const UniqueHkey key = CreateUserKey(kAppPathKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    long written = 0;
    for (const auto& [name, text] : {std::pair{L"", program}, std::pair{L"Path", folder}}) {
        if (ReadString(key.Get(), name) != text) {
            WriteString(key.Get(), name, text);
            ++written;
        }
    }
    return written;
}

bool Win32SupportLibrary::IsInDesignEnvironment()
{
    return false;
}

WindowHandle Win32SupportLibrary::GetRuntimeMainWindow()
{
    return ToWindowHandle(runtime_.RuntimeWindow().hWnd());
}

void Win32SupportLibrary::SetWindowIconFromResource(WindowHandle window, const std::wstring& resourceName)
{
    const HWND target = RequireWindow(window, L"SetWindowIconFromResource");
    runtime_.Icons().SetOn(target, resourceName, WindowDpi(target));
}

long Win32SupportLibrary::FixContainerWindows()
{
    std::vector<HWND> windows;
    // FALSE means no windows as well as a failure, so the result says
    // nothing; a thread without windows simply has nothing to fix.
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    const auto program = reinterpret_cast<ULONG_PTR>(GetModuleHandleW(nullptr));
    long changed = 0;
    for (const HWND window : windows) {
        if (GetClassLongPtrW(window, GCLP_HMODULE) != program)
            continue;
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
        if (style & WS_CLIPCHILDREN)
            continue;
        SetLastError(ERROR_SUCCESS);
        if (SetWindowLongPtrW(window, GWL_STYLE, style | WS_CLIPCHILDREN) == 0 && GetLastError() != ERROR_SUCCESS)
            ThrowLastError(L"SetWindowLongPtr");
        ++changed;
    }
    return changed;
}

long Win32SupportLibrary::CenterForm(WindowHandle window, std::int32_t)
{
    const HWND target = RequireWindow(window, L"CenterForm");
    RECT bounds;
    if (!GetWindowRect(target, &bounds))
        ThrowLastError(L"GetWindowRect");
    const RECT work = MonitorAreaOfWindow(target).work;
    POINT origin = CenteredOn(bounds, work, work);
    if (GetWindowLongPtrW(target, GWL_STYLE) & WS_CHILD) {
        // A child window moves in its parent's client coordinates.
        SetLastError(ERROR_SUCCESS);
        if (MapWindowPoints(nullptr, GetParent(target), &origin, 1) == 0 && GetLastError() != ERROR_SUCCESS)
            ThrowLastError(L"MapWindowPoints");
    }
    if (!SetWindowPos(target, nullptr, origin.x, origin.y, 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE))
        ThrowLastError(L"SetWindowPos");
    return 0;
}

long Win32SupportLibrary::OpenReadMe(std::int32_t)
{
    const std::wstring folder = FolderOf(ProgramPath());
    const std::wstring readMe = folder + L"\\" + kReadMeName;
    const DWORD attributes = GetFileAttributesW(readMe.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw Error(kErrFileNotFound, L"The read-me was not found. It should be the file " + readMe + L".");
    // An elevated program must not open a document through the file
    // association: the user's own part of the registry may name any
    // program, which would then run elevated.
    if (MayRunElevated()) {
        OpenInSystemNotepad(readMe, folder);
        return 0;
    }
    const UniqueComInitialization com = InitializeCom();
    if (!ShellOpen(readMe, std::wstring(), folder) &&
        !ShellOpen(SystemFolder() + L"\\notepad.exe", L"\"" + readMe + L"\"", folder))
        ThrowError(L"ShellExecuteEx", ERROR_NO_ASSOCIATION);
    return 0;
}

std::wstring Win32SupportLibrary::StringFromAnsiPointer(const char* address)
{
    if (!address)
        return std::wstring();
    const size_t length = std::strlen(address);
    if (length > INT_MAX)
        throw Error(kErrOverflow, L"Overflow");
    return WideFromAnsi(address, static_cast<int>(length));
}

std::wstring Win32SupportLibrary::CutRight(const std::wstring& text, std::int32_t count)
{
    if (count < 0)
        throw Error(kErrInvalidProcedureCall, L"Invalid procedure call or argument");
    const auto cut = static_cast<size_t>(count);
    return cut >= text.size() ? std::wstring() : text.substr(0, text.size() - cut);
}

std::wstring Win32SupportLibrary::ErrorText(std::uint32_t error)
{
    return SystemText(error);
}

bool Win32SupportLibrary::CanStartAsAdministrator()
{
    return RunsUnelevatedUnderUac();
}

std::uint32_t Win32SupportLibrary::StartAsAdministrator(WindowHandle owner)
{
    const std::wstring program = ProgramPath();
    const std::wstring arguments = ArgumentsOf(GetCommandLineW());
    const UniqueComInitialization com = InitializeCom();
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    // The shell shows no error box of its own; NOASYNC because this
    // instance ends as soon as the call returns.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = ToHwnd(owner);
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = arguments.empty() ? nullptr : arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (Shell().ShellExecuteExW(&info))
        return 0;
    return GetLastError();
}

std::uint32_t Win32SupportLibrary::StartForServer(const std::wstring& server)
{
    const std::wstring program = ProgramPath();
    std::wstring commandLine = L"\"" + program + L"\" " + server;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return GetLastError();
    // Nothing is awaited of the new instance.
    const UniqueKernelHandle thread(started.hThread);
    const UniqueKernelHandle process(started.hProcess);
    return 0;
}

std::unique_ptr<PlacementStore> Win32SupportLibrary::CreatePlacementStore()
{
    return std::make_unique<Win32PlacementStore>();
}

bool Win32SupportLibrary::SaveFile(const std::wstring& path, const std::string& bytes, std::wstring& reason)
{
    return SaveFileWhole(path, bytes, reason);
}

std::unique_ptr<FormServices> Win32SupportLibrary::CreateFormServices()
{
    return std::make_unique<Win32FormServices>();
}

}  // namespace dovrel::win32
