#pragma once

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <vector>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/UniqueHandle.h"

namespace dovrel::win32 {

// The spooler's first answer to EnumPortsA at level 2, fetched on a thread of
// its own while the window is being made, so that the first refresh finds it
// ready instead of waiting for the spooler's libraries to load and answer.
// Only the first refresh's size call and data call are answered from it; any
// other use of the spooler drops it. A thread that could not get an answer
// leaves those calls to the spooler itself.
class PortPrefetch {
public:
    PortPrefetch() = default;
    // Waits for the thread, should it still be asking.
    ~PortPrefetch();
    PortPrefetch(const PortPrefetch&) = delete;
    PortPrefetch& operator=(const PortPrefetch&) = delete;

    // Starts the thread; nothing happens when it cannot be started.
    void Start();

    // Answers an EnumPortsA call at level 2 from the prefetched answer, as
    // the spooler would, waiting for it (and painting the program's windows
    // meanwhile) if need be. False when the call is not one the answer can
    // serve; the caller then asks the spooler.
    bool Answer(LPBYTE buffer, DWORD bufferSize, DWORD& needed, DWORD& returned, BOOL& result);

    // Waits for the thread and forgets its answer.
    void Drop();

private:
    static unsigned __stdcall Fetch(void* self);
    void FetchPorts();
    void Await();

    enum class Stage { None, Fetching, Ready, SizeGiven, Used };

    Stage stage_ = Stage::None;
    UniqueKernelHandle thread_;
    std::unique_ptr<SystemLibrary> winspool_;
    // Written by the thread only, read once it has ended.
    std::vector<BYTE> bytes_;
    DWORD filled_ = 0;
    DWORD count_ = 0;
    bool answered_ = false;
};

}  // namespace dovrel::win32
