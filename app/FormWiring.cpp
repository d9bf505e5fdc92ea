#include "app/FormWiring.h"

#include <algorithm>
#include <map>

#include "platform/Error.h"

namespace dovrel {

namespace {

using Plain = std::function<void()>;
using Keys = std::function<void(std::int16_t&, std::int16_t&)>;
using Cancel = std::function<void(std::int16_t&)>;
using Column = std::function<void(ColumnHeader&)>;
using At = std::function<void(const ScreenPoint&)>;

enum class Kind { Form, Button, List, Timer, MenuItem };

constexpr std::int16_t kKeyDelete = 46;
constexpr std::int16_t kKeyF1 = 112;
constexpr std::int16_t kKeyF12 = 123;

[[noreturn]] void Refuse(const std::string& control, const wchar_t* why)
{
    throw Error(kErrInvalidPropertyValue, L"The wiring of " + std::wstring(control.begin(), control.end()) + L" " + why);
}

const MenuItemDefinition* MenuItemOf(const FormDefinition& design, const std::string& name)
{
    for (const MenuDefinition& menu : design.menus)
        for (const MenuItemDefinition& item : menu.items)
            if (!item.name.empty() && item.name == name)
                return &item;
    return nullptr;
}

Kind KindOf(const FormDefinition& design, const std::string& name)
{
    if (name == design.name)
        return Kind::Form;
    for (const ControlDefinition& control : design.controls) {
        if (control.name != name)
            continue;
        switch (control.kind) {
        case ControlKind::CommandButton:
            return Kind::Button;
        case ControlKind::ListView:
            return Kind::List;
        case ControlKind::Timer:
            return Kind::Timer;
        }
    }
    if (MenuItemOf(design, name))
        return Kind::MenuItem;
    Refuse(name, L"names nothing in the design.");
}

template <typename Handler>
const Handler& HandlerOf(const BoundWire& wire)
{
    if (const auto* handler = std::get_if<Handler>(&wire.handler))
        return *handler;
    Refuse(wire.control, L"has a handler that does not fit its event.");
}

// The shortcut text after the tab of a menu item's caption; empty without one.
std::wstring CaptionShortcut(const MenuItemDefinition& item)
{
    const std::size_t tab = item.caption.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : item.caption.substr(tab + 1);
}

struct KeyBinding {
    Shortcut key;
    Plain run;
};

// Runs the shortcuts of the key, then the control's own key handler.
Keys WithShortcuts(std::vector<KeyBinding> shortcuts, Keys own)
{
    return [shortcuts = std::move(shortcuts), own = std::move(own)](std::int16_t& keyCode, std::int16_t& shift) {
        for (const KeyBinding& binding : shortcuts)
            if (binding.key.keyCode == keyCode && binding.key.shift == shift)
                binding.run();
        if (own)
            own(keyCode, shift);
    };
}

class Binder {
public:
    Binder(const FormDefinition& design, FormControls& controls) : design_(design), controls_(controls) {}

    void Bind(const BoundWire& wire)
    {
        const Kind kind = KindOf(design_, wire.control);
        if (wire.needs == Needs::SelectedRow && kind != Kind::Button && kind != Kind::MenuItem)
            Refuse(wire.control, L"is no command that could need a row.");
        if (wire.shortcut && kind != Kind::MenuItem)
            Refuse(wire.control, L"gives a shortcut to what is no menu item.");
        switch (kind) {
        case Kind::Form:
            BindForm(wire);
            break;
        case Kind::Button:
            BindButton(wire);
            break;
        case Kind::List:
            BindList(wire);
            break;
        case Kind::Timer:
            Expect(wire, Event::Timer);
            controls_.TimerNamed(wire.control).onTimer = HandlerOf<Plain>(wire);
            break;
        case Kind::MenuItem:
            BindMenuItem(wire);
            break;
        }
    }

    // The key handlers go last: a shortcut may come before or after the
    // handler it goes with in the table.
    void BindKeys()
    {
        CheckEveryShownShortcutIsBound();
        for (const auto& entry : shortcuts_)
            ownKeys_.try_emplace(entry.first);  // shortcuts, and no key handler of its own
        for (auto& [control, own] : ownKeys_) {
            Keys keys = WithShortcuts(std::move(shortcuts_[control]), std::move(own));
            if (control.empty())
                controls_.TheForm().onKeyDown = std::move(keys);
            else if (KindOf(design_, control) == Kind::List)
                controls_.ListView(control).onKeyDown = std::move(keys);
            else
                Refuse(control, L"takes no keys of a shortcut.");
        }
    }

    RowCommands TakeRowCommands() { return std::move(rowCommands_); }

private:
    static void Expect(const BoundWire& wire, Event event)
    {
        if (wire.event != event)
            Refuse(wire.control, L"names an event it does not have.");
    }

