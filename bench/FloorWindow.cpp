#include "bench/FloorWindow.h"

#include <commctrl.h>
#include <winspool.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/frmMainDesign.h"

namespace dovrel::bench {

namespace {

constexpr wchar_t kClassName[] = L"DovrelBenchFloor";

// The port window's client area and list, in twips.
constexpr int kClientWidth = 5475;
constexpr int kClientHeight = 2355;
constexpr int kListLeft = 120;
constexpr int kListTop = 120;
constexpr int kListWidth = 3795;
constexpr int kListHeight = 2115;

int ScreenDpi()
{
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc)
        ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

int ToPixels(int twips, int dpi)
{
    return MulDiv(twips, dpi, 1440);
}

std::wstring Wide(const char* text)
{
    if (!text || !*text)
        return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), size);
    result.resize(result.size() - 1);
    return result;
}

std::wstring TypeText(DWORD type)
{
    std::wstring text;
    const wchar_t* pieces[] = {L"Write, ", L"Read, ", L"Redirected, ", L"Net attached, "};
    for (int bit = 0; bit < 4; ++bit)
        if (type & (1u << bit))
            text += pieces[bit];
    if (text.size() >= 2)
        text.resize(text.size() - 2);
    return text.empty() ? L"Unknown" : text;
}

// Wine's LVM_SORTITEMSEX hands the callback indexes that no longer match
// the items while it sorts, and leaves the list unsorted; the item's own
// value, an index into the names, gives the same order everywhere.
int CALLBACK CompareNames(LPARAM first, LPARAM second, LPARAM namesAddress)
{
    const auto& names = *reinterpret_cast<const std::vector<std::wstring>*>(namesAddress);
    const std::wstring& a = names[static_cast<size_t>(first)];
    const std::wstring& b = names[static_cast<size_t>(second)];
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

void SetCell(HWND list, int row, int column, std::wstring text)
{
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

FloorWindow::FloorWindow(const wchar_t* title, Dress dress)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("RegisterClassEx failed");

    const int dpi = ScreenDpi();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    RECT frame = {0, 0, ToPixels(kClientWidth, dpi), ToPixels(kClientHeight, dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_.Reset(CreateWindowExW(0, kClassName, title, style, 100, 100, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!window_)
        throw std::runtime_error("CreateWindowEx (floor window) failed");

    list_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                            ToPixels(kListLeft, dpi), ToPixels(kListTop, dpi), ToPixels(kListWidth, dpi),
                            ToPixels(kListHeight, dpi), window_.Get(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!list_)
        throw std::runtime_error("CreateWindowEx (floor list) failed");
    font_.Reset(CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            L"Tahoma"));
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    const DWORD exStyle = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP;
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, exStyle, exStyle);

    int index = 0;
    for (const wchar_t* title : {L"Name", L"Monitor", L"Description", L"Type"}) {
        std::wstring text = title;
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.cx = dpi;
        column.pszText = text.data();
        column.iSubItem = index;
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
        ++index;
    }
    if (dress == Dress::PortWindow)
        AddDress(dpi);
}

// The buttons as the port window's design places them, in its tab order
// after the list, and the icon A_MAIN of the program's resources, which the
// dressed floor carries too.
void FloorWindow::AddDress(int dpi)
{
    std::vector<const ControlDefinition*> buttons;
    for (const ControlDefinition& control : frmMainDesign().controls)
        if (control.kind == ControlKind::CommandButton)
            buttons.push_back(&control);
    std::sort(buttons.begin(), buttons.end(),
              [](const ControlDefinition* a, const ControlDefinition* b) { return a->tabIndex < b->tabIndex; });
    for (const ControlDefinition* button : buttons) {
        const HWND made = CreateWindowExW(
            0, WC_BUTTONW, button->caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
            ToPixels(static_cast<int>(button->left), dpi), ToPixels(static_cast<int>(button->top), dpi),
            ToPixels(static_cast<int>(button->width), dpi), ToPixels(static_cast<int>(button->height), dpi),
            window_.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(button->id)), GetModuleHandleW(nullptr),
            nullptr);
        if (!made)
            throw std::runtime_error("CreateWindowEx (floor button) failed");
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    }

    const auto icon = [](int widthMetric, int heightMetric) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"A_MAIN", IMAGE_ICON,
                                             GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
    };
    bigIcon_.Reset(icon(SM_CXICON, SM_CYICON));
    smallIcon_.Reset(icon(SM_CXSMICON, SM_CYSMICON));
    if (!bigIcon_ || !smallIcon_)
        throw std::runtime_error("LoadImage (A_MAIN) failed");
    SendMessageW(window_.Get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageW(window_.Get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

void FloorWindow::Show()
{
    ShowWindow(window_.Get(), SW_SHOW);
    SetForegroundWindow(window_.Get());
    SetFocus(list_);
    UpdateWindow(window_.Get());
}

void FloorWindow::Fill(const std::uint8_t* records, std::size_t count)
{
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    const auto* ports = reinterpret_cast<const PORT_INFO_2A*>(records);
    std::vector<std::wstring> names(count);
    for (std::size_t i = 0; i < count; ++i) {
        names[i] = Wide(ports[i].pPortName);
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = names[i].data();
        item.lParam = static_cast<LPARAM>(i);
        const int row = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        SetCell(list_, row, 1, Wide(ports[i].pMonitorName));
        SetCell(list_, row, 2, Wide(ports[i].pDescription));
        SetCell(list_, row, 3, TypeText(ports[i].fPortType));
    }
    SendMessageW(list_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&names), reinterpret_cast<LPARAM>(CompareNames));
    for (int column = 0; column < 4; ++column)
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE_USEHEADER);
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list_, LVM_ENSUREVISIBLE, 0, FALSE);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

LRESULT CALLBACK FloorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace dovrel::bench
