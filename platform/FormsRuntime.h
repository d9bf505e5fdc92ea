#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/FormDefinition.h"
#include "platform/ListViewControl.h"
#include "platform/Types.h"

namespace dovrel {

// The forms runtime: the window, its command buttons and timer, the screen's
// mouse pointer, the message box, the text-input prompt and the application
// object. Geometry is in twips. Every member may raise dovrel::Error.

class CommandButton {
public:
    virtual ~CommandButton() = default;
    virtual WindowHandle hWnd() const = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual float Left() const = 0;
    virtual void SetLeft(float left) = 0;
    virtual float Top() const = 0;
    virtual float Width() const = 0;
    virtual float Height() const = 0;

    std::function<void()> onClick;
};

// Where a control sits on its form, in twips. A negative width or height is
// refused with an error and the control stays where it was.
class ControlExtent {
public:
    virtual ~ControlExtent() = default;
    virtual float Left() const = 0;
    virtual float Top() const = 0;
    virtual float Width() const = 0;
    virtual float Height() const = 0;
    virtual void Move(float left, float top, float width, float height) = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual std::int32_t Interval() const = 0;

    std::function<void()> onTimer;
};

// An item of one of the form's pop-up menus.
class MenuItem {
public:
    virtual ~MenuItem() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;

    std::function<void()> onClick;
};

class Form {
public:
    virtual ~Form() = default;
    virtual WindowHandle hWnd() const = 0;
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;
    // True while the window is minimised (shown as its taskbar button only).
    virtual bool Minimized() const = 0;
    // The text of the window's title bar, in place of its design's.
    virtual void SetCaption(const std::wstring& caption) = 0;
    // Loads the form when it is not loaded yet (running onLoad), then shows
    // it modeless and without an owner.
    virtual void Show() = 0;
    // Runs onUnload and destroys the window.
    virtual void Unload() = 0;
    // Shows the pop-up menu of that name at a point on the screen and
    // returns once it is closed; the item chosen, if any, has run its click
    // by then.
    virtual void PopupMenu(const std::string& menu, const ScreenPoint& at) = 0;

    std::function<void()> onLoad;
    std::function<void(std::int16_t& cancel)> onUnload;
    std::function<void()> onResize;
    // Sees every key of the window before the focused control does.
    std::function<void(std::int16_t& keyCode, std::int16_t& shift)> onKeyDown;
};

enum class MousePointer : std::int32_t { Default = 0, Hourglass = 11 };

// Message box styles and answers, the platform's numbers.
constexpr std::int32_t kMbOk = 0;
constexpr std::int32_t kMbOkCancel = 1;
constexpr std::int32_t kMbYesNo = 4;
constexpr std::int32_t kMbIconError = 16;
constexpr std::int32_t kMbIconExclamation = 48;
constexpr std::int32_t kIdOk = 1;
constexpr std::int32_t kIdCancel = 2;
constexpr std::int32_t kIdYes = 6;

// A form made from its definition, with its controls by the names the
// definition gives them. The runtime owns the form and its controls; they
// live until the program ends. Asking for a name the definition does not
// give, or for a control of another kind, raises dovrel::Error.
class FormControls {
public:
    explicit FormControls(Form& form) : form_(form) {}
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    Form& TheForm() const { return form_; }
    CommandButton& Button(const std::string& name) const;
    ListViewControl& ListView(const std::string& name) const;
    // Where the list of that name sits on the form.
    ControlExtent& Extent(const std::string& name) const;
    Timer& TimerNamed(const std::string& name) const;
    MenuItem& MenuItemNamed(const std::string& name) const;

    // For the runtime that makes the form.
    void Add(const std::string& name, CommandButton& button);
    void Add(const std::string& name, ListViewControl& list, ControlExtent& extent);
    void Add(const std::string& name, Timer& timer);
    void Add(const std::string& name, MenuItem& item);

private:
    Form& form_;
    std::map<std::string, CommandButton*> buttons_;
    std::map<std::string, std::pair<ListViewControl*, ControlExtent*>> lists_;
    std::map<std::string, Timer*> timers_;
    std::map<std::string, MenuItem*> menuItems_;
};

// One kind of file the Save As dialog offers: its description, as the
// dialog lists it, and its extension without the dot.
struct FileType {
    std::wstring description;
    std::wstring extension;
};

// What the user chose in the Save As dialog: the file's full path and the
// kind of file, as an index into the kinds offered (from 0).
struct SaveAsChoice {
    std::wstring path;
    std::size_t type = 0;
};

class FormsRuntime {
public:
    virtual ~FormsRuntime() = default;
    // Registers the common controls' window classes; before any control exists.
    virtual void InitCommonControls() = 0;
    // Makes the form of this definition with its controls, once: asked
    // again, it hands back the same form. Loading and showing happen in
    // Form::Show.
    virtual FormControls& CreateForm(const FormDefinition& definition) = 0;
    // The application object's title, the caption of every box and prompt.
    virtual std::wstring AppTitle() const = 0;
    virtual void SetScreenMousePointer(MousePointer pointer) = 0;
    // A modal message box owned by the active form, captioned with the title.
    virtual std::int32_t MsgBox(const std::wstring& text, std::int32_t style) = 0;
    // A modal prompt with an edit field holding defaultText; returns the
    // entered text, or the empty text on Cancel.
    virtual std::wstring InputBox(const std::wstring& prompt, const std::wstring& defaultText) = 0;
    // Puts the text on the clipboard as Unicode text, in place of what it held.
    virtual void SetClipboardText(const std::wstring& text) = 0;
    // The system's modal Save As dialog, owned by the active form, offering
    // these kinds of file (the first chosen at first) and this file name.
    // It asks itself before an existing file is replaced. False when the
    // user cancelled.
    virtual bool ShowSaveAs(const std::vector<FileType>& types, const std::wstring& fileName, SaveAsChoice& choice) = 0;
};

}  // namespace dovrel
