// The entry point of Dovrel.exe: the Win32 platform under the program.
#include <windows.h>

#include "app/modMain.h"
#include "platform/Error.h"
#include "platform/win32/Application.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/Win32Support.h"

namespace {

constexpr int kStartFailed = 1;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace dovrel::win32;
    try {
        LoadLibrariesFromSystemFolderOnly();
        Win32Forms runtime(kApplicationTitle);
        Win32SupportLibrary support(runtime.RuntimeMainWindow());
        Win32Spooler spooler;
        dovrel::modMain::Program program{runtime, support, spooler, nullptr};

        // An error before the window is shown is reported, and ends the
        // program once what it made is gone: there is no window to go on with.
        if (!DispatchEvent([&] { dovrel::modMain::Main(program); }) || !runtime.MainFormShown())
            return kStartFailed;
        return runtime.Run();
    } catch (...) {
        ReportCurrentError();
    }
    return kStartFailed;
}
