#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/win32/system/FileSaving.h"
#include "platform/win32/form/Win32FormsRuntime.h"
#include "platform/win32/system/Win32SupportLibrary.h"
#include "tests/win32/TestWindow.h"

namespace dovrel::test {
namespace {

using ::testing::HasSubstr;
using win32::Win32SupportLibrary;

constexpr wchar_t kProgramKey[] = L"Software\\Orvane\\Dovrel";
constexpr wchar_t kTestKey[] = L"Software\\Orvane\\Dovrel\\Tests";
constexpr wchar_t kAppPathKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Dovrel.exe";

WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

class StubForm final : public Form {
public:
    explicit StubForm(HWND window) : window_(window) {}
    WindowHandle hWnd() const override { return Handle(window_); }
    float ScaleWidth() const override { return 0; }
    float ScaleHeight() const override { return 0; }
    bool Minimized() const override { return false; }
    void SetCaption(const std::wstring&) override {}
    void Show() override {}
    void Unload() override {}
    void PopupMenu(const std::string&, const ScreenPoint&) override {}

private:
    HWND window_;
};

class StubButton final : public CommandButton {
public:
    explicit StubButton(HWND window) : window_(window) {}
    WindowHandle hWnd() const override { return Handle(window_); }
    bool Enabled() const override { return IsWindowEnabled(window_) != FALSE; }
    void SetEnabled(bool) override {}
    float Left() const override { return 0; }
    void SetLeft(float) override {}
    float Top() const override { return 0; }
    float Width() const override { return 0; }
    float Height() const override { return 0; }

private:
    HWND window_;
};

class StubRuntime final : public FormsRuntime {
public:
    void InitCommonControls() override {}
    FormControls& CreateForm(const FormDefinition&) override { throw std::logic_error("not used here"); }
    std::wstring AppTitle() const override { return L"Orvane - Dovrel"; }
    void SetScreenMousePointer(MousePointer) override {}
    std::int32_t MsgBox(const std::wstring&, std::int32_t) override { return kIdOk; }
    std::wstring InputBox(const std::wstring&, const std::wstring&) override { return std::wstring(); }
    void SetClipboardText(const std::wstring&) override {}
    bool ShowSaveAs(const std::vector<FileType>&, const std::wstring&, SaveAsChoice&) override { return false; }
};

using Bounds = std::array<LONG, 4>;

Bounds BoundsOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void MoveTo(HWND window, int left, int top, int width, int height)
{
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT WorkArea()
{
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring ProgramFolder() { return ProgramPath().substr(0, ProgramPath().find_last_of(L'\\')); }

// Polls for up to 15 s, handling this thread's messages meanwhile.
template <typename Condition>
bool WaitFor(Condition condition)
{
    for (int i = 0; i < 750; ++i, Sleep(20)) {
        PumpMessages();
        if (condition())
            return true;
    }
    return false;
}

std::optional<std::wstring> ReadUserString(const wchar_t* key, const wchar_t* name)
{
    wchar_t text[1024] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

// The stored placement in its first format: tag "DVPL", version 1, the
// normal rectangle in screen pixels, the show state.
struct Blob {
    std::uint32_t tag = 0x4C505644;
    std::uint32_t version = 1;
    std::int32_t left = 100;
    std::int32_t top = 100;
    std::int32_t right = 500;
    std::int32_t bottom = 400;
    std::uint32_t showCmd = SW_SHOWNORMAL;
};

class PlacementStoreTest : public ::testing::Test {
protected:
    PlacementStoreTest()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        MoveTo(window.Handle(), 40, 40, 320, 240);
    }
    ~PlacementStoreTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

    bool Load() { return store->LoadPlacement(L"Tests", L"Window placement", form, app, 0, 0, 0, kTrue); }
    void Save() { store->SavePlacement(L"Tests", L"Window placement", form, app, kTrue); }
    void Put(DWORD type, const void* data, size_t size)
    {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, L"Window placement", type, data,
                                  static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    }

    TestWindow window;
    StubForm form{window.Handle()};
    StubRuntime app;
    win32::Win32FormsRuntime runtime{L"Orvane - Dovrel"};
    std::unique_ptr<PlacementStore> store = Win32SupportLibrary(runtime).CreatePlacementStore();
};

TEST_F(PlacementStoreTest, RestoresTheSavedRectangle)
{
    MoveTo(window.Handle(), 150, 130, 420, 310);
    Save();
    MoveTo(window.Handle(), 300, 260, 200, 150);
    ASSERT_TRUE(Load());
    EXPECT_EQ(BoundsOf(window.Handle()), (Bounds{150, 130, 570, 440}));
}

TEST_F(PlacementStoreTest, AWindowSavedMaximisedOrMinimisedComesBackNormalAtItsNormalRectangle)
{
    MoveTo(window.Handle(), 120, 110, 400, 300);
    for (const int state : {SW_MAXIMIZE, SW_MINIMIZE}) {
        ShowWindow(window.Handle(), state);
        Save();
        ShowWindow(window.Handle(), SW_RESTORE);
        MoveTo(window.Handle(), 10, 10, 200, 150);
        EXPECT_TRUE(Load()) << state;
        EXPECT_FALSE(IsZoomed(window.Handle()));
        EXPECT_FALSE(IsIconic(window.Handle()));
        EXPECT_EQ(BoundsOf(window.Handle()), (Bounds{120, 110, 520, 410})) << state;
    }
}

// Saved at two thirds of the present resolution: the client area comes back
// one and a half times as many pixels, so the same size in inches.
TEST_F(PlacementStoreTest, APlacementSavedAtAnotherResolutionKeepsTheClientAreasSizeInInches)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    struct {
        Blob first;
        std::int32_t dpi, clientWidth, clientHeight;
    } saved{Blob{0x4C505644, 2, 100, 90, 400, 300, SW_SHOWNORMAL}, dpi * 2 / 3, 200, 100};
    Put(REG_BINARY, &saved, sizeof(saved));
    ASSERT_TRUE(Load());
    RECT client = {};
    GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, MulDiv(200, dpi, saved.dpi));
    EXPECT_EQ(client.bottom, MulDiv(100, dpi, saved.dpi));
    EXPECT_EQ(BoundsOf(window.Handle())[0], 100);
    EXPECT_EQ(BoundsOf(window.Handle())[1], 90);
}

TEST_F(PlacementStoreTest, LoadingLeavesAHiddenWindowHidden)
{
    Blob blob;
    Put(REG_BINARY, &blob, sizeof(blob));
    ShowWindow(window.Handle(), SW_HIDE);
    ASSERT_TRUE(Load());
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    EXPECT_EQ(BoundsOf(window.Handle()), (Bounds{100, 100, 500, 400}));
}

TEST_F(PlacementStoreTest, UnusableStoredDataGivesFalseAndLeavesTheWindowAlone)
{
    const Bounds before = BoundsOf(window.Handle());
    EXPECT_FALSE(Load()) << "nothing stored";

    const RECT work = WorkArea();
    auto at = [](LONG left, LONG top) { return Blob{0x4C505644, 1, left, top, left + 400, top + 300, SW_SHOWNORMAL}; };
    Blob tag, version, flat, inverted, huge, state, hidden;
    tag.tag = 0x12345678;
    version.version = 3;
    flat.right = flat.left;
    inverted.bottom = inverted.top - 50;
    huge.right = 2000000000;
    state.showCmd = 0xFFFF;
    hidden.showCmd = SW_HIDE;
    const std::pair<const char*, Blob> damaged[] = {
        {"garbage tag", tag}, {"other version", version}, {"zero width", flat}, {"negative height", inverted},
        {"absurd size", huge}, {"bad show state", state},
        {"hidden", hidden}, {"far off every monitor", at(20000, 20000)},
        {"caption above the screen", at(work.left + 100, work.top - 200)},
        {"only a sliver on the screen", at(work.right - 20, work.top + 50)},
    };
    for (const auto& [what, blob] : damaged) {
        Put(REG_BINARY, &blob, sizeof(blob));
        EXPECT_FALSE(Load()) << what;
    }

    std::vector<BYTE> bytes(sizeof(Blob) + 1);
    const Blob good;
    std::memcpy(bytes.data(), &good, sizeof(good));
    Put(REG_BINARY, bytes.data(), sizeof(Blob) - 1);
    EXPECT_FALSE(Load()) << "truncated";
    Put(REG_BINARY, bytes.data(), sizeof(Blob) + 1);
    EXPECT_FALSE(Load()) << "oversized";
    Put(REG_SZ, L"100,100,500,400", 32);
    EXPECT_FALSE(Load()) << "text instead of binary";
    EXPECT_EQ(BoundsOf(window.Handle()), before);

    Put(REG_BINARY, bytes.data(), sizeof(Blob));
    EXPECT_TRUE(Load()) << "the same data, whole";
}

TEST_F(PlacementStoreTest, WithoutASectionThePlacementLivesInTheProgramsKey)
{
    store->SavePlacement(L"", L"Test placement", form, app, kTrue);
    DWORD type = 0;
    DWORD size = 0;
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kProgramKey, L"Test placement", RRF_RT_ANY, &type,
                                        nullptr, &size);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kProgramKey, L"Test placement");
    ASSERT_EQ(status, ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 40u) << "the format with the resolution";
}

