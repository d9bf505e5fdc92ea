#pragma once

#include <windows.h>

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

    // Delivers the window's messages until the port window is unloaded;
    // returns at once when it was never shown.
    int Run();

private:
    HWND DialogOwner() const;

    std::wstring appTitle_;
    UniqueHwnd runtimeWindow_;
    std::unique_ptr<Win32MainForm> mainForm_;
    MousePointer pointer_ = MousePointer::Default;
};

}  // namespace dovrel::win32
