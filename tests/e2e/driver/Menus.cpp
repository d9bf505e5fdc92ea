#include "tests/e2e/driver/Menus.h"

#include "tests/e2e/driver/Input.h"
#include "tests/e2e/driver/RemoteList.h"
#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

namespace {

constexpr wchar_t kMenuClass[] = L"#32768";

HWND VisibleMenu()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) -> BOOL {
            if (IsWindowVisible(window) && HasClass(window, kMenuClass)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = x;
    input.mi.dy = y;
    if (SendInput(1, &input, sizeof input) != 1)
        throw Failure("SendInput failed, error " + std::to_string(GetLastError()));
}

LONG Absolute(LONG pixel, int metric)
{
    const LONGLONG size = GetSystemMetrics(metric);
    return static_cast<LONG>((pixel * 65536LL + size - 1) / size);
}

std::wstring ItemLine(HMENU menu, UINT position)
{
    wchar_t text[256] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 255;
    if (!GetMenuItemInfoW(menu, position, TRUE, &item))
        throw Failure("GetMenuItemInfo failed for item " + std::to_string(position) + ", error " +
                      std::to_string(GetLastError()));
    if (item.fType & MFT_SEPARATOR)
        return L"separator";
    std::wstring line = L"item: " + Escaped(text) + ((item.fState & MFS_DISABLED) ? L"\tdisabled" : L"\tenabled");
    if (item.fState & MFS_DEFAULT)
        line += L"\tdefault";
    return line;
}

}  // namespace

// A real click of the right mouse button on row N's name, or with "below"
// on the empty space below the last row: the pointer is moved there, the
// button pressed and released (SendInput). The menu it opens is modal, so
// this returns at once.
void RightClickRow(const Args& args)
{
    HWND window = MainWindow();
    HWND listWindow = MainList(window);
    RemoteList list(listWindow);
    const bool below = args[0] == L"below";
    const int row = below ? list.RowCount() - 1 : static_cast<int>(ParseNumber(args[0], L"the row"));
    RECT rect = list.RowRect(row);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (below)
        centre.y += 2 * (rect.bottom - rect.top);
    ClientToScreen(listWindow, &centre);
    BringToFront(window);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Absolute(centre.x, SM_CXSCREEN), Absolute(centre.y, SM_CYSCREEN));
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
}

// Waits for a pop-up menu on the screen; prints where it is and, where the
// system lets another process read them, one line per item: its text,
// enabled or disabled, default.
void Menu(const Args& args)
{
    HWND menuWindow = Poll(WaitArgument(args, 0), [] { return VisibleMenu(); });
    if (!menuWindow)
        throw Failure(Utf8(L"no pop-up menu is open; " + DescribeVisibleWindows()));
    const auto menu = reinterpret_cast<HMENU>(Ask(menuWindow, MN_GETHMENU, 0, 0));
    if (!menu)
        throw Failure("the menu window gives no menu");
    RECT rect{};
    GetWindowRect(menuWindow, &rect);
    Print(L"at: " + std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top));
    const int count = GetMenuItemCount(menu);
    // Wine keeps a menu's items to the process that made it.
    if (count <= 0)
        Print(L"items: not readable from another process");
    for (int position = 0; position < count; ++position)
        Print(ItemLine(menu, static_cast<UINT>(position)));
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
