#include "platform/win32/controls/Win32Menu.h"

#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

bool Win32MenuItem::Enabled() const
{
    const UINT state = GetMenuState(menu_.Get(), id_, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_DISABLED | MF_GRAYED)) == 0;
}

void Win32MenuItem::SetEnabled(bool enabled)
{
    if (EnableMenuItem(menu_.Get(), id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) == static_cast<BOOL>(-1))
        throw Error(kErrSystem, L"The menu has no such item.");
}

Win32PopupMenu::Win32PopupMenu(const MenuDefinition& definition, UINT firstId)
    : name_(definition.name), menu_(CreatePopupMenu())
{
    if (!menu_)
        ThrowLastError(L"CreatePopupMenu");
    UINT id = firstId;
    for (const MenuItemDefinition& item : definition.items) {
        if (item.name.empty()) {
            if (!AppendMenuW(menu_.Get(), MF_SEPARATOR, 0, nullptr))
                ThrowLastError(L"AppendMenu");
            continue;
        }
        if (!AppendMenuW(menu_.Get(), MF_STRING, id, item.caption.c_str()))
            ThrowLastError(L"AppendMenu");
        if (item.isDefault && !SetMenuDefaultItem(menu_.Get(), id, FALSE))
            ThrowLastError(L"SetMenuDefaultItem");
        items_.push_back(std::make_unique<Win32MenuItem>(menu_.Get(), id));
        named_.emplace_back(item.name, items_.back().get());
        ++id;
    }
}

Win32MenuItem* Win32PopupMenu::Track(HWND owner, const ScreenPoint& at)
{
    // The choice comes back here rather than as a WM_COMMAND, so that it
    // runs inside the handler that opened the menu.
    const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
    const auto chosen = static_cast<UINT>(TrackPopupMenu(menu_.Get(), flags, at.x, at.y, 0, owner, nullptr));
    for (const auto& item : items_)
        if (chosen != 0 && item->Id() == chosen)
            return item.get();
    return nullptr;
}

}  // namespace dovrel::win32
