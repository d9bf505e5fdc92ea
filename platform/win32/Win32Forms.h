#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/FormsRuntime.h"
#include "platform/win32/UniqueHandle.h"

namespace dovrel::win32 {

class Win32MainForm;

// The forms runtime on Win32: the hidden main window of the process, the
// port window, the message loop with key preview and the dialog manager's
// keys, the screen's mouse pointer and the modal boxes.
class Win32Forms final : public FormsRuntime {
public:
    explicit Win32Forms(std::wstring appTitle);
    ~Win32Forms() override;
    Win32Forms(const Win32Forms&) = delete;
    Win32Forms& operator=(const Win32Forms&) = delete;

    // The runtime's own hidden top-level window.
    HWND RuntimeMainWindow() const { return runtimeWindow_.Get(); }
    // The port window, once made and until it is gone; null otherwise.
    HWND MainFormWindow() const;
    // The port window was shown: the program has a window to go on with.
    bool MainFormShown() const;

    std::wstring AppTitle() const override { return appTitle_; }
    void InitCommonControls() override;
    MainFormControls CreateMainForm() override;
    void SetScreenMousePointer(MousePointer pointer) override;
    std::int32_t MsgBox(const std::wstring& text, std::int32_t style) override;
    std::wstring InputBox(const std::wstring& prompt, const std::wstring& defaultText) override;

    MousePointer ScreenMousePointer() const { return pointer_; }

    // Runs the program's start-up, which shows the port window, then
    // delivers the window's messages until it is unloaded, and answers the
    // program's exit code. A start that fails is reported and answers 1,
    // once the port window, when there was one, is gone.
    int RunProgram(const std::function<void()>& startUp);
    // The message loop alone; returns at once when the window was never shown.
    int Run();

private:
    HWND DialogOwner() const;

    std::wstring appTitle_;
    UniqueHwnd runtimeWindow_;
    std::unique_ptr<Win32MainForm> mainForm_;
    MousePointer pointer_ = MousePointer::Default;
};

}  // namespace dovrel::win32
