#include "platform/win32/form/Win32FormServices.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "platform/Error.h"
#include "platform/win32/form/DialogTemplate.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/system/UniqueHandle.h"
#include "platform/win32/system/LastError.h"
#include "platform/win32/system/Folders.h"
#include "platform/win32/system/Screen.h"
#include "platform/win32/form/Window.h"

namespace dovrel::win32 {

namespace {

enum AboutControl : WORD {
    kIdIcon = 100,
    kIdTitle,
    kIdVersion,
    kIdExtra,
    kIdDedication,
};

// The FileVersion string of the program's version resource, in the first
// language that the resource lists.
std::wstring ProgramFileVersion()
{
    const SystemLibrary library(L"version.dll");
    const auto GetFileVersionInfoSizeW = library.Get<decltype(&::GetFileVersionInfoSizeW)>("GetFileVersionInfoSizeW");
    const auto GetFileVersionInfoW = library.Get<decltype(&::GetFileVersionInfoW)>("GetFileVersionInfoW");
    const auto VerQueryValueW = library.Get<decltype(&::VerQueryValueW)>("VerQueryValueW");

    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        ThrowLastError(L"GetFileVersionInfoSize");
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        ThrowLastError(L"GetFileVersionInfo");

    struct Translation {
        WORD language;
        WORD codePage;
    };
    wchar_t block[9] = L"040904B0";
    void* translations = nullptr;
    UINT bytes = 0;
    if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &translations, &bytes) &&
        bytes >= sizeof(Translation)) {
        const auto* first = static_cast<const Translation*>(translations);
        std::swprintf(block, 9, L"%04X%04X", first->language, first->codePage);
    }
    void* text = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\") + block + L"\\FileVersion";
    if (!VerQueryValueW(data.data(), query.c_str(), &text, &length) || length == 0)
        throw Error(kErrSystem, L"The program's file carries no version number.");
    // The length counts the terminator when the resource stores one.
    std::wstring version(static_cast<const wchar_t*>(text), length);
    version.resize(std::min(version.find(L'\0'), version.size()));
    return version;
}

// What the open about box needs beyond its template; it lives on the stack
// of ShowAbout while the box is open.
struct AboutBox {
    Borrowed<HICON> icon;  // the form's, or the system's shared one
    UniqueFont titleFont;

    // Only looks are settled here; a failure leaves the box usable, as it is.
    void Initialize(HWND dialog) noexcept
    {
        SendDlgItemMessageW(dialog, kIdIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
        EmboldenTitle(dialog);
        CenterOverOwner(dialog);
    }

    void EmboldenTitle(HWND dialog) noexcept
    {
        LOGFONTW font = {};
        const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
        if (!dialogFont || GetObjectW(dialogFont, sizeof(font), &font) != sizeof(font))
            return;
        font.lfWeight = FW_BOLD;
        titleFont.Reset(CreateFontIndirectW(&font));
        if (titleFont)
            SendDlgItemMessageW(dialog, kIdTitle, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont.Get()), FALSE);
    }
};

INT_PTR CALLBACK AboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    switch (message) {
    case WM_INITDIALOG:
        reinterpret_cast<AboutBox*>(lParam)->Initialize(dialog);
        return TRUE;  // the focus goes to the OK button
    case WM_COMMAND:
        // Enter gives IDOK through the default button; Esc and the close box
        // give IDCANCEL.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

void Win32FormServices::ShowAbout(Form& form, FormsRuntime& app, const std::wstring& extra,
                                  const std::wstring& dedication)
{
    const HWND owner = RequireWindow(form.hWnd(), L"ShowAbout");
    const HMODULE program = GetModuleHandleW(nullptr);
    // The form's own icon; the system's application icon for a form that has none.
    auto icon = reinterpret_cast<HICON>(SendMessageW(owner, WM_GETICON, ICON_BIG, 0));
    if (!icon)
        icon = LoadIconW(nullptr, IDI_APPLICATION);
    const std::wstring title = app.AppTitle();
    const std::wstring version = L"Version " + ProgramFileVersion();

    // Text columns right of the icon; the extra line, when there is one,
    // pushes the dedication down.
    const short textLeft = 44;
    const short textWidth = 176;
    const short dedicationTop = extra.empty() ? 40 : 50;
    DialogTemplate about(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, L"About " + title, 230, 100, 8,
                         L"MS Shell Dlg");
    const DWORD text = SS_LEFT | SS_NOPREFIX;
    about.AddItem(DialogTemplate::kStatic, kIdIcon, SS_ICON, 12, 10, 21, 20, L"");
    about.AddItem(DialogTemplate::kStatic, kIdTitle, text, textLeft, 10, textWidth, 10, title);
    about.AddItem(DialogTemplate::kStatic, kIdVersion, text, textLeft, 24, textWidth, 8, version);
    if (!extra.empty())
        about.AddItem(DialogTemplate::kStatic, kIdExtra, text, textLeft, 36, textWidth, 8, extra);
    about.AddItem(DialogTemplate::kStatic, kIdDedication, text, textLeft, dedicationTop, textWidth, 24, dedication);
    about.AddItem(DialogTemplate::kStatic, 0xFFFF, SS_ETCHEDHORZ, 8, 76, 214, 1, L"");
    about.AddItem(DialogTemplate::kButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 172, 80, 50, 14, L"OK");

    AboutBox state{Borrowed<HICON>(icon), UniqueFont()};
    if (DialogBoxIndirectParamW(program, about.Get(), owner, AboutProcedure, reinterpret_cast<LPARAM>(&state)) == -1)
        ThrowLastError(L"DialogBoxIndirectParam");
}

void Win32FormServices::PressButton(CommandButton& button)
{
    const HWND window = RequireWindow(button.hWnd(), L"PressButton");
    // What BM_CLICK answers is not defined; the click goes to the parent as
    // WM_COMMAND with BN_CLICKED.
    SendMessageW(window, BM_CLICK, 0, 0);
}

}  // namespace dovrel::win32
