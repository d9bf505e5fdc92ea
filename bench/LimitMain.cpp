// limit.exe: less than any port window does, for comparison with the start of
// Dovrel.exe: a bare window "Ports" of the port window's size with an
// owner-data list that asks the local spooler for its ports (EnumPortsA,
// level 2, the size call and the data call) and takes their count. Nothing
// is drawn in the list; the window appears before the spooler is asked.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"DovrelBenchLimit";

// The port window's client area, in twips.
constexpr int kClientWidth = 5475;
constexpr int kClientHeight = 2355;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int ScreenDpi()
{
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc)
        ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    if (!InitCommonControlsEx(&controls))
        return 1;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass))
        return 1;

    const int dpi = ScreenDpi();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    RECT frame = {0, 0, MulDiv(kClientWidth, dpi, 1440), MulDiv(kClientHeight, dpi, 1440)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND window = CreateWindowExW(0, kClassName, L"Ports", style, 100, 100, frame.right - frame.left,
                                        frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    RECT client = {};
    GetClientRect(window, &client);
    const HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                                      client.right, client.bottom, window, nullptr, instance, nullptr);
    if (!list)
        return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    DWORD needed = 0;
    DWORD count = 0;
    EnumPortsA(nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (!EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &count))
        return 1;
    SendMessageW(list, LVM_SETITEMCOUNT, count, 0);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