class SupportLibraryTest : public ::testing::Test {
protected:
    // The runtime keeps the icons: it goes after the window that shows them.
    win32::Win32FormsRuntime runtime{L"Orvane - Dovrel"};
    TestWindow window;
    Win32SupportLibrary library{runtime};
};

TEST_F(SupportLibraryTest, CenterFormCentresOnTheWorkAreaKeepingTheSize)
{
    MoveTo(window.Handle(), 5, 5, 401, 301);
    library.CenterForm(Handle(window.Handle()), 0);
    const Bounds bounds = BoundsOf(window.Handle());
    const RECT work = WorkArea();
    EXPECT_EQ(bounds[2] - bounds[0], 401);
    EXPECT_EQ(bounds[3] - bounds[1], 301);
    EXPECT_NEAR(bounds[0] + bounds[2], work.left + work.right, 2);
    EXPECT_NEAR(bounds[1] + bounds[3], work.top + work.bottom, 2);
}

TEST_F(SupportLibraryTest, SetWindowIconFromResourceSetsTheBigAndTheSmallIcon)
{
    library.SetWindowIconFromResource(Handle(window.Handle()), L"A_MAIN");
    for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(window.Handle(), WM_GETICON, which, 0));
        ICONINFO info = {};
        ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << which;
        BITMAP mask = {};
        GetObjectW(info.hbmMask, sizeof(mask), &mask);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        EXPECT_EQ(mask.bmWidth, GetSystemMetrics(metric)) << which;
    }
}

