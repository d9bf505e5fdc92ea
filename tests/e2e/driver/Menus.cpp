#include "tests/e2e/driver/Menus.h"

#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

namespace {

constexpr wchar_t kMenuClass[] = L"#32768";

HWND VisibleMenu()
{
    for (const TopWindow& window : VisibleTopWindows())
        if (HasClass(window.handle, kMenuClass))
            return window.handle;
    return nullptr;
}

}  // namespace

// Waits for a pop-up menu on the screen and prints where it is. Its items
// cannot be read: Wine keeps a menu's items to the process that made it.
void Menu(const Args& args)
{
    HWND menuWindow = Poll(WaitArgument(args, 0), [] { return VisibleMenu(); });
    if (!menuWindow)
        throw Failure(Utf8(L"no pop-up menu is open; " + DescribeVisibleWindows()));
    RECT rect{};
    GetWindowRect(menuWindow, &rect);
    Print(L"at: " + std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top));
}

void WaitNoMenu(const Args& args)
{
    if (!Poll(WaitArgument(args, 0), [] { return VisibleMenu() == nullptr; }))
        throw Failure("the pop-up menu is still open");
}

// The clipboard's Unicode text and the ANSI text Windows makes from it.
void Clipboard(const Args&)
{
    if (!Poll(2000, [] { return OpenClipboard(nullptr) != FALSE; }))
        throw Failure("cannot open the clipboard");
    std::wstring unicode = L"(none)";
    std::wstring ansi = L"(none)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            unicode = Escaped(text);
            GlobalUnlock(data);
        }
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
            ansi = Escaped(WideFromAnsi(text));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    Print(L"unicode: " + unicode);
    Print(L"ansi: " + ansi);
}

// Selects entry INDEX of combo box ID in the dialog TITLE, as a person
// choosing it would: the dialog hears of the new choice.
void SelectItem(const Args& args)
{
    HWND dialog = WaitTopWindow(args[0], true, 5000);
    const auto id = static_cast<int>(ParseNumber(args[1], L"the control id"));
    const auto index = static_cast<WPARAM>(ParseNumber(args[2], L"the index"));
    HWND combo = GetDlgItem(dialog, id);
    if (!combo)
        throw Failure(Utf8(L"the window " + Quoted(args[0]) + L" has no control " + args[1]));
    if (static_cast<LRESULT>(Ask(combo, CB_SETCURSEL, index, 0)) == CB_ERR)
        throw Failure("the combo box has no entry " + Utf8(args[2]));
    Ask(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    Ask(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
}

}  // namespace e2e
