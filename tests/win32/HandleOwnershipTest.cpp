#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/spooler/Win32PortWatch.h"

namespace {

using testing::ElementsAre;

// What the stand-in spooler and message loop were asked, in order.
std::vector<std::string> calls;
bool notificationRefused = false;

BOOL WINAPI OpenServer(LPWSTR, LPHANDLE printer, LPPRINTER_DEFAULTSW)
{
    *printer = reinterpret_cast<HANDLE>(1);
    return TRUE;
}
BOOL WINAPI CloseServer(HANDLE)
{
    calls.push_back("ClosePrinter");
    return TRUE;
}
HANDLE WINAPI FindFirst(HANDLE, DWORD, DWORD, LPVOID)
{
    return notificationRefused ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(2);
}
BOOL WINAPI FindNext(HANDLE, PDWORD, LPVOID, LPVOID*) { return TRUE; }
BOOL WINAPI CloseNotification(HANDLE)
{
    calls.push_back("FindClose");
    return TRUE;
}

class Waits final : public dovrel::win32::MessageLoopWaits {
    void AddWait(HANDLE, std::function<void()>) override { calls.push_back("AddWait"); }
    void RemoveWait(HANDLE) override { calls.push_back("RemoveWait"); }
    bool AwaitHandlingMessages(HANDLE) override { return true; }
};

// The print server and its notification are owned by closers that carry
// the spooler's entry points through every move: each is closed once, the
// notification first, and a server whose notification was refused at once.
TEST(HandleOwnershipTest, APortWatchClosesItsNotificationThenItsServerEachOnce)
{
    const dovrel::win32::PortWatchFunctions spooler = {OpenServer, CloseServer, FindFirst, FindNext,
                                                       CloseNotification};
    Waits waits;
    calls.clear();
    notificationRefused = true;
    EXPECT_EQ(dovrel::win32::Win32PortWatch::Start(spooler, dovrel::win32::PrintServer(), waits, {}), nullptr);
    EXPECT_THAT(calls, ElementsAre("ClosePrinter"));

    calls.clear();
    notificationRefused = false;
    auto watch = dovrel::win32::Win32PortWatch::Start(spooler, dovrel::win32::PrintServer(), waits, {});
    ASSERT_NE(watch, nullptr);
    EXPECT_THAT(calls, ElementsAre("AddWait"));
    watch.reset();
    EXPECT_THAT(calls, ElementsAre("AddWait", "RemoveWait", "FindClose", "ClosePrinter"));
}

}  // namespace
