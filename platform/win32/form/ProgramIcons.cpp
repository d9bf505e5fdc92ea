#include "platform/win32/form/ProgramIcons.h"

#include <utility>

#include "platform/Error.h"
#include "platform/win32/system/LastError.h"
#include "platform/win32/system/Screen.h"

namespace dovrel::win32 {

namespace {

// Not LR_SHARED: a shared icon is looked up by name alone, so the small
// size could come back as the big icon loaded before it.
UniqueIcon LoadIconGroup(const std::wstring& name, int widthMetric, int heightMetric, int dpi)
{
    UniqueIcon icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_ICON,
                                                  SystemMetricAt(widthMetric, dpi), SystemMetricAt(heightMetric, dpi),
                                                  0)));
    if (!icon)
        ThrowLastError(L"LoadImage");
    return icon;
}

}  // namespace

const ProgramIcons::Sizes& ProgramIcons::Loaded(const std::wstring& groupName, int dpi)
{
    auto loaded = groups_.find({groupName, dpi});
    if (loaded == groups_.end()) {
        if (!FindResourceW(GetModuleHandleW(nullptr), groupName.c_str(), RT_GROUP_ICON))
            throw Error(kErrSystem, L"The icon \"" + groupName + L"\" is not in the program's file.");
        Sizes sizes{LoadIconGroup(groupName, SM_CXICON, SM_CYICON, dpi),
                    LoadIconGroup(groupName, SM_CXSMICON, SM_CYSMICON, dpi)};
        loaded = groups_.emplace(std::make_pair(groupName, dpi), std::move(sizes)).first;
    }
    return loaded->second;
}

void ProgramIcons::FollowScale(HWND window, int dpi)
{
    const auto shown = shownOn_.find(window);
    if (shown != shownOn_.end())
        SetOn(window, shown->second, dpi);
}

void ProgramIcons::SetOn(HWND window, const std::wstring& groupName, int dpi)
{
    const Sizes& icons = Loaded(groupName, dpi);
    shownOn_[window] = groupName;
    // WM_SETICON answers with the previous icon, which may well be none.
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.bigIcon.Get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.smallIcon.Get()));
}

}  // namespace dovrel::win32
