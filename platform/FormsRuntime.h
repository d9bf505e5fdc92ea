#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

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

class Form {
public:
    virtual ~Form() = default;
    virtual WindowHandle hWnd() const = 0;
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;
    // True while the window is minimised (shown as its taskbar button only).
    virtual bool Minimized() const = 0;
    // Loads the form when it is not loaded yet (running onLoad), then shows
    // it modeless and without an owner.
    virtual void Show() = 0;
    // Runs onUnload and destroys the window.
    virtual void Unload() = 0;

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
constexpr std::int32_t kMbIconError = 16;
constexpr std::int32_t kMbIconExclamation = 48;
constexpr std::int32_t kIdOk = 1;
constexpr std::int32_t kIdCancel = 2;

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

    // For the runtime that makes the form.
    void Add(const std::string& name, CommandButton& button);
    void Add(const std::string& name, ListViewControl& list, ControlExtent& extent);
    void Add(const std::string& name, Timer& timer);

private:
    Form& form_;
    std::map<std::string, CommandButton*> buttons_;
    std::map<std::string, std::pair<ListViewControl*, ControlExtent*>> lists_;
    std::map<std::string, Timer*> timers_;
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
};

}  // namespace dovrel
