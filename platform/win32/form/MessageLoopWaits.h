#pragma once

#include <windows.h>

#include <functional>

namespace dovrel::win32 {

// Kernel objects that the message loop waits on beside the window
// messages, so that a signal is handled on the one thread of the program,
// between two messages, with no thread of its own.
class MessageLoopWaits {
public:
    virtual ~MessageLoopWaits() = default;
    // From now on, onSignalled runs from the message loop whenever the
    // handle is signalled, until the wait is removed. It must reset the
    // handle (or remove the wait), or it runs again at once.
    virtual void AddWait(HANDLE handle, std::function<void()> onSignalled) = 0;
    virtual void RemoveWait(HANDLE handle) = 0;

    // Delivers the program's messages, as its loop does, until the handle
    // is signalled: true then. False once the program is to end meanwhile
    // (its window closed, or to close when the running handler returns);
    // the caller then gives up what it waited for. Kernel objects added
    // with AddWait are not looked at meanwhile.
    virtual bool AwaitHandlingMessages(HANDLE handle) = 0;
};

}  // namespace dovrel::win32
