#pragma once

#include <windows.h>
#include <winspool.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/SpoolerAnswer.h"
#include "platform/win32/form/MessageLoopWaits.h"
#include "platform/win32/spooler/PrintServer.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/system/UniqueHandle.h"
#include "platform/win32/spooler/Win32PortWatch.h"

namespace dovrel::win32 {

// The spooler's answer to EnumPortsA at level 2, fetched on a thread of its
// own: the first one while the window is being made, so that the first
// refresh finds it ready instead of waiting for the spooler's libraries to
// load and answer; for a print server elsewhere, every one, so that a slow
// server does not keep the window from taking input. Before the first one
// asks, the thread arms the spooler's notification of port changes, so that
// a change made after its answer is not missed.
// Only the next refresh's size call and data call are answered from it
// (a refusal as the spooler refused); any other use of the spooler drops
// it. A thread that could not be started leaves those calls to the spooler
// itself.
//
// Waiting for the thread, the program's messages are delivered through the
// message loop given to Start, so that a spooler that does not answer leaves
// a window that still takes input and closes; when the program is to end
// meanwhile, the wait raises HandlerAbandoned.
class PortPrefetch {
public:
    PortPrefetch() = default;
    // Waits for the thread a short while at most: a spooler that does not
    // answer must not keep the program from ending.
    ~PortPrefetch();
    PortPrefetch(const PortPrefetch&) = delete;
    PortPrefetch& operator=(const PortPrefetch&) = delete;

    enum class Notification { Armed, NotArmed };

    // Starts the thread, once; nothing happens when it cannot be started.
    // Without `waits`, waiting for it is plain waiting.
    void Start(MessageLoopWaits* waits, const PrintServer& server, Notification notification);
    // Whether the answer is still to come or to be given.
    bool Pending() const { return stage_ == Stage::Fetching || stage_ == Stage::Ready || stage_ == Stage::SizeGiven; }

    // Answers an EnumPortsA call at level 2 from the prefetched answer, as
    // the spooler would, waiting for it if need be. False when the call is
    // not one the answer can serve; the caller then asks the spooler.
    bool Answer(LPBYTE buffer, DWORD bufferSize, DWORD& needed, DWORD& returned, BOOL& result);

    // A watch that takes over the notification the thread armed, from the
    // message loop once the thread has ended; a change made since then
    // signals at once. Null when there is no thread, and the caller then
    // watches on its own. It must go before this object.
    std::unique_ptr<PortWatch> TakeOverNotification(const PortWatchFunctions& functions, MessageLoopWaits& waits,
                                                    std::function<void()> onChanged);

    // Forgets the answer.
    void Drop();

private:
    // Shared with the thread, which may outlive this object when the program
    // ends while the spooler does not answer.
    struct Fetched;
    class NotificationTakeover;
    static unsigned __stdcall Fetch(void* fetched);
    void AwaitThread();
    void Await();

    enum class Stage { None, Fetching, Ready, SizeGiven, Used };

    Stage stage_ = Stage::None;
    MessageLoopWaits* waits_ = nullptr;
    bool threadEnded_ = false;
    std::shared_ptr<Fetched> fetched_;
    UniqueKernelHandle thread_;
};

}  // namespace dovrel::win32
