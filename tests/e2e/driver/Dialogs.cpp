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

// Which of the system's message box icons the static control shows, told by
// its pixels on the screen: icon handles mean nothing in another process.
std::wstring IconShown(HWND control)
{
    if (!Ask(control, STM_GETICON, 0, 0))
        return L"none";
    RECT rect{};
    GetWindowRect(control, &rect);
    const int size = GetSystemMetrics(SM_CXICON);
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
    return L"other";
}

}  // namespace

HWND WaitDialog(const std::wstring& title, DWORD ms)
{
    const auto ready = [&]() -> HWND {
        HWND window = FindTopWindow(title, true);
        if (!window)
            return nullptr;
        for (HWND child : Descendants(window)) {
            if (HasClass(child, WC_BUTTONW) && IsWindowVisible(child))
                return window;
        }
        return nullptr;
    };
    HWND dialog = Poll(ms, ready);
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

void Dialog(const Args& args)
{
    HWND dialog = WaitDialog(args[0], WaitArgument(args, 1));
    Print(L"caption: " + WindowText(dialog));
    Print(L"owner: " + OwnerCaption(dialog));
    const LRESULT defaultId = Ask(dialog, DM_GETDEFID, 0, 0);
    Print(L"default: " + (HIWORD(defaultId) == DC_HASDEFID ? std::to_wstring(LOWORD(defaultId)) : L"none"));
    for (HWND child : Descendants(dialog)) {
        if (!IsWindowVisible(child))
            continue;
        const std::wstring className = ClassOf(child);
        std::wstring detail;
        if (HasClass(child, WC_EDITW)) {
            const LRESULT selection = Ask(child, EM_GETSEL, 0, 0);
            detail = L"selected " + std::to_wstring(LOWORD(selection)) + L" " + std::to_wstring(HIWORD(selection));
        } else if (HasClass(child, WC_STATICW) && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            detail = L"icon " + IconShown(child);
        }
        Print(L"control: " + std::to_wstring(GetDlgCtrlID(child)) + L"\t" + className + L"\t" +
              Escaped(ControlText(child)) + L"\t" + detail);
    }
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

}  // namespace e2e
