#include "platform/win32/controls/Win32Timer.h"

#include "platform/win32/system/LastError.h"

namespace dovrel::win32 {

Win32Timer::Win32Timer(HWND owner, UINT_PTR id, const ControlDefinition& definition, EventSink& events)
    : owner_(owner), id_(id), interval_(definition.interval), events_(events), enabled_(definition.enabled)
{
}

Win32Timer::~Win32Timer()
{
    Stop();
}

void Win32Timer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (!enabled) {
        tickHeld_ = false;
        Stop();
    }
    else if (loaded_)
        Start();
}

void Win32Timer::OnFormLoaded()
{
    loaded_ = true;
    if (enabled_)
        Start();
}

void Win32Timer::OnFormUnloaded()
{
    Stop();
    loaded_ = false;
}

void Win32Timer::OnTick()
{
    if (enabled_ && onTimer)
        events_.RunHandler(onTimer);
}

void Win32Timer::DeliverHeldTick()
{
    if (tickHeld_) {
        tickHeld_ = false;
        OnTick();
    }
}

void Win32Timer::Start()
{
    if (!SetTimer(owner_.Get(), id_, static_cast<UINT>(interval_), nullptr))
        ThrowLastError(L"SetTimer");
    running_ = true;
}

void Win32Timer::Stop()
{
    // A timer of a window that is gone went with it.
    if (running_ && IsWindow(owner_.Get()))
        KillTimer(owner_.Get(), id_);
    running_ = false;
}

}  // namespace dovrel::win32
