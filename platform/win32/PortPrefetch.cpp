#include "platform/win32/PortPrefetch.h"

#include <process.h>

#include <cstddef>
#include <cstring>

namespace dovrel::win32 {

namespace {

// As often as the refresh asks again when the ports grow between its calls.
constexpr int kAttempts = 4;

// Moves the record's string addresses from one buffer to its copy; an
// address outside the first buffer becomes null, which reads as no text.
LPSTR Relocated(LPSTR address, const BYTE* from, const BYTE* to, std::size_t size)
{
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    const auto begin = reinterpret_cast<std::uintptr_t>(from);
    if (!address || at < begin || at >= begin + size)
        return nullptr;
    return reinterpret_cast<LPSTR>(const_cast<BYTE*>(to) + (at - begin));
}

// Waits for the thread, painting the program's windows in the meantime, so
// that a slow spooler leaves a window that still shows what it holds.
void AwaitPainting(HANDLE thread)
{
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_PAINT);
        if (woken != WAIT_OBJECT_0 + 1) {
            if (woken != WAIT_OBJECT_0)
                WaitForSingleObject(thread, INFINITE);
            return;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

}  // namespace

PortPrefetch::~PortPrefetch()
{
    if (thread_)
        WaitForSingleObject(thread_.Get(), INFINITE);
}

void PortPrefetch::Start()
{
    if (stage_ != Stage::None)
        return;
    // The spooler's library is loaded here, on the program's thread: under
    // Wine its start-up code initialises the window system, which must not
    // happen on a second thread while this one makes the first window.
    try {
        winspool_ = std::make_unique<SystemLibrary>(L"winspool.drv");
    } catch (...) {
        return;  // the refresh will say what is wrong
    }
    const std::uintptr_t thread = _beginthreadex(nullptr, 0, &PortPrefetch::Fetch, this, 0, nullptr);
    if (thread == 0)
        return;
    thread_.Reset(reinterpret_cast<HANDLE>(thread));
    stage_ = Stage::Fetching;
}

unsigned __stdcall PortPrefetch::Fetch(void* self)
{
    // Nothing may leave the thread; whatever fails leaves the refresh to ask
    // the spooler itself.
    try {
        static_cast<PortPrefetch*>(self)->FetchPorts();
    } catch (...) {
    }
    return 0;
}

void PortPrefetch::FetchPorts()
{
    const auto enumPorts = winspool_->Get<decltype(&::EnumPortsA)>("EnumPortsA");
    DWORD needed = 0;
    DWORD count = 0;
    enumPorts(nullptr, 2, nullptr, 0, &needed, &count);
    for (int attempt = 0; attempt < kAttempts && needed > 0; ++attempt) {
        bytes_.assign(needed, 0);
        count = 0;
        const DWORD offered = needed;
        if (enumPorts(nullptr, 2, bytes_.data(), offered, &needed, &count)) {
            filled_ = needed <= offered ? needed : offered;
            count_ = count;
            answered_ = true;
            return;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return;
    }
}

void PortPrefetch::Await()
{
    if (stage_ != Stage::Fetching)
        return;
    AwaitPainting(thread_.Get());
    stage_ = answered_ ? Stage::Ready : Stage::Used;
}

bool PortPrefetch::Answer(LPBYTE buffer, DWORD bufferSize, DWORD& needed, DWORD& returned, BOOL& result)
{
    Await();
    if (stage_ == Stage::Ready && !buffer) {
        // The size call: as much as the answer was given.
        needed = static_cast<DWORD>(bytes_.size());
        returned = 0;
        result = FALSE;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        stage_ = Stage::SizeGiven;
        return true;
    }
    if (stage_ == Stage::SizeGiven && buffer && bufferSize == bytes_.size()) {
        // The data call: the answer, its addresses moved into this buffer.
        std::memcpy(buffer, bytes_.data(), bytes_.size());
        const std::size_t whole = filled_ / sizeof(PORT_INFO_2A);
        for (std::size_t index = 0; index < count_ && index < whole; ++index) {
            PORT_INFO_2A record;
            std::memcpy(&record, buffer + index * sizeof record, sizeof record);
            record.pPortName = Relocated(record.pPortName, bytes_.data(), buffer, bytes_.size());
            record.pMonitorName = Relocated(record.pMonitorName, bytes_.data(), buffer, bytes_.size());
            record.pDescription = Relocated(record.pDescription, bytes_.data(), buffer, bytes_.size());
            std::memcpy(buffer + index * sizeof record, &record, sizeof record);
        }
        needed = filled_;
        returned = count_;
        result = TRUE;
        Drop();
        return true;
    }
    Drop();
    return false;
}

void PortPrefetch::Drop()
{
    Await();
    stage_ = Stage::Used;
    bytes_ = std::vector<BYTE>();
}

}  // namespace dovrel::win32
