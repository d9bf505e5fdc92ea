#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dovrel {

// A form as it is designed, before any code runs: what a form file holds.
// The forms runtime makes a window from any such definition and hands its
// controls back by name; the program's own forms define themselves in app/.
// Geometry is in twips (1/1440 inch), relative to the form's client area.

enum class ControlKind { ListView, CommandButton, Timer };

struct ControlDefinition {
    ControlKind kind;
    std::string name;     // how the program asks for the control
    std::wstring caption;  // a button's text; empty for the others
    float left = 0, top = 0, width = 0, height = 0;
    int id = 0;             // the control's number among its form's
    int tabIndex = -1;      // its place in the tab order; -1: not a tab stop
    bool cancel = false;    // a button that Esc presses
    std::int32_t interval = 0;  // a timer's interval in milliseconds
    bool enabled = true;        // a timer that runs from the moment its form is loaded
};

// One item of a pop-up menu. The caption marks its access key with '&' and
// may end in a tab and the text of its shortcut key, shown right-aligned.
// An item without a name is a separator line.
struct MenuItemDefinition {
    std::string name;
    std::wstring caption;
    bool isDefault = false;  // drawn in bold: what a double click does
};

// A pop-up menu of the form, shown by the program where it asks.
struct MenuDefinition {
    std::string name;
    std::vector<MenuItemDefinition> items;
};

struct FontDefinition {
    std::wstring face;
    int points = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
};

struct FormDefinition {
    std::string name;
    std::wstring caption;
    float clientLeft = 0, clientTop = 0, clientWidth = 0, clientHeight = 0;
    bool sizable = true;      // a frame the user can drag
    bool controlBox = true;   // the system menu and the close box
    bool minButton = false;
    bool maxButton = false;
    bool showInTaskbar = true;
    bool keyPreview = false;  // the form sees each key before the focused control
    FontDefinition font;      // every control's, unless it has its own
    std::vector<ControlDefinition> controls;  // in the order they are made
    std::vector<MenuDefinition> menus;
};

}  // namespace dovrel
