#pragma once

#include "platform/SupportLibrary.h"

namespace dovrel::win32 {

class Win32FormServices final : public FormServices {
public:
    // A modal about box owned by the form's window and centred on it: the
    // form's icon, the application title, the FileVersion of the
    // program's version resource, the extra text when there is one, and the
    // dedication. OK, Enter and Esc close it.
    void ShowAbout(Form& form, FormsRuntime& app, const std::wstring& extra, const std::wstring& dedication) override;
    // Sends the button BM_CLICK, so that its parent is told of the click
    // exactly as after a click with the mouse.
    void PressButton(CommandButton& button) override;
};

}  // namespace dovrel::win32
