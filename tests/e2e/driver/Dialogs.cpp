#include "tests/e2e/driver/Dialogs.h"

#include <commctrl.h>

#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

namespace {

// The pixels that draw paints on a square bitmap, without the alpha byte.
template <typename Draw>
std::vector<DWORD> SquarePixels(int size, Draw draw)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !bitmap || !bits) {
        DeleteObject(bitmap);
        DeleteDC(dc);
        throw Failure("cannot make a bitmap to compare icons");
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + size * size);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// Which of the system's message box icons the static control shows on the
// screen, or null while it shows none of them.
const wchar_t* KnownIconOnScreen(HWND control, int size)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    const auto shown = SquarePixels(size, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, size, size, screen, rect.left, rect.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
    // The corners of these icons are transparent: the box's own colour.
    const COLORREF background = RGB(GetBValue(shown[0]), GetGValue(shown[0]), GetRValue(shown[0]));
    static const struct {
        const wchar_t* id;
        const wchar_t* name;
    } kIcons[] = {
        {IDI_EXCLAMATION, L"exclamation"},
        {IDI_HAND, L"stop"},
        {IDI_QUESTION, L"question"},
        {IDI_ASTERISK, L"information"},
    };
    for (const auto& icon : kIcons) {
        const auto drawn = SquarePixels(size, [&](HDC dc) {
            HBRUSH brush = CreateSolidBrush(background);
            const RECT all{0, 0, size, size};
            FillRect(dc, &all, brush);
            DeleteObject(brush);
            DrawIconEx(dc, 0, 0, LoadIconW(nullptr, icon.id), size, size, 0, nullptr, DI_NORMAL);
        });
        if (drawn == shown)
            return icon.name;
    }
    return nullptr;
}

// Which of the system's message box icons the static control shows, told by
// its pixels on the screen: icon handles mean nothing in another process.
// A box is visible, with its buttons, before it has painted, and then the
// screen still shows what was under it; so the pixels are read until they
// are one of the icons, for up to two seconds, and only then called "other".
std::wstring IconShown(HWND control)
{
    if (!Ask(control, STM_GETICON, 0, 0))
        return L"none";
    const int size = GetSystemMetrics(SM_CXICON);
    const wchar_t* known = Poll(2000, [&] { return KnownIconOnScreen(control, size); });
    return known ? known : L"other";
}

}  // namespace

HWND ReadyDialog(const std::wstring& title)
{
    HWND window = FindTopWindow(title, true);
    if (!window)
        return nullptr;
    for (HWND child : Descendants(window)) {
        if (HasClass(child, WC_BUTTONW) && IsWindowVisible(child))
            return window;
    }
    return nullptr;
}

HWND WaitDialog(const std::wstring& title, DWORD ms)
{
    HWND dialog = Poll(ms, [&] { return ReadyDialog(title); });
    if (!dialog)
        throw Failure(Utf8(L"no dialog titled " + Quoted(title) + L" ready after " + std::to_wstring(ms) +
                           L" ms; " + DescribeVisibleWindows()));
    return dialog;
}

std::wstring StaticTexts(HWND dialog)
{
    std::wstring texts;
    for (HWND child : Descendants(dialog)) {
        if (HasClass(child, WC_STATICW)) {
            const std::wstring text = Escaped(ControlText(child));
            if (!text.empty())
                texts += (texts.empty() ? L"" : L" | ") + text;
        }
    }
    return Quoted(texts);
}

namespace {

// What the dialog command prints; fails when the dialog closes meanwhile.
std::vector<std::wstring> DialogLines(HWND dialog)
{
    std::vector<std::wstring> lines;
    lines.push_back(L"caption: " + WindowText(dialog));
    lines.push_back(L"owner: " + OwnerCaption(dialog));
    const LRESULT defaultId = Ask(dialog, DM_GETDEFID, 0, 0);
    lines.push_back(L"default: " +
                    (HIWORD(defaultId) == DC_HASDEFID ? std::to_wstring(LOWORD(defaultId)) : L"none"));
    for (HWND child : Descendants(dialog)) {
        if (!IsWindowVisible(child))
            continue;
        std::wstring detail;
        if (HasClass(child, WC_EDITW)) {
            const LRESULT selection = Ask(child, EM_GETSEL, 0, 0);
            detail = L"selected " + std::to_wstring(LOWORD(selection)) + L" " + std::to_wstring(HIWORD(selection));
        } else if (HasClass(child, WC_STATICW) && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            detail = L"icon " + IconShown(child);
        }
        lines.push_back(L"control: " + std::to_wstring(GetDlgCtrlID(child)) + L"\t" + ClassOf(child) + L"\t" +
                        Escaped(ControlText(child)) + L"\t" + detail);
    }
    return lines;
}

bool AnyContains(const std::vector<std::wstring>& lines, const std::wstring& text)
{
    for (const auto& line : lines) {
        if (line.find(text) != std::wstring::npos)
            return true;
    }
    return false;
}

}  // namespace

