#pragma once

#include <windows.h>

#include "platform/FormDefinition.h"
#include "platform/FormsRuntime.h"
#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

// A timer of a form: it runs while enabled and the form is loaded, and its
// ticks go to the form's events.
class Win32Timer final : public Timer {
public:
    Win32Timer(HWND owner, UINT_PTR id, const ControlDefinition& definition, EventSink& events);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override;
    std::int32_t Interval() const override { return interval_; }

    // A timer enabled at design time starts once its form has loaded.
    void OnFormLoaded();
    void OnFormUnloaded();
    void OnTick();
    // A tick that came while another handler ran, delivered once later.
    void HoldTick() { tickHeld_ = true; }
    void DeliverHeldTick();
    UINT_PTR Id() const { return id_; }

private:
    void Start();
    void Stop();

    Borrowed<HWND> owner_;  // the form's window
    UINT_PTR id_;
    std::int32_t interval_;
    EventSink& events_;
    bool enabled_;
    bool loaded_ = false;
    bool running_ = false;
    bool tickHeld_ = false;
};

}  // namespace dovrel::win32
