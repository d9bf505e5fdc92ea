// The entry point of Dovrel.exe: the Win32 platform under the program.
#include <windows.h>

#include "app/modMain.h"
#include "platform/Error.h"
#include "platform/win32/EventDispatch.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/Win32Support.h"

namespace {

constexpr wchar_t kAppTitle[] = L"Orvane - Dovrel";

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        dovrel::win32::LoadLibrariesFromSystemFolderOnly();
        dovrel::win32::Win32Forms runtime(kAppTitle);
        dovrel::win32::Win32SupportLibrary support(runtime.RuntimeMainWindow());
        dovrel::win32::Win32Spooler spooler;
        dovrel::modMain::Program program{runtime, support, spooler, nullptr};

        // An error before the window is shown is reported and ends the
        // program: there is no window to go on with.
        dovrel::win32::DispatchEvent([&] { dovrel::modMain::Main(program); });
        return runtime.Run();
    } catch (const dovrel::Error& error) {
        MessageBoxW(nullptr, error.Description().c_str(), kAppTitle, MB_OK | MB_ICONERROR);
    } catch (const std::exception&) {
        MessageBoxW(nullptr, L"Dovrel could not start.", kAppTitle, MB_OK | MB_ICONERROR);
    }
    return 1;
}
