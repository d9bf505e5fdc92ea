#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FormsRuntime.h"
#include "platform/win32/form/MessageLoopWaits.h"
#include "platform/win32/form/ProgramIcons.h"
#include "platform/win32/form/Window.h"

namespace dovrel::win32 {

class Win32Form;

// The forms runtime on Win32: the hidden main window of the process, the
// program's form, the message loop with key preview and the dialog
// manager's keys and with the kernel objects it waits on, the screen's
// mouse pointer, the modal boxes and dialogs and the clipboard.
//
// Its members go in the reverse of their order: the form, then the hidden
// window, then the icons they show.
class Win32FormsRuntime final : public FormsRuntime, public MessageLoopWaits, private MessageHandler {
public:
    // What the program answers when its start fails.
    static constexpr int kStartFailed = 1;

    explicit Win32FormsRuntime(std::wstring appTitle);
    ~Win32FormsRuntime() override;
    Win32FormsRuntime(const Win32FormsRuntime&) = delete;
    Win32FormsRuntime& operator=(const Win32FormsRuntime&) = delete;

    // The runtime's own hidden top-level window.
    const Window& RuntimeWindow() const { return runtimeWindow_; }
    // The icons of the program's file, for its windows.
    ProgramIcons& Icons() { return icons_; }
    // The form was shown: the program has a window to go on with.
    bool FormShown() const;

    std::wstring AppTitle() const override { return appTitle_; }
    void InitCommonControls() override;
    FormControls& CreateForm(const FormDefinition& definition) override;
    void SetScreenMousePointer(MousePointer pointer) override;
    std::int32_t MsgBox(const std::wstring& text, std::int32_t style) override;
    std::wstring InputBox(const std::wstring& prompt, const std::wstring& defaultText) override;
    void SetClipboardText(const std::wstring& text) override;
    bool ShowSaveAs(const std::vector<FileType>& types, const std::wstring& fileName, SaveAsChoice& choice) override;

    void AddWait(HANDLE handle, std::function<void()> onSignalled) override;
    void RemoveWait(HANDLE handle) override;
    bool AwaitHandlingMessages(HANDLE handle) override;

    MousePointer ScreenMousePointer() const { return pointer_; }

    // Work to begin once the form first shows, before its first paint: it
    // then runs beside that paint rather than ahead of the window.
    void WhenFormFirstShown(std::function<void()> action) { onFirstShown_ = std::move(action); }
    // Called by the form as it first shows.
    void FormFirstShown();

    // Runs the program's start-up, which shows the form, then delivers the
    // form's messages until it is unloaded, and answers the program's exit
    // code. A start that fails is reported and answers kStartFailed, once
    // the form, when there was one, is gone.
    int RunProgram(const std::function<void()>& startUp);
    // The message loop alone; returns at once when the form was never shown.
    int Run();

private:
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND FormWindow() const;
    HWND DialogOwner() const;
    void Deliver(MSG& message);
    void WaitForMessageOrSignal();

    struct Wait {
        HANDLE handle;
        std::function<void()> onSignalled;
    };

    std::wstring appTitle_;
    MousePointer pointer_ = MousePointer::Default;
    ProgramIcons icons_;
    Window runtimeWindow_;
    std::unique_ptr<Win32Form> form_;
    std::vector<Wait> waits_;
    std::function<void()> onFirstShown_;
};

}  // namespace dovrel::win32
