#include "platform/win32/PortPrefetch.h"

#include <process.h>

#include <cstddef>
#include <cstring>
#include <utility>

#include "platform/win32/CallbackGuard.h"

namespace dovrel::win32 {

namespace {

// As often as the refresh asks again when the ports grow between its calls.
constexpr int kAttempts = 4;

// How long the program, as it ends, lets the thread finish its answer.
constexpr DWORD kEndingWaitMs = 1000;

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

}  // namespace

struct PortPrefetch::Fetched {
    // The spooler's library is loaded here, on the program's thread: under
    // Wine its start-up code initialises the window system, which must not
    // happen on a second thread while this one makes the first window.
    Fetched()
        : winspool(L"winspool.drv"), enumPorts(winspool.Get<decltype(&::EnumPortsA)>("EnumPortsA")),
          watch(LoadPortWatchFunctions(winspool))
    {
    }
    // A notification that nobody took.
    ~Fetched()
    {
        if (change != INVALID_HANDLE_VALUE)
            watch.findClose(change);
        if (server)
            watch.closePrinter(server);
    }
    Fetched(const Fetched&) = delete;
    Fetched& operator=(const Fetched&) = delete;

    void ArmNotification() { Win32PortWatch::Arm(watch, server, change); }
    void FetchPorts();

