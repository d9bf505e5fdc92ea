#include "platform/win32/form/InputPrompt.h"

#include <algorithm>

#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/form/DialogTemplate.h"
#include "platform/win32/system/Screen.h"
#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

struct PromptState {
    const std::wstring& prompt;
    const std::wstring& defaultText;
    std::wstring entered;
};

std::wstring ControlText(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

INT_PTR CALLBACK PromptProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto& state = *reinterpret_cast<PromptState*>(lParam);
        HWND edit = GetDlgItem(dialog, kEditId);
        SetDlgItemTextW(dialog, kPromptId, state.prompt.c_str());
        // No limit below the system's own: long names arrive whole.
        SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
        SetWindowTextW(edit, state.defaultText.c_str());
        SendMessageW(edit, EM_SETSEL, 0, -1);
        CenterOverOwner(dialog);
        SetFocus(edit);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
            // A text that does not fit in memory is reported, and the
            // prompt ends as if cancelled.
            const bool read = Guarded(false, [&] {
                state->entered = ControlText(GetDlgItem(dialog, kEditId));
                return true;
            });
            EndDialog(dialog, read ? IDOK : IDCANCEL);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

std::wstring ShowInputPrompt(HWND owner, const std::wstring& title, const std::wstring& prompt,
                             const std::wstring& defaultText)
{
    DialogTemplate box(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, title, 240, 86, 8, L"MS Shell Dlg");
    box.AddItem(DialogTemplate::kStatic, kPromptId, SS_LEFT | SS_NOPREFIX, 7, 7, 170, 44, L"");
    box.AddItem(DialogTemplate::kButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 183, 7, 50, 14, L"OK");
    box.AddItem(DialogTemplate::kButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 183, 25, 50, 14, L"Cancel");
    box.AddItem(DialogTemplate::kEdit, kEditId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 62, 226, 14, L"");

    PromptState state{prompt, defaultText, {}};
    const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.Get(), owner, PromptProcedure,
                                                   reinterpret_cast<LPARAM>(&state));
    if (answer == -1)
        ThrowLastError(L"DialogBoxIndirectParam (text prompt)");
    return answer == IDOK ? state.entered : std::wstring();
}

}  // namespace dovrel::win32
