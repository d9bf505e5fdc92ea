// The ways the program takes on the older Windows it runs on, where a
// function came later or a library is older: each is run here through a
// stand-in that fails as the older system does.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/win32/system/LaterEntryPoints.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/system/TextConversion.h"
#include "tests/win32/TestWindow.h"

namespace dovrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using win32::KernelEntryPoints;

// What the stand-ins were asked; they are plain functions, as the system's are.
struct Calls {
    std::vector<DWORD> setDefaultDllDirectories;
    std::vector<std::wstring> setDllDirectory;
    std::vector<std::pair<std::wstring, DWORD>> loadLibraryEx;
    std::vector<DWORD> initCommonControls;
} calls;

BOOL WINAPI RecordSetDefaultDllDirectories(DWORD flags)
{
    calls.setDefaultDllDirectories.push_back(flags);
    return TRUE;
}

BOOL WINAPI RecordSetDllDirectory(LPCWSTR folder)
{
    calls.setDllDirectory.emplace_back(folder ? folder : L"(null)");
    return TRUE;
}

// LoadLibraryEx of a system without KB2533623 (XP, Vista, 7 before it),
// which knows no search flags: it ignores them and searches as usual, the
// program's folder first.
HMODULE WINAPI IgnoreSearchFlags(LPCWSTR name, HANDLE reserved, DWORD flags)
{
    calls.loadLibraryEx.emplace_back(name, flags);
    return LoadLibraryExW(name, reserved, flags & ~DWORD{0x1F00});  // LOAD_LIBRARY_SEARCH_*
}

bool AnySearchFlags()
{
    for (const auto& call : calls.loadLibraryEx)
        if (call.second & 0x1F00)
            return true;
    return false;
}

HMODULE WINAPI RecordLoadLibraryEx(LPCWSTR name, HANDLE reserved, DWORD flags)
{
    calls.loadLibraryEx.emplace_back(name, flags);
    return LoadLibraryExW(name, reserved, flags);
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

// The folder of the library that holds this function.
std::wstring FolderHolding(const void* function)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(function), &module))
        return L"(no module)";
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    const std::wstring file(path, length);
    return Lower(file.substr(0, file.find_last_of(L'\\')));
}

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return Lower(std::wstring(folder, length));
}

