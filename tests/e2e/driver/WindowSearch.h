#pragma once
// Finding the windows of the program and of others, waiting for them, and
// the commands that look at or act on whole windows.
#include "tests/e2e/driver/Common.h"

namespace e2e {

// For a window of another process these read the text Windows keeps for it
// without asking the window, so a busy program cannot hold the driver up.
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
bool HasClass(HWND window, const wchar_t* className);
// A caption as a person reads it: without the ampersands that mark access keys.
std::wstring Shown(std::wstring caption);
// The window's text as the control itself answers it: an edit keeps what
// was typed only there.
std::wstring ControlText(HWND control);
std::wstring OwnerCaption(HWND window);

struct TopWindow {
    HWND handle;
    std::wstring caption;
};
std::vector<TopWindow> VisibleTopWindows();
std::wstring DescribeVisibleWindows();
// The first visible top-level window whose caption is the text (exact) or
// contains it in any case.
HWND FindTopWindow(const std::wstring& text, bool exact);
HWND WaitTopWindow(const std::wstring& text, bool exact, DWORD ms);
// The window titled MainTitle().
HWND MainWindow(DWORD ms = 2000);
// WINDOW as the commands take it: the window whose caption contains it, or
// "Ports" when it is not given.
HWND WindowArgument(const Args& args, size_t index);

std::vector<HWND> Descendants(HWND parent);
HWND FindChild(HWND parent, const std::wstring& className, const std::wstring* caption = nullptr);
HWND MainList(HWND ports);
HWND Button(HWND window, const std::wstring& caption);

// SendMessageTimeout that fails when the window does not answer in time.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void PrintRect(HWND window);

void WaitWindow(const Args& args);
void WaitGone(const Args& args);
void FindWindowCommand(const Args& args);
void WaitNoWindow(const Args& args);
void CloseWindowCommand(const Args& args);
void CloseBox(const Args& args);
void EndProcess(const Args& args);
void Windows(const Args& args);
void WindowRect(const Args& args);
void WindowStyle(const Args& args);
void Move(const Args& args);
void DpiChanged(const Args& args);
void ButtonSize(const Args& args);
void Controls(const Args& args);
void EditText(const Args& args);
void Paint(const Args& args);

}  // namespace e2e
