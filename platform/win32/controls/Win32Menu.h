#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/FormDefinition.h"
#include "platform/FormsRuntime.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// An item of a pop-up menu; its state lives in the menu itself.
class Win32MenuItem final : public MenuItem {
public:
    Win32MenuItem(HMENU menu, UINT id) : menu_(menu), id_(id) {}
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    UINT Id() const { return id_; }

private:
    Borrowed<HMENU> menu_;  // the menu that owns the item
    UINT id_;
};

// A pop-up menu of a form, made from its definition, and its items. Item
// ids count up from firstId in the order of the definition.
class Win32PopupMenu {
public:
    Win32PopupMenu(const MenuDefinition& definition, UINT firstId);

    const std::string& Name() const { return name_; }
    // The named items, for the form's controls.
    const std::vector<std::pair<std::string, Win32MenuItem*>>& Items() const { return named_; }
    // Shows the menu at a point on the screen, owned by `owner`, until the
    // user chooses an item or closes it. The item chosen, or null.
    Win32MenuItem* Track(HWND owner, const ScreenPoint& at);

private:
    std::string name_;
    UniqueMenu menu_;
    std::vector<std::unique_ptr<Win32MenuItem>> items_;
    std::vector<std::pair<std::string, Win32MenuItem*>> named_;
};

}  // namespace dovrel::win32
