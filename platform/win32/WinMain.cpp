// The entry point of Dovrel.exe: the Win32 platform under the program.
#include <windows.h>

#include "app/modMain.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/Win32SupportLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace dovrel::win32;
    SetErrorReportTitle(dovrel::modMain::kApplicationTitle);
    try {
        LoadLibrariesFromSystemFolderOnly();
        // The spooler's first answer is fetched while the window is made.
        Win32Spooler spooler;
        spooler.StartFirstEnumeration();
        Win32Forms runtime(dovrel::modMain::kApplicationTitle);
        Win32SupportLibrary support(runtime);
        spooler.WatchChangesThrough(runtime);
        dovrel::modMain::Program program{runtime, support, spooler, nullptr};

        // An error before the window is shown ends the program: there is no
        // window to go on with.
        return runtime.RunProgram([&] { dovrel::modMain::Main(program); });
    } catch (...) {
        ReportCurrentError();
    }
    return Win32Forms::kStartFailed;
}