// Loads the version library as the given system would and tells where it came from.
std::wstring FolderOfVersionLibrary(const KernelEntryPoints& kernel)
{
    const win32::SystemLibrary library(L"version.dll", kernel);
    const auto function = library.Get<decltype(&::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
    return FolderHolding(reinterpret_cast<const void*>(function));
}

TEST(OlderWindowsTest, EachSystemGetsTheSafestLibrarySearchItHas)
{
    const auto withSearchFlags = std::pair{std::wstring(L"version.dll"), DWORD{LOAD_LIBRARY_SEARCH_SYSTEM32}};

    // Windows 8, or 7 with KB2533623.
    calls = {};
    const KernelEntryPoints windows8 = {RecordSetDefaultDllDirectories, RecordSetDllDirectory, nullptr,
                                        RecordLoadLibraryEx, &::CreateActCtxW};
    win32::LoadLibrariesFromSystemFolderOnly(windows8);
    EXPECT_THAT(calls.setDefaultDllDirectories, ElementsAre(DWORD{LOAD_LIBRARY_SEARCH_SYSTEM32}));
    EXPECT_THAT(calls.setDllDirectory, IsEmpty());
    // Each library waits for its first use, but for COM (see SystemLibrary.cpp).
    EXPECT_THAT(calls.loadLibraryEx,
                ElementsAre(std::pair{std::wstring(L"ole32.dll"), DWORD{LOAD_LIBRARY_SEARCH_SYSTEM32}}));
    calls = {};
    EXPECT_EQ(FolderOfVersionLibrary(windows8), SystemFolder());
    EXPECT_THAT(calls.loadLibraryEx, ElementsAre(withSearchFlags));

    // Windows XP SP1 to 7 without the update: no search flags are passed;
    // the libraries loaded on the program's behalf are loaded at once,
    // by full path, and comctl32 by name: only that is redirected to the
    // version 6 that the manifest asks for.
    calls = {};
    const KernelEntryPoints windowsXp = {nullptr, RecordSetDllDirectory, nullptr, IgnoreSearchFlags, &::CreateActCtxW};
    win32::LoadLibrariesFromSystemFolderOnly(windowsXp);
    EXPECT_THAT(calls.setDllDirectory, ElementsAre(L""));
    EXPECT_FALSE(AnySearchFlags());
    std::vector<std::wstring> loaded;
    for (const auto& call : calls.loadLibraryEx)
        loaded.push_back(Lower(call.first));
    EXPECT_THAT(loaded, testing::Contains(L"comctl32.dll"));
    for (const wchar_t* name : {L"uxtheme.dll", L"winspool.drv", L"localspl.dll", L"localui.dll", L"comdlg32.dll"})
        EXPECT_THAT(loaded, testing::Contains(SystemFolder() + L"\\" + name));
    calls = {};
    EXPECT_EQ(FolderOfVersionLibrary(windowsXp), SystemFolder());
    const win32::SystemLibrary comctl32(L"comctl32.dll", windowsXp);
    const auto init = comctl32.Get<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx");
    EXPECT_THAT(FolderHolding(reinterpret_cast<const void*>(init)),
                HasSubstr(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."));

    // Windows 2000: no way to change the search; full paths only.
    calls = {};
    const KernelEntryPoints windows2000 = {nullptr, nullptr, nullptr, IgnoreSearchFlags, nullptr};
    win32::LoadLibrariesFromSystemFolderOnly(windows2000);
    EXPECT_THAT(calls.setDefaultDllDirectories, IsEmpty());
    EXPECT_THAT(calls.setDllDirectory, IsEmpty());
    EXPECT_EQ(FolderOfVersionLibrary(windows2000), SystemFolder());
    EXPECT_FALSE(AnySearchFlags());
}

// Where its system has no CompareStringOrdinal (before Vista), the program
// compares monitor names by the invariant upper case; it must come to the
// same answer as the function does.
TEST(OlderWindowsTest, WithoutCompareStringOrdinalNamesCompareAsItWould)
{
    const KernelEntryPoints& vista = win32::Kernel();
    ASSERT_NE(vista.CompareStringOrdinal, nullptr);
    const KernelEntryPoints windowsXp = {nullptr, nullptr, nullptr, &::LoadLibraryExW, &::CreateActCtxW};
    const std::pair<std::wstring, std::wstring> names[] = {
        {L"Local Port", L"Local Port"},
        {L"Local Port", L"Local port"},
        {L"Local Port", L"LOCAL PORT"},
        {L"Standard TCP/IP Port", L"standard tcp/ip port"},
        {L"Local Port", L"Local Port "},
        {L"Local Port", L"Local Monitor"},
        {L"Local Port", L"Local Pört"},
        {L"Локальный порт", L"ЛОКАЛЬНЫЙ ПОРТ"},
        {L"Τοπική θύρα", L"ΤΟΠΙΚΉ ΘΎΡΑ"},
        {L"Straße", L"STRASSE"},
        {L"", L""},
        {L"", L"Local Port"},
    };
    for (const auto& [first, second] : names) {
        const bool expected = vista.CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                                                         static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
        EXPECT_EQ(win32::EqualIgnoringCase(first, second, windowsXp), expected)
            << testing::PrintToString(first) << " and " << testing::PrintToString(second);
        EXPECT_EQ(win32::EqualIgnoringCase(first, second, vista), expected);
    }
}

// GetProcAddress of a comctl32 before version 6, which exports the subclass
// functions by number only.
FARPROC WINAPI WithoutSubclassNames(HMODULE module, LPCSTR name)
{
    if (!IS_INTRESOURCE(name)) {
        for (const char* unnamed : {"SetWindowSubclass", "RemoveWindowSubclass", "DefSubclassProc"}) {
            if (std::strcmp(name, unnamed) == 0) {
                SetLastError(ERROR_PROC_NOT_FOUND);
                return nullptr;
            }
        }
    }
    return GetProcAddress(module, name);
}

HRESULT CALLBACK Version472(DLLVERSIONINFO* version)
{
    version->dwMajorVersion = 4;
    version->dwMinorVersion = 72;
    return S_OK;
}

// GetProcAddress of comctl32 4.72 (Windows 98, Internet Explorer 4).
FARPROC WINAPI CommonControls472(HMODULE module, LPCSTR name)
{
    if (!IS_INTRESOURCE(name) && std::strcmp(name, "DllGetVersion") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Version472));
    return WithoutSubclassNames(module, name);
}

LRESULT CALLBACK CountMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count)
{
    if (message == WM_USER)
        ++*reinterpret_cast<int*>(count);
    return win32::CommonControls().DefSubclassProc(window, message, wParam, lParam);
}

TEST(OlderWindowsTest, CommonControlsBeforeVersion6AreReachedByNumber)
{
    const win32::SystemLibrary comctl32(L"comctl32.dll");
    const win32::CommonControlsLibrary byName = win32::LoadCommonControls(comctl32);
    const win32::CommonControlsLibrary byNumber = win32::LoadCommonControls(comctl32, WithoutSubclassNames);
    EXPECT_EQ(byNumber.InitCommonControlsEx, byName.InitCommonControlsEx);
    EXPECT_EQ(byNumber.SetWindowSubclass, byName.SetWindowSubclass);
    EXPECT_EQ(byNumber.RemoveWindowSubclass, byName.RemoveWindowSubclass);
    EXPECT_EQ(byNumber.DefSubclassProc, byName.DefSubclassProc);

    TestWindow window;
    int count = 0;
    ASSERT_TRUE(byNumber.SetWindowSubclass(window.Handle(), CountMessages, 1, reinterpret_cast<DWORD_PTR>(&count)));
    SendMessageW(window.Handle(), WM_USER, 0, 0);
    EXPECT_TRUE(byNumber.RemoveWindowSubclass(window.Handle(), CountMessages, 1));
    SendMessageW(window.Handle(), WM_USER, 0, 0);
    EXPECT_EQ(count, 1);

    // Before 5.80 those numbers are other functions or none: the program
    // says what it needs instead of calling them.
    EXPECT_THROW(win32::LoadCommonControls(comctl32, CommonControls472), Error);
}

// InitCommonControlsEx of a comctl32 that refuses the flags of version 6.
BOOL WINAPI RefuseVersion6Classes(const INITCOMMONCONTROLSEX* controls)
{
    calls.initCommonControls.push_back(controls->dwICC);
    if (controls->dwICC & ~DWORD{0x3FFF})
        return FALSE;
    return win32::CommonControls().InitCommonControlsEx(controls);
}

BOOL WINAPI RefuseEverything(const INITCOMMONCONTROLSEX* controls)
{
    calls.initCommonControls.push_back(controls->dwICC);
    return FALSE;
}

TEST(OlderWindowsTest, CommonControlsRefusingVersion6ClassesStillRegisterTheList)
{
    win32::CommonControlsLibrary library = win32::CommonControls();
    library.InitCommonControlsEx = RefuseVersion6Classes;
    calls = {};
    EXPECT_NO_THROW(win32::InitListViewClasses(library));
    EXPECT_THAT(calls.initCommonControls,
                ElementsAre(DWORD{ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES}, DWORD{ICC_LISTVIEW_CLASSES}));

    library.InitCommonControlsEx = RefuseEverything;
    EXPECT_THROW(win32::InitListViewClasses(library), Error);
}

}  // namespace
}  // namespace dovrel::test
