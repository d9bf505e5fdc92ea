#include "platform/win32/form/SaveAsDialog.h"

#include <commdlg.h>

#include "platform/Error.h"
#include "platform/win32/system/SystemLibrary.h"

namespace dovrel::win32 {

namespace {

using GetSaveFileNameFunction = decltype(&::GetSaveFileNameW);
using CommDlgExtendedErrorFunction = decltype(&::CommDlgExtendedError);

struct CommonDialogs {
    GetSaveFileNameFunction getSaveFileName;
    CommDlgExtendedErrorFunction extendedError;
};

const CommonDialogs& Comdlg32()
{
    static const CommonDialogs functions = [] {
        SystemLibrary library(L"comdlg32.dll");
        const CommonDialogs found{library.Get<GetSaveFileNameFunction>("GetSaveFileNameW"),
                                  library.Get<CommDlgExtendedErrorFunction>("CommDlgExtendedError")};
        library.KeepLoaded();
        return found;
    }();
    return functions;
}

// "Description\0*.ext\0" for each kind, then a second NUL at the end.
std::wstring Filter(const std::vector<FileType>& types)
{
    std::wstring filter;
    for (const FileType& type : types) {
        filter += type.description;
        filter += L'\0';
        filter += L"*." + type.extension;
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

}  // namespace

bool ShowSaveAsDialog(HWND owner, const std::vector<FileType>& types, const std::wstring& fileName,
                      SaveAsChoice& choice)
{
    const CommonDialogs& dialogs = Comdlg32();
    const std::wstring filter = Filter(types);
    std::wstring path(32768, L'\0');
    path.replace(0, fileName.size(), fileName.substr(0, path.size() - 1));

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = &path[0];
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    // A name typed without an extension gets the one of the kind chosen.
    dialog.lpstrDefExt = types.empty() ? nullptr : types.front().extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!dialogs.getSaveFileName(&dialog)) {
        const DWORD error = dialogs.extendedError();
        if (error == 0)
            return false;
        throw Error(kErrSystem, L"The Save As dialog failed (error " + std::to_wstring(error) + L").");
    }
    choice.path = path.c_str();
    choice.type = dialog.nFilterIndex >= 1 && dialog.nFilterIndex <= types.size() ? dialog.nFilterIndex - 1 : 0;
    return true;
}

}  // namespace dovrel::win32