TEST_F(SupportLibraryTest, SetWindowIconFromResourceRaisesForAnUnknownIconOrWindow)
{
    try {
        library.SetWindowIconFromResource(Handle(window.Handle()), L"NO_SUCH_ICON");
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_THAT(error.Description(), HasSubstr(L"NO_SUCH_ICON"));
    }
    HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_THROW(library.SetWindowIconFromResource(Handle(gone), L"A_MAIN"), Error);
}

TEST_F(SupportLibraryTest, FixContainerWindowsClipsTheChildrenOfTheProgramsWindows)
{
    ASSERT_FALSE(GetWindowLongPtrW(window.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_GE(library.FixContainerWindows(), 1);
    EXPECT_TRUE(GetWindowLongPtrW(window.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_EQ(library.FixContainerWindows(), 0);
}

// Counts the BN_CLICKED notifications that reach the window.
LRESULT CALLBACK CountClicks(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
        ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(SupportLibraryTest, PressButtonNotifiesTheParentOfAClick)
{
    HWND button = CreateWindowExW(0, L"BUTTON", L"Settings...", WS_CHILD | WS_VISIBLE, 10, 10, 90, 25,
                                  window.Handle(), nullptr, nullptr, nullptr);
    int clicks = 0;
    SetWindowLongPtrW(window.Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&clicks));
    SetWindowLongPtrW(window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountClicks));
    StubButton settings(button);
    const auto services = library.CreateFormServices();
    services->PressButton(settings);
    EXPECT_EQ(clicks, 1);
    SetWindowLongPtrW(window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    DestroyWindow(button);
    EXPECT_THROW(services->PressButton(settings), Error);
}

struct AboutSeen {
    bool ownedByTheForm = false;
    bool formDisabled = false;
    std::wstring caption;
    std::vector<std::wstring> texts;
    RECT box = {};
};

BOOL CALLBACK FindDialog(HWND candidate, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(candidate, name, 16);
    if (std::wcscmp(name, L"#32770") == 0)
        *reinterpret_cast<HWND*>(found) = candidate;
    return TRUE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM texts)
{
    reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(WindowText(child));
    return TRUE;
}

class AboutBoxTest : public SupportLibraryTest {
protected:
    AboutBoxTest() { MoveTo(window.Handle(), 200, 150, 600, 400); }

    // Shows the about box while another thread waits until it is visible with
    // its OK button, reads it and closes it with close.
    AboutSeen ShowAndClose(void (*close)(HWND dialog))
    {
        AboutSeen seen;
        const HWND owner = window.Handle();
        std::thread watcher([&, uiThread = GetCurrentThreadId()] {
            HWND dialog = nullptr;
            const bool ready = WaitFor([&] {
                EnumThreadWindows(uiThread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
                return dialog && IsWindowVisible(dialog) && IsWindowVisible(GetDlgItem(dialog, IDOK));
            });
            if (!ready && !dialog)
                return;
            seen.ownedByTheForm = GetWindow(dialog, GW_OWNER) == owner;
            seen.formDisabled = !IsWindowEnabled(owner);
            seen.caption = WindowText(dialog);
            EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&seen.texts));
            GetWindowRect(dialog, &seen.box);
            close(dialog);
        });
        try {
            services->ShowAbout(form, app, L"", L"For everyone who still prints.");
        } catch (...) {
            watcher.join();
            throw;
        }
        watcher.join();
        return seen;
    }

    StubForm form{window.Handle()};
    StubRuntime app;
    std::unique_ptr<FormServices> services = library.CreateFormServices();
};

TEST_F(AboutBoxTest, ShowsTitleVersionAndDedicationOwnedByAndCentredOnTheForm)
{
    const AboutSeen seen = ShowAndClose([](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
    EXPECT_TRUE(seen.ownedByTheForm);
    EXPECT_TRUE(seen.formDisabled);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(seen.caption, L"About Orvane - Dovrel");
    EXPECT_THAT(seen.texts, ::testing::IsSupersetOf(std::vector<std::wstring>{
                                L"Orvane - Dovrel", L"Version 1.01.0016", L"For everyone who still prints.", L"OK"}));
    const Bounds owner = BoundsOf(window.Handle());
    EXPECT_NEAR(seen.box.left + seen.box.right, owner[0] + owner[2], 2);
    EXPECT_NEAR(seen.box.top + seen.box.bottom, owner[1] + owner[3], 2);
}

TEST_F(AboutBoxTest, EscAndEnterCloseIt)
{
    EXPECT_TRUE(ShowAndClose([](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0); }).ownedByTheForm);
    EXPECT_TRUE(ShowAndClose([](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0); }).ownedByTheForm);
}

BOOL CALLBACK CollectReadMeWindow(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::wstring title = WindowText(window);
    CharLowerW(title.data());
    if (process != GetCurrentProcessId() && IsWindowVisible(window) && title.find(L"readme") != std::wstring::npos)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> ReadMeWindowsOfOtherPrograms()
{
    std::vector<HWND> found;
    EnumWindows(CollectReadMeWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Text files opened by a program that leaves a mark in the registry, for
// as long as it lives. Under Wine the classes live in HKLM only.
class MarkingTextAssociation {
public:
    MarkingTextAssociation()
    {
        wchar_t old[128] = {};
        DWORD size = sizeof old;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.txt", nullptr, RRF_RT_REG_SZ, nullptr, old, &size) ==
            ERROR_SUCCESS)
            old_ = old;
        const std::wstring command = L"reg.exe add HKCU\\" + std::wstring(kTestKey) + L" /v Opened /d \"%1\" /f";
        Set(kCommandKey, command);
        Set(L"Software\\Classes\\.txt", L"DovrelTest.Text");
    }
    ~MarkingTextAssociation()
    {
        if (old_)
            Set(L"Software\\Classes\\.txt", *old_);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\DovrelTest.Text");
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    }
    MarkingTextAssociation(const MarkingTextAssociation&) = delete;
    MarkingTextAssociation& operator=(const MarkingTextAssociation&) = delete;

    static bool Marked() { return ReadUserString(kTestKey, L"Opened").has_value(); }

private:
    static constexpr wchar_t kCommandKey[] = L"Software\\Classes\\DovrelTest.Text\\shell\\open\\command";
    static void Set(const wchar_t* key, const std::wstring& text)
    {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, text.c_str(),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    std::optional<std::wstring> old_;
};

// Wine's token is elevated: the read-me opens in the system's Notepad
// (its window's title names the file), whatever the association names.
TEST_F(SupportLibraryTest, OpenReadMeElevatedShowsTheReadMeInTheSystemsNotepad)
{
    const MarkingTextAssociation association;
    const std::vector<HWND> before = ReadMeWindowsOfOtherPrograms();
    library.OpenReadMe(0);
    HWND opened = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND window : ReadMeWindowsOfOtherPrograms())
            if (std::find(before.begin(), before.end(), window) == before.end())
                opened = window;
        return opened != nullptr || association.Marked();
    })) << "no window with ReadMe in its title appeared";
    ASSERT_FALSE(association.Marked()) << "the read-me was opened through the association";
    PostMessageW(opened, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(opened); }));
}

