#include "platform/win32/spooler/PortPrefetch.h"

#include <process.h>

#include <cstddef>
#include <cstring>
#include <utility>

#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/spooler/SpoolerNames.h"

namespace dovrel::win32 {

namespace {

// How long the program, as it ends, lets the thread finish its answer.
constexpr DWORD kEndingWaitMs = 1000;

// Moves a record's string address from the answer's buffer to its copy; an
// address outside the bytes offered becomes null, which reads as no text.
LPSTR Relocated(const SpoolerAnswer& answer, LPSTR address, BYTE* copy)
{
    std::size_t offset = 0;
    return answer.OffsetOf(address, offset) ? reinterpret_cast<LPSTR>(copy + offset) : nullptr;
}

}  // namespace

struct PortPrefetch::Fetched {
    // The spooler's library is loaded here, on the program's thread (see
    // Winspool).
    Fetched(const PrintServer& server, Notification notification)
        : winspool(Winspool()), printServer(server), armsNotification(notification)
    {
    }

    void ArmNotification()
    {
        if (armsNotification == Notification::Armed)
            Win32PortWatch::Arm(winspool.watch, printServer, server, change);
    }
    void FetchPorts()
    {
        answer = SpoolerAnswer::Fetch(AsEnumerationCall([this](LPBYTE buffer, DWORD size, LPDWORD needed,
                                                               LPDWORD count) {
            return winspool.enumPortsA(printServer.Ansi(), 2, buffer, size, needed, count);
        }));
        fetched = true;
    }

    const WinspoolLibrary& winspool;
    const PrintServer printServer;
    const Notification armsNotification;
    // Written by the thread only, taken once it has ended; closed here when
    // nobody took them.
    UniquePrinter server;
    UniquePrinterChange change;
    SpoolerAnswer answer;
    bool fetched = false;
};

PortPrefetch::~PortPrefetch()
{
    if (thread_ && !threadEnded_)
        WaitForSingleObject(thread_.Get(), kEndingWaitMs);
}

void PortPrefetch::Start(MessageLoopWaits* waits, const PrintServer& server, Notification notification)
{
    if (stage_ != Stage::None)
        return;
    try {
        auto fetched = std::make_shared<Fetched>(server, notification);
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
        stage_ = fetched_->fetched ? Stage::Ready : Stage::Used;
}

bool PortPrefetch::Answer(LPBYTE buffer, DWORD bufferSize, DWORD& needed, DWORD& returned, BOOL& result)
{
    if (stage_ == Stage::None || stage_ == Stage::Used)
        return false;
    Await();
    const SpoolerAnswer& answer = fetched_->answer;
    if (stage_ == Stage::Ready && !buffer && !answer.Answered()) {
        // The refusal, at the size call, with no bytes to go on.
        needed = 0;
        returned = 0;
        result = answer.Error() == 0;
        SetLastError(answer.Error());
        Drop();
        return true;
    }
    if (stage_ == Stage::Ready && !buffer) {
        // The size call: as much as the answer was given.
        needed = static_cast<DWORD>(answer.Offered());
        returned = 0;
        result = FALSE;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        stage_ = Stage::SizeGiven;
        return true;
    }
    if (stage_ == Stage::SizeGiven && buffer && bufferSize == answer.Offered()) {
        // The data call: the answer, its addresses moved into this buffer.
        std::memcpy(buffer, answer.Bytes().data(), answer.Offered());
        for (std::size_t index = 0; index < answer.Records(sizeof(PORT_INFO_2A)); ++index) {
            auto record = answer.RecordAt<PORT_INFO_2A>(index);
            record.pPortName = Relocated(answer, record.pPortName, buffer);
            record.pMonitorName = Relocated(answer, record.pMonitorName, buffer);
            record.pDescription = Relocated(answer, record.pDescription, buffer);
            std::memcpy(buffer + index * sizeof record, &record, sizeof record);
        }
        needed = static_cast<DWORD>(answer.Filled());
        returned = static_cast<DWORD>(answer.Returned());
        result = TRUE;
        Drop();
        return true;
    }
    Drop();
    return false;
}

class PortPrefetch::NotificationTakeover final : public PortWatch {
public:
    NotificationTakeover(std::shared_ptr<Fetched> fetched, Borrowed<HANDLE> thread,
                         const PortWatchFunctions& functions, MessageLoopWaits& waits,
                         std::function<void()> onChanged)
        : fetched_(std::move(fetched)), thread_(thread), functions_(functions), waits_(waits),
          onChanged_(std::move(onChanged))
    {
        waits_.AddWait(thread_.Get(), [this] { TakeOver(); });
    }
    ~NotificationTakeover() override
    {
        if (!watch_)
            waits_.RemoveWait(thread_.Get());
    }
    NotificationTakeover(const NotificationTakeover&) = delete;
    NotificationTakeover& operator=(const NotificationTakeover&) = delete;

    // Until the thread has ended, it is not known whether there is a
    // notification to take over.
    bool Watching() const override { return !tookOver_ || (watch_ && watch_->Watching()); }

private:
    void TakeOver()
    {
        waits_.RemoveWait(thread_.Get());
        tookOver_ = true;
        UniquePrinter server = std::move(fetched_->server);
        UniquePrinterChange change = std::move(fetched_->change);
        if (server)
            watch_ = std::make_unique<Win32PortWatch>(functions_, waits_, std::move(onChanged_), std::move(server),
                                                      std::move(change));
    }

    std::shared_ptr<Fetched> fetched_;
    Borrowed<HANDLE> thread_;  // the prefetch's
    const PortWatchFunctions& functions_;
    MessageLoopWaits& waits_;
    std::function<void()> onChanged_;
    std::unique_ptr<Win32PortWatch> watch_;
    bool tookOver_ = false;
};

std::unique_ptr<PortWatch> PortPrefetch::TakeOverNotification(const PortWatchFunctions& functions,
                                                              MessageLoopWaits& waits,
                                                              std::function<void()> onChanged)
{
    if (!fetched_)
        return nullptr;
    return std::make_unique<NotificationTakeover>(fetched_, Borrowed<HANDLE>(thread_), functions, waits,
                                                  std::move(onChanged));
}

void PortPrefetch::Drop()
{
    stage_ = Stage::Used;
    // The answer's bytes are the thread's until it has ended.
    if (fetched_ && threadEnded_)
        fetched_->answer = SpoolerAnswer();
}

}  // namespace dovrel::win32
