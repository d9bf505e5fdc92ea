#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/FormDefinition.h"
#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"

namespace dovrel {

// A form's wiring: which handler of the form's class each event of each
// control runs, which commands need a selected row, and which key runs a
// menu item. A form binds its table when it is made, and a table that does
// not fit the design (a name the design does not give, a handler that does
// not fit its event, a shortcut its caption does not show) raises
// dovrel::Error then, before the window is shown.

enum class Event { Load, Unload, Resize, KeyDown, Click, Timer, DblClick, ColumnClick, ContextMenu };

// A command that only makes sense for a selected port: its button and its
// menu item are enabled only while there is one.
enum class Needs { Nothing, SelectedRow };

// A key that runs a menu item, shown after the tab in the item's caption.
struct Shortcut {
    std::int16_t keyCode = 0;
    std::int16_t shift = 0;  // 0 none, 1 Shift, 2 Ctrl
    // The control that must have the focus for the key to count; null: any
    // control of the window.
    const char* onlyFrom = nullptr;
};

template <typename Owner>
struct Wire {
    using Plain = void (Owner::*)();
    using Keys = void (Owner::*)(std::int16_t& keyCode, std::int16_t& shift);
    using Cancel = void (Owner::*)(std::int16_t& cancel);
    using Column = void (Owner::*)(ColumnHeader& header);
    using At = void (Owner::*)(const ScreenPoint& at);
    using Handler = std::variant<Plain, Keys, Cancel, Column, At>;

    Wire(const char* control, Event event, Handler handler, Needs needs = Needs::Nothing,
         std::optional<Shortcut> shortcut = std::nullopt)
        : control(control), event(event), handler(handler), needs(needs), shortcut(shortcut)
    {
    }

    const char* control;  // as the design names it; the form by its own name
    Event event;
    Handler handler;
    Needs needs;
    std::optional<Shortcut> shortcut;
};

// One wire with its handler bound to the form's object.
struct BoundWire {
    std::string control;
    Event event;
    std::variant<std::function<void()>, std::function<void(std::int16_t&, std::int16_t&)>,
                 std::function<void(std::int16_t&)>, std::function<void(ColumnHeader&)>,
                 std::function<void(const ScreenPoint&)>>
        handler;
    Needs needs;
    std::optional<Shortcut> shortcut;
};

// The commands of a bound table that need a selected row.
struct RowCommands {
    std::vector<CommandButton*> buttons;
    std::vector<MenuItem*> menuItems;

    void EnableButtons(bool enabled) const;
    void EnableMenuItems(bool enabled) const;
};

// Hands every control of the design its handlers from the table and
// returns the commands that need a selected row.
RowCommands BindWires(const FormDefinition& design, FormControls& controls, const std::vector<BoundWire>& wires);

// The text a caption shows after its tab for this shortcut: "F5", "Del",
// "Ctrl+C".
std::wstring ShortcutText(const Shortcut& shortcut);

template <typename Owner, typename... Args>
std::function<void(Args...)> BoundTo(Owner& owner, void (Owner::*handler)(Args...))
{
    return [&owner, handler](Args... args) { (owner.*handler)(args...); };
}

template <typename Owner>
RowCommands BindWiring(Owner& owner, const FormDefinition& design, FormControls& controls,
                       const std::vector<Wire<Owner>>& wiring)
{
    std::vector<BoundWire> bound;
    bound.reserve(wiring.size());
    for (const Wire<Owner>& wire : wiring) {
        BoundWire b{wire.control, wire.event, {}, wire.needs, wire.shortcut};
        std::visit([&](auto handler) { b.handler = BoundTo(owner, handler); }, wire.handler);
        bound.push_back(std::move(b));
    }
    return BindWires(design, controls, bound);
}

}  // namespace dovrel
