#pragma once

#include <memory>
#include <string>

#include "platform/FormsRuntime.h"
#include "platform/Types.h"

namespace dovrel {

// Stores and restores a form's placement under a name.
class PlacementStore {
public:
    virtual ~PlacementStore() = default;
    // True when a usable placement stored under these names was applied to
    // the form; false when nothing was applied.
    virtual bool LoadPlacement(const std::wstring& section, const std::wstring& name, Form& form,
                               FormsRuntime& app, std::int32_t a, std::int32_t b, std::int32_t c,
                               Truth restoreState) = 0;
    virtual void SavePlacement(const std::wstring& section, const std::wstring& name, Form& form,
                               FormsRuntime& app, Truth saveState) = 0;
};

class FormServices {
public:
    virtual ~FormServices() = default;
    // The about box of the program for this form; returns once it is closed.
    virtual void ShowAbout(Form& form, FormsRuntime& app, const std::wstring& extra,
                           const std::wstring& dedication) = 0;
    // Runs the button's click as a user's click would.
    virtual void PressButton(CommandButton& button) = 0;
};

// The operations of the support library. Every one raises dovrel::Error when
// it fails; results that the program ignores are still returned.
class SupportLibrary {
public:
    virtual ~SupportLibrary() = default;
    virtual long RegisterAppPath() = 0;
    virtual bool IsInDesignEnvironment() = 0;
    virtual WindowHandle GetRuntimeMainWindow() = 0;
    virtual void SetWindowIconFromResource(WindowHandle window, const std::wstring& resourceName) = 0;
    virtual long FixContainerWindows() = 0;
    virtual long CenterForm(WindowHandle window, std::int32_t flags) = 0;
    virtual long OpenReadMe(std::int32_t flags) = 0;

    // The two text functions: the NUL-terminated ANSI string at an address
    // (the empty text for a null address), and a text without its last n
    // characters.
    virtual std::wstring StringFromAnsiPointer(const char* address) = 0;
    virtual std::wstring CutRight(const std::wstring& text, std::int32_t count) = 0;
    // The system's text for one of its error codes, in the user's language,
    // without a trailing line break.
    virtual std::wstring ErrorText(std::uint32_t error) = 0;

    // Whether the program runs without an administrator's rights on a system
    // whose UAC gives them to a program started anew as administrator.
    virtual bool CanStartAsAdministrator() = 0;
    // Starts the program's file again as administrator, with the arguments
    // this instance was started with; the system asks the user first, in a
    // window owned by `owner`. 0 once the new instance has started,
    // otherwise the system's error code (kErrorCancelled when the user
    // refused or cancelled the system's question).
    virtual std::uint32_t StartAsAdministrator(WindowHandle owner) = 0;
    // Starts the program's file again, for the print server named
    // ("\\name"); this instance goes on. 0 once the new instance has
    // started, otherwise the system's error code.
    virtual std::uint32_t StartForServer(const std::wstring& server) = 0;

    // Writes the bytes as the whole of the file at `path`, replacing a file
    // that is there only once every byte is written. False, with the
    // system's reason, when it cannot; a file that was there is then left
    // as it was.
    virtual bool SaveFile(const std::wstring& path, const std::string& bytes, std::wstring& reason) = 0;

    virtual std::unique_ptr<PlacementStore> CreatePlacementStore() = 0;
    virtual std::unique_ptr<FormServices> CreateFormServices() = 0;
};

}  // namespace dovrel
