#include "tests/e2e/driver/Input.h"

#include <cwctype>
#include <utility>

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

}  // namespace e2e