    SystemLibrary winspool;
    decltype(&::EnumPortsA) enumPorts;
    PortWatchFunctions watch;
    // Written by the thread only, read once it has ended.
    HANDLE server = nullptr;
    HANDLE change = INVALID_HANDLE_VALUE;
    std::vector<BYTE> bytes;
    DWORD filled = 0;
    DWORD count = 0;
    bool answered = false;
};

void PortPrefetch::Fetched::FetchPorts()
{
    DWORD needed = 0;
    DWORD records = 0;
    enumPorts(nullptr, 2, nullptr, 0, &needed, &records);
    for (int attempt = 0; attempt < kAttempts && needed > 0; ++attempt) {
        bytes.assign(needed, 0);
        records = 0;
        const DWORD offered = needed;
        if (enumPorts(nullptr, 2, bytes.data(), offered, &needed, &records)) {
            filled = needed <= offered ? needed : offered;
            count = records;
            answered = true;
            return;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return;
    }
}

PortPrefetch::~PortPrefetch()
{
    if (thread_ && !threadEnded_)
        WaitForSingleObject(thread_.Get(), kEndingWaitMs);
}

void PortPrefetch::Start(MessageLoopWaits* waits)
{
    if (stage_ != Stage::None)
        return;
    try {
        auto fetched = std::make_shared<Fetched>();
        auto threadsShare = std::make_unique<std::shared_ptr<Fetched>>(fetched);
        const std::uintptr_t thread = _beginthreadex(nullptr, 0, &PortPrefetch::Fetch, threadsShare.get(), 0, nullptr);
        if (thread == 0)
            return;
        threadsShare.release();  // the thread's now
        thread_.Reset(reinterpret_cast<HANDLE>(thread));
        fetched_ = std::move(fetched);
    } catch (...) {
        return;  // the refresh will say what is wrong
    }
    waits_ = waits;
    stage_ = Stage::Fetching;
}

unsigned __stdcall PortPrefetch::Fetch(void* fetched)
{
    const std::unique_ptr<std::shared_ptr<Fetched>> share(static_cast<std::shared_ptr<Fetched>*>(fetched));
    // Nothing may leave the thread; whatever fails leaves the refresh to ask
    // the spooler itself.
    try {
        (*share)->ArmNotification();
        (*share)->FetchPorts();
    } catch (...) {
    }
    return 0;
}

void PortPrefetch::AwaitThread()
{
    if (!thread_ || threadEnded_)
        return;
    if (!waits_)
        WaitForSingleObject(thread_.Get(), INFINITE);
    else if (!waits_->AwaitHandlingMessages(thread_.Get()))
        throw HandlerAbandoned();
    threadEnded_ = true;
}

void PortPrefetch::Await()
{
    AwaitThread();
    // A command run while it waited may have dropped the answer.
    if (stage_ == Stage::Fetching)
        stage_ = fetched_->answered ? Stage::Ready : Stage::Used;
}

bool PortPrefetch::Answer(LPBYTE buffer, DWORD bufferSize, DWORD& needed, DWORD& returned, BOOL& result)
{
    if (stage_ == Stage::None || stage_ == Stage::Used)
        return false;
    Await();
    const std::vector<BYTE>& bytes = fetched_->bytes;
    if (stage_ == Stage::Ready && !buffer) {
        // The size call: as much as the answer was given.
        needed = static_cast<DWORD>(bytes.size());
        returned = 0;
        result = FALSE;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        stage_ = Stage::SizeGiven;
        return true;
    }
    if (stage_ == Stage::SizeGiven && buffer && bufferSize == bytes.size()) {
        // The data call: the answer, its addresses moved into this buffer.
        std::memcpy(buffer, bytes.data(), bytes.size());
        const std::size_t whole = fetched_->filled / sizeof(PORT_INFO_2A);
        for (std::size_t index = 0; index < fetched_->count && index < whole; ++index) {
            PORT_INFO_2A record;
            std::memcpy(&record, buffer + index * sizeof record, sizeof record);
            record.pPortName = Relocated(record.pPortName, bytes.data(), buffer, bytes.size());
            record.pMonitorName = Relocated(record.pMonitorName, bytes.data(), buffer, bytes.size());
            record.pDescription = Relocated(record.pDescription, bytes.data(), buffer, bytes.size());
            std::memcpy(buffer + index * sizeof record, &record, sizeof record);
        }
        needed = fetched_->filled;
        returned = fetched_->count;
        result = TRUE;
        Drop();
        return true;
    }
    Drop();
    return false;
}

class PortPrefetch::NotificationTakeover final : public PortWatch {
public:
    NotificationTakeover(std::shared_ptr<Fetched> fetched, HANDLE thread, const PortWatchFunctions& functions,
                         MessageLoopWaits& waits, std::function<void()> onChanged)
        : fetched_(std::move(fetched)), thread_(thread), functions_(functions), waits_(waits),
          onChanged_(std::move(onChanged))
    {
        waits_.AddWait(thread_, [this] { TakeOver(); });
    }
    ~NotificationTakeover() override
    {
        if (!watch_)
            waits_.RemoveWait(thread_);
    }
    NotificationTakeover(const NotificationTakeover&) = delete;
    NotificationTakeover& operator=(const NotificationTakeover&) = delete;

private:
    void TakeOver()
    {
        waits_.RemoveWait(thread_);
        const HANDLE server = std::exchange(fetched_->server, nullptr);
        const HANDLE change = std::exchange(fetched_->change, INVALID_HANDLE_VALUE);
        if (server)
            watch_ = std::make_unique<Win32PortWatch>(functions_, waits_, std::move(onChanged_), server, change);
    }

    std::shared_ptr<Fetched> fetched_;
    HANDLE thread_;  // the prefetch's
    const PortWatchFunctions& functions_;
    MessageLoopWaits& waits_;
    std::function<void()> onChanged_;
    std::unique_ptr<Win32PortWatch> watch_;
};

std::unique_ptr<PortWatch> PortPrefetch::TakeOverNotification(const PortWatchFunctions& functions,
                                                              MessageLoopWaits& waits,
                                                              std::function<void()> onChanged)
{
    if (!fetched_)
        return nullptr;
    return std::make_unique<NotificationTakeover>(fetched_, thread_.Get(), functions, waits, std::move(onChanged));
}

void PortPrefetch::Drop()
{
    stage_ = Stage::Used;
    // The answer's bytes are the thread's until it has ended.
    if (fetched_ && threadEnded_)
        fetched_->bytes = std::vector<BYTE>();
}

}  // namespace dovrel::win32
