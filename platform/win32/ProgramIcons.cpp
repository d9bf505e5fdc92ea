#include "platform/win32/ProgramIcons.h"

#include <utility>

#include "platform/Error.h"
#include "platform/win32/LastError.h"

namespace dovrel::win32 {

namespace {

// Not LR_SHARED: a shared icon is looked up by name alone, so the small
// size could come back as the big icon loaded before it.
UniqueIcon LoadIconGroup(const std::wstring& name, int widthMetric, int heightMetric)
{
    UniqueIcon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_ICON,
                                                  GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0)));
    if (!icon)
        ThrowLastError(L"LoadImage");
    return icon;
}

}  // namespace

const ProgramIcons::Sizes& ProgramIcons::Loaded(const std::wstring& groupName)
{
    auto loaded = groups_.find(groupName);
    if (loaded == groups_.end()) {
        if (!FindResourceW(GetModuleHandleW(nullptr), groupName.c_str(), RT_GROUP_ICON))
            throw Error(kErrSystem, L"The icon \"" + groupName + L"\" is not in the program's file.");
        Sizes sizes{LoadIconGroup(groupName, SM_CXICON, SM_CYICON), LoadIconGroup(groupName, SM_CXSMICON, SM_CYSMICON)};
        loaded = groups_.emplace(groupName, std::move(sizes)).first;
    }
    return loaded->second;
}

void ProgramIcons::SetOn(HWND window, const std::wstring& groupName)
{
    const Sizes& icons = Loaded(groupName);
    // WM_SETICON answers with the previous icon, which may well be none.
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.bigIcon.Get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.smallIcon.Get()));
}

}  // namespace dovrel::win32