// The program's boxes share one title, and the next may open while the last
// is still closing: a read that meets a closing dialog is tried again, and
// with a text the command waits for the dialog that shows it.
void Dialog(const Args& args)
{
    const DWORD ms = WaitArgument(args, 1);
    const std::wstring text = args.size() > 2 ? args[2] : L"";
    std::vector<std::wstring> lines;
    const bool read = Poll(ms, [&] {
        HWND dialog = ReadyDialog(args[0]);
        if (!dialog)
            return false;
        try {
            lines = DialogLines(dialog);
        } catch (const Failure&) {
            lines.clear();
            return false;
        }
        return text.empty() || AnyContains(lines, text);
    });
    if (!read && lines.empty())
        throw Failure(Utf8(L"no dialog titled " + Quoted(args[0]) + L" ready after " + std::to_wstring(ms) +
                           L" ms; " + DescribeVisibleWindows()));
    if (!read) {
        std::wstring shown;
        for (const auto& line : lines)
            shown += L"\n  " + line;
        throw Failure(Utf8(L"no dialog titled " + Quoted(args[0]) + L" showing " + Quoted(text) + L" after " +
                           std::to_wstring(ms) + L" ms; the last one read:" + shown));
    }
    for (const auto& line : lines)
        Print(line);
}

// The counterpart of dialog with a text: the box that showed it has closed,
// even when the next box of the same title has opened meanwhile.
void DialogGone(const Args& args)
{
    const DWORD ms = WaitArgument(args, 2);
    const bool gone = Poll(ms, [&] {
        HWND dialog = ReadyDialog(args[0]);
        if (!dialog)
            return true;
        try {
            return !AnyContains(DialogLines(dialog), args[1]);
        } catch (const Failure&) {
            return false;
        }
    });
    if (!gone)
        throw Failure(Utf8(L"a dialog titled " + Quoted(args[0]) + L" still shows " + Quoted(args[1]) + L" after " +
                           std::to_wstring(ms) + L" ms"));
}

void SetText(const Args& args)
{
    HWND dialog = WaitDialog(args[0], 2000);
    const long id = ParseNumber(args[1], L"the control id");
    HWND control = GetDlgItem(dialog, static_cast<int>(id));
    if (!control)
        throw Failure(Utf8(L"the window " + Quoted(args[0]) + L" has no control " + args[1]));
    if (!Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str())))
        throw Failure(Utf8(L"control " + args[1] + L" of " + Quoted(args[0]) + L" refused the text"));
}

namespace {

// A visible top-level window owned by the given one, or null.
HWND VisibleWindowOwnedBy(HWND owner)
{
    for (const auto& window : VisibleTopWindows()) {
        if (GetWindow(window.handle, GW_OWNER) == owner)
            return window.handle;
    }
    return nullptr;
}

}  // namespace

// A port monitor's dialog, whatever language it speaks: a ready dialog owned
// by "Ports" that is not one of the program's own boxes.
void OwnedDialog(const Args& args)
{
    const DWORD ms = WaitArgument(args, 0);
    HWND ports = MainWindow();
    const auto find = [&]() -> HWND {
        for (const auto& window : VisibleTopWindows()) {
            if (HasClass(window.handle, L"#32770") && GetWindow(window.handle, GW_OWNER) == ports &&
                window.caption != kProgramTitle && ReadyDialog(window.caption) == window.handle)
                return window.handle;
        }
        return nullptr;
    };
    HWND dialog = Poll(ms, find);
    if (!dialog)
        throw Failure(Utf8(L"no dialog owned by " + Quoted(MainTitle()) + L" other than the program's boxes after " +
                           std::to_wstring(ms) + L" ms; " + DescribeVisibleWindows()));
    Print(L"caption: " + WindowText(dialog));
    Print(L"owner: " + OwnerCaption(dialog));
}

// A dialog that may refuse what it was given keeps itself open under a box
// of its own: either outcome ends the wait.
void WaitClose(const Args& args)
{
    const DWORD ms = WaitArgument(args, 1);
    HWND dialog = FindTopWindow(args[0], true);
    HWND box = nullptr;
    const bool ended = Poll(ms, [&] {
        if (!dialog || !IsWindow(dialog) || !IsWindowVisible(dialog))
            return true;
        box = VisibleWindowOwnedBy(dialog);
        return box != nullptr;
    });
    if (!ended)
        throw Failure(Utf8(L"the window " + Quoted(args[0]) + L" is still open after " + std::to_wstring(ms) +
                           L" ms, with no box over it"));
    Print(box ? L"box: " + WindowText(box) : L"closed");
}

// In the user's language, without its line break, escaped as "dialog"
// prints a control's text.
void SystemText(const Args& args)
{
    const auto code = static_cast<DWORD>(ParseNumber(args[0], L"the error code"));
    wchar_t buffer[1024] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, ARRAYSIZE(buffer), nullptr);
    std::wstring text(buffer, length);
    text.erase(text.find_last_not_of(L"\r\n ") + 1);
    if (text.empty())
        throw Failure("the system has no text for error " + std::to_string(code));
    Print(Escaped(text));
}

void ComputerName(const Args&)
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = ARRAYSIZE(name);
    if (!GetComputerNameW(name, &length))
        throw Failure("GetComputerName failed: " + std::to_string(GetLastError()));
    Print(std::wstring(name, length));
}

}  // namespace e2e
