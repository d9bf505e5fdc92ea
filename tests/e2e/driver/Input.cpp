#include "tests/e2e/driver/Input.h"

#include <cwctype>
#include <utility>

#include "tests/e2e/driver/RemoteList.h"
#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

namespace {

WORD VirtualKey(const std::wstring& name)
{
    static const struct {
        const wchar_t* name;
        WORD key;
    } kNames[] = {
        {L"esc", VK_ESCAPE},     {L"escape", VK_ESCAPE}, {L"enter", VK_RETURN},  {L"return", VK_RETURN},
        {L"tab", VK_TAB},        {L"space", VK_SPACE},   {L"delete", VK_DELETE}, {L"insert", VK_INSERT},
        {L"up", VK_UP},          {L"down", VK_DOWN},     {L"left", VK_LEFT},     {L"right", VK_RIGHT},
        {L"home", VK_HOME},      {L"end", VK_END},       {L"back", VK_BACK},     {L"apps", VK_APPS},
    };
    const std::wstring lower = Lower(name);
    for (const auto& entry : kNames) {
        if (lower == entry.name)
            return entry.key;
    }
    if (lower.size() >= 2 && lower[0] == L'f' && std::iswdigit(lower[1])) {
        const long n = ParseNumber(lower.substr(1), L"the function key number");
        if (n >= 1 && n <= 24)
            return static_cast<WORD>(VK_F1 + n - 1);
    }
    if (name.size() == 1 && std::iswalnum(name[0]))
        return static_cast<WORD>(std::towupper(name[0]));
    const long code = ParseNumber(name, L"the key");
    if (code <= 0 || code > 0xFE)
        throw UsageError(Utf8(L"no such virtual key: " + name));
    return static_cast<WORD>(code);
}

std::vector<WORD> Modifiers(const Args& names)
{
    std::vector<WORD> modifiers;
    for (const std::wstring& given : names) {
        const std::wstring name = Lower(given);
        if (name == L"shift")
            modifiers.push_back(VK_SHIFT);
        else if (name == L"ctrl" || name == L"control")
            modifiers.push_back(VK_CONTROL);
        else if (name == L"alt")
            modifiers.push_back(VK_MENU);
        else
            throw UsageError(Utf8(L"unknown modifier " + Quoted(given) + L" (shift, ctrl, alt)"));
    }
    return modifiers;
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return input;
}

// Absolute mouse coordinates run from 0 to 65535 across the primary
// monitor; rounded up, so that the system's conversion back lands on the
// pixel itself.
LONG Absolute(LONG pixel, int metric)
{
    const LONGLONG size = GetSystemMetrics(metric);
    return static_cast<LONG>((pixel * 65536LL + size - 1) / size);
}

bool Pushed(HWND button)
{
    return (Ask(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

// Also when the click closes the window: a button destroyed meanwhile
// counts as released. The short time-out keeps a query that meets the
// program's end from waiting long; a busy program is simply asked again.
bool Released(HWND button)
{
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutW(button, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 250, &state))
        return !IsWindow(button);
    return (state & BST_PUSHED) == 0;
}

void Send(std::vector<INPUT> inputs)
{
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw Failure("SendInput failed, error " + std::to_string(GetLastError()));
}

}  // namespace

void BringToFront(HWND window)
{
    SetForegroundWindow(window);
    const bool front = Poll(2000, [&] { return GetForegroundWindow() == window; });
    if (!front)
        throw Failure(Utf8(L"cannot bring " + Quoted(WindowText(window)) + L" to the front; the foreground is " +
                           Quoted(WindowText(GetForegroundWindow()))));
}

void PressButton(HWND window, const std::wstring& caption)
{
    HWND button = Button(window, caption);
    if (!IsWindowEnabled(button))
        throw Failure(Utf8(L"the button " + Quoted(caption) + L" is disabled"));
    PostMessageW(button, BM_CLICK, 0, 0);
}

void Click(const Args& args)
{
    PressButton(WindowArgument(args, 1), args[0]);
}

void Key(const Args& args)
{
    const WORD key = VirtualKey(args[0]);
    const std::vector<WORD> modifiers = Modifiers(Args(args.begin() + 1, args.end()));
    BringToFront(MainWindow());
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
        inputs.push_back(KeyInput(*modifier, true));
    Send(std::move(inputs));
}

// The press is sent once the pointer is on the button, the release once the
// button shows the press; the polls of its state are round trips that the
// program answers only between messages, so when the button no longer
// shows pressed, the release and the click it makes have been handled (or
// the click has opened a modal window, whose loop answers).
void MouseClick(const Args& args)
{
    HWND window = WindowArgument(args, 1);
    HWND button = Button(window, args[0]);
    if (!IsWindowEnabled(button))
        throw Failure(Utf8(L"the button " + Quoted(args[0]) + L" is disabled"));
    BringToFront(window);
    RECT rect{};
    GetWindowRect(button, &rect);
    const POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Absolute(centre.x, SM_CXSCREEN),
                     Absolute(centre.y, SM_CYSCREEN)),
          MouseInput(MOUSEEVENTF_LEFTDOWN)});
    if (!Poll(2000, [&] { return Pushed(button); }))
        throw Failure(Utf8(L"the button " + Quoted(args[0]) + L" did not take the press at " +
                           std::to_wstring(centre.x) + L"," + std::to_wstring(centre.y) + L"; the window there is " +
                           Quoted(WindowText(WindowFromPoint(centre)))));
    Send({MouseInput(MOUSEEVENTF_LEFTUP)});
    if (!Poll(kDefaultWaitMs, [&] { return Released(button); }))
        throw Failure(Utf8(L"the button " + Quoted(args[0]) + L" still shows pressed after the release"));
}

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
    Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Absolute(centre.x, SM_CXSCREEN),
                     Absolute(centre.y, SM_CYSCREEN)),
          MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP)});
}

}  // namespace e2e
