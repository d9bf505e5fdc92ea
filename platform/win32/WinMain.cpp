// The entry point of Dovrel.exe: the Win32 platform under the program.
#include <windows.h>

#include "app/modMain.h"
#include "platform/win32/form/CallbackGuard.h"
#include "platform/win32/system/ProgramArguments.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/form/Win32FormsRuntime.h"
#include "platform/win32/spooler/Win32Spooler.h"
#include "platform/win32/system/Win32SupportLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace dovrel::win32;
    try {
        LoadLibrariesFromSystemFolderOnly();
        const auto portsToShow = dovrel::PortsAskedFor(ProgramArguments());
        Win32Spooler spooler(PrintServer(portsToShow ? portsToShow->server : std::wstring()));
        Win32FormsRuntime runtime(dovrel::modMain::kApplicationTitle);
        // The spooler's first answer is fetched while the window first
        // paints: earlier, its libraries would be loaded against the
        // window's own, which share the loader's lock.
        runtime.WhenFormFirstShown([&] { spooler.StartFirstEnumeration(); });
        Win32SupportLibrary support(runtime);
        spooler.WatchChangesThrough(runtime);
        dovrel::modMain::Program program{runtime, support, spooler, portsToShow, nullptr};

        // An error before the window is shown ends the program: there is no
        // window to go on with.
        return runtime.RunProgram([&] { dovrel::modMain::Main(program); });
    } catch (...) {
        // The runtime, which captions the reports, is gone or never was.
        ReportCurrentError(dovrel::modMain::kApplicationTitle);
    }
    return Win32FormsRuntime::kStartFailed;
}
