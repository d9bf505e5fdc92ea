#pragma once

#include <windows.h>

#include "platform/SupportLibrary.h"

namespace dovrel::win32 {

class Win32FormsRuntime;

// The support library of the program, on Win32.
class Win32SupportLibrary final : public SupportLibrary {
public:
    // The runtime's hidden main window and icons stay the runtime's; this
    // object only hands them out.
    explicit Win32SupportLibrary(Win32FormsRuntime& runtime);

    // Registers the running program under HKCU's App Paths as "Dovrel.exe",
    // so that Start > Run and ShellExecute find it by that name. Values that
    // already hold the right text are left alone; returns how many values
    // were written.
    long RegisterAppPath() override;
    // Always false: Dovrel only ever runs as the compiled Dovrel.exe that
    // Windows starts. No development environment hosts its code, so there
    // is nothing to detect.
    bool IsInDesignEnvironment() override;
    WindowHandle GetRuntimeMainWindow() override;
    // Sets both the big (Alt+Tab) and the small (caption, taskbar) icon of
    // the window from the icon group of that name in the program's file.
    // The icons are the runtime's, which keeps them until its windows are gone.
    void SetWindowIconFromResource(WindowHandle window, const std::wstring& resourceName) override;
    // Gives the program's own top-level windows of this thread
    // WS_CLIPCHILDREN, so that a window does not paint its background over
    // its controls when it is resized, which makes the list and the buttons
    // flicker. Windows of system classes (dialogs and the like) are left as
    // they are. Returns how many windows were changed.
    long FixContainerWindows() override;
    // Centres the window on the work area of the monitor that holds most of
    // it, keeping its size, z-order and activation. A window larger than the
    // work area is aligned to its top left corner instead.
    long CenterForm(WindowHandle window, std::int32_t flags) override;
    // Opens ReadMe.txt from the program's folder in the program the system
    // associates with text files, or in Notepad when there is none; when
    // the program runs elevated, in the system folder's Notepad.
    long OpenReadMe(std::int32_t flags) override;

    std::wstring StringFromAnsiPointer(const char* address) override;
    std::wstring CutRight(const std::wstring& text, std::int32_t count) override;
    std::wstring ErrorText(std::uint32_t error) override;

    bool CanStartAsAdministrator() override;
    // ShellExecuteEx with the verb "runas" on the program's file.
    std::uint32_t StartAsAdministrator(WindowHandle owner) override;
    std::uint32_t StartForServer(const std::wstring& server) override;

    // Into a new file beside it first, put in its place once whole.
    bool SaveFile(const std::wstring& path, const std::string& bytes, std::wstring& reason) override;

    std::unique_ptr<PlacementStore> CreatePlacementStore() override;
    std::unique_ptr<FormServices> CreateFormServices() override;

private:
    Win32FormsRuntime& runtime_;
};

}  // namespace dovrel::win32