    void BindForm(const BoundWire& wire)
    {
        Form& form = controls_.TheForm();
        switch (wire.event) {
        case Event::Load:
            form.onLoad = HandlerOf<Plain>(wire);
            break;
        case Event::Unload:
            form.onUnload = HandlerOf<Cancel>(wire);
            break;
        case Event::Resize:
            form.onResize = HandlerOf<Plain>(wire);
            break;
        case Event::KeyDown:
            ownKeys_[""] = HandlerOf<Keys>(wire);
            break;
        default:
            Refuse(wire.control, L"names an event it does not have.");
        }
    }

    void BindButton(const BoundWire& wire)
    {
        Expect(wire, Event::Click);
        CommandButton& button = controls_.Button(wire.control);
        button.onClick = HandlerOf<Plain>(wire);
        if (wire.needs == Needs::SelectedRow)
            rowCommands_.buttons.push_back(&button);
    }

    void BindList(const BoundWire& wire)
    {
        ListViewControl& list = controls_.ListView(wire.control);
        switch (wire.event) {
        case Event::DblClick:
            list.onDblClick = HandlerOf<Plain>(wire);
            break;
        case Event::ColumnClick:
            list.onColumnClick = HandlerOf<Column>(wire);
            break;
        case Event::KeyDown:
            ownKeys_[wire.control] = HandlerOf<Keys>(wire);
            break;
        case Event::ContextMenu:
            list.onContextMenu = HandlerOf<At>(wire);
            break;
        default:
            Refuse(wire.control, L"names an event it does not have.");
        }
    }

    void BindMenuItem(const BoundWire& wire)
    {
        Expect(wire, Event::Click);
        MenuItem& item = controls_.MenuItemNamed(wire.control);
        item.onClick = HandlerOf<Plain>(wire);
        if (wire.needs == Needs::SelectedRow)
            rowCommands_.menuItems.push_back(&item);
        const std::wstring shown = CaptionShortcut(*MenuItemOf(design_, wire.control));
        if (!wire.shortcut) {
            if (!shown.empty())
                Refuse(wire.control, L"shows a shortcut that runs nothing.");
            return;
        }
        if (shown != ShortcutText(*wire.shortcut))
            Refuse(wire.control, L"runs on another key than its caption shows.");
        const char* from = wire.shortcut->onlyFrom;
        shortcuts_[from ? from : ""].push_back({*wire.shortcut, HandlerOf<Plain>(wire)});
        boundShortcuts_.push_back(wire.control);
    }

    void CheckEveryShownShortcutIsBound() const
    {
        for (const MenuDefinition& menu : design_.menus)
            for (const MenuItemDefinition& item : menu.items)
                if (!CaptionShortcut(item).empty() &&
                    std::find(boundShortcuts_.begin(), boundShortcuts_.end(), item.name) == boundShortcuts_.end())
                    Refuse(item.name, L"shows a shortcut that runs nothing.");
    }

    const FormDefinition& design_;
    FormControls& controls_;
    RowCommands rowCommands_;
    // By the control whose keys they are; "" the whole window's.
    std::map<std::string, std::vector<KeyBinding>> shortcuts_;
    std::map<std::string, Keys> ownKeys_;
    std::vector<std::string> boundShortcuts_;
};

}  // namespace

void RowCommands::EnableButtons(bool enabled) const
{
    for (CommandButton* button : buttons)
        button->SetEnabled(enabled);
}

void RowCommands::EnableMenuItems(bool enabled) const
{
    for (MenuItem* item : menuItems)
        item->SetEnabled(enabled);
}

std::wstring ShortcutText(const Shortcut& shortcut)
{
    std::wstring key;
    if (shortcut.keyCode >= kKeyF1 && shortcut.keyCode <= kKeyF12)
        key = L"F" + std::to_wstring(shortcut.keyCode - kKeyF1 + 1);
    else if (shortcut.keyCode == kKeyDelete)
        key = L"Del";
    else if ((shortcut.keyCode >= 'A' && shortcut.keyCode <= 'Z') || (shortcut.keyCode >= '0' && shortcut.keyCode <= '9'))
        key = std::wstring(1, static_cast<wchar_t>(shortcut.keyCode));
    else
        return L"";
    const std::wstring shift = (shortcut.shift & 1) ? L"Shift+" : L"";
    return ((shortcut.shift & 2) ? L"Ctrl+" + shift : shift) + key;
}

RowCommands BindWires(const FormDefinition& design, FormControls& controls, const std::vector<BoundWire>& wires)
{
    Binder binder(design, controls);
    for (const BoundWire& wire : wires)
        binder.Bind(wire);
    binder.BindKeys();
    return binder.TakeRowCommands();
}

}  // namespace dovrel