TEST_F(SupportLibraryTest, OpenReadMeWithoutTheFileSaysWhereItLooked)
{
    const std::wstring readMe = ProgramFolder() + L"\\ReadMe.txt";
    const std::wstring aside = readMe + L".aside";
    ASSERT_TRUE(MoveFileExW(readMe.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
    try {
        library.OpenReadMe(0);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_THAT(error.Description(), HasSubstr(L"read-me was not found"));
        EXPECT_THAT(error.Description(), HasSubstr(readMe));
    }
    EXPECT_TRUE(MoveFileExW(aside.c_str(), readMe.c_str(), MOVEFILE_REPLACE_EXISTING));
}

TEST(RegisterAppPathTest, WritesTheProgramAndItsFolderOnlyWhenTheyDiffer)
{
    const auto oldProgram = ReadUserString(kAppPathKey, nullptr);
    const auto oldFolder = ReadUserString(kAppPathKey, L"Path");
    RegDeleteTreeW(HKEY_CURRENT_USER, kAppPathKey);
    win32::Win32FormsRuntime runtime(L"Orvane - Dovrel");
    Win32SupportLibrary library(runtime);

    EXPECT_EQ(library.RegisterAppPath(), 2);
    EXPECT_EQ(ReadUserString(kAppPathKey, nullptr), ProgramPath());
    EXPECT_EQ(ReadUserString(kAppPathKey, L"Path"), ProgramFolder());
    EXPECT_EQ(library.RegisterAppPath(), 0);
    RegSetKeyValueW(HKEY_CURRENT_USER, kAppPathKey, L"Path", REG_SZ, L"C:\\elsewhere", 26);
    EXPECT_EQ(library.RegisterAppPath(), 1);
    EXPECT_EQ(ReadUserString(kAppPathKey, L"Path"), ProgramFolder());

    RegDeleteTreeW(HKEY_CURRENT_USER, kAppPathKey);
    for (const auto& [name, value] : {std::pair{L"", oldProgram}, std::pair{L"Path", oldFolder}})
        if (value)
            RegSetKeyValueW(HKEY_CURRENT_USER, kAppPathKey, name, REG_SZ, value->c_str(),
                            static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

// Stand-ins for the file system's calls that refuse a path of MAX_PATH
// characters or more, as Windows does and Wine does not, and tell which
// call put a saved file in place.
std::vector<std::string> placedBy;

bool TooLong(LPCWSTR path)
{
    if (std::wcslen(path) < MAX_PATH)
        return false;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return true;
}

HANDLE WINAPI CreateWithinMaxPath(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE model)
{
    return TooLong(path) ? INVALID_HANDLE_VALUE : CreateFileW(path, access, share, security, disposition, flags, model);
}

BOOL WINAPI ReplaceWithinMaxPath(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID, LPVOID)
{
    if (TooLong(replaced) || TooLong(replacement) || !ReplaceFileW(replaced, replacement, backup, flags, nullptr, nullptr))
        return FALSE;
    placedBy.push_back("ReplaceFile");
    return TRUE;
}

BOOL WINAPI MoveWithinMaxPath(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    if (TooLong(from) || TooLong(to) || !MoveFileExW(from, to, flags))
        return FALSE;
    placedBy.push_back("MoveFileEx");
    return TRUE;
}

// A folder of 248 characters, the longest Windows makes, which the Save As
// dialog offers: the new file beside the list's fits within MAX_PATH; the
// list saved again over the first replaces it in place, keeping its
// security and attributes.
TEST(SaveFileTest, AFolderOf248CharactersTakesTheListAndAFileSavedAgainIsReplacedInPlace)
{
    const win32::FileSystemCalls windowsLimits = {CreateWithinMaxPath, ReplaceWithinMaxPath, MoveWithinMaxPath,
                                                  &::DeleteFileW};
    std::wstring folder = L"C:\\windows\\temp\\dovrel-save-";
    folder.append(248 - folder.size(), L'x');
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring file = folder + L"\\Ports.csv";
    placedBy.clear();
    std::wstring reason;
    EXPECT_TRUE(win32::SaveFileWhole(file, "first", reason, windowsLimits)) << reason;
    EXPECT_TRUE(win32::SaveFileWhole(file, "second", reason, windowsLimits)) << reason;
    EXPECT_THAT(placedBy, ::testing::ElementsAre("MoveFileEx", "ReplaceFile"));

    char read[16] = {};
    DWORD size = 0;
    const HANDLE saved = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ReadFile(saved, read, sizeof read, &size, nullptr);
    CloseHandle(saved);
    EXPECT_EQ(std::string(read, size), "second");
    DeleteFileW(file.c_str());
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "something else was left in the folder";
}

TEST(TextFunctionsTest, StringFromAnsiPointerReadsAnsiTextUpToItsEnd)
{
    win32::Win32FormsRuntime runtime(L"Orvane - Dovrel");
    Win32SupportLibrary library(runtime);
    EXPECT_EQ(library.StringFromAnsiPointer(nullptr), L"");
    EXPECT_EQ(library.StringFromAnsiPointer("LPT1:\0Local Monitor"), L"LPT1:");
    if (GetACP() == 1252)
        EXPECT_EQ(library.StringFromAnsiPointer("Caf\xE9 \x80"), L"Caf\u00E9 \u20AC");
    else if (GetACP() == 1251)
        EXPECT_EQ(library.StringFromAnsiPointer("\xCF\xEE\xF0\xF2"), L"\u041F\u043E\u0440\u0442");
    else
        ADD_FAILURE() << "no sample for ANSI code page " << GetACP();
}

TEST(TextFunctionsTest, CutRightDropsTheLastCharacters)
{
    win32::Win32FormsRuntime runtime(L"Orvane - Dovrel");
    Win32SupportLibrary library(runtime);
    EXPECT_EQ(library.CutRight(L"Write, Read, ", 2), L"Write, Read");
    EXPECT_EQ(library.CutRight(L"Write", 0), L"Write");
    EXPECT_EQ(library.CutRight(L"Write", 5), L"");
    EXPECT_EQ(library.CutRight(L"Write", 9), L"");
    try {
        library.CutRight(L"Write", -1);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), 5);
        EXPECT_EQ(error.Description(), L"Invalid procedure call or argument");
    }
}

}  // namespace
}  // namespace dovrel::test
