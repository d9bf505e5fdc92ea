// floor.exe: the floor window on its own, started as Dovrel.exe is.
//   floor                 the local spooler's ports (EnumPortsA, level 2)
//   floor --prepared N    N prepared ports
// dressed_floor.exe is the same program built with DOVREL_DRESSED_FLOOR: the
// floor in the port window's dress (its buttons and icon, and the program's
// manifest: common controls 6, aware of the screen's dots per inch).
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdlib>
#include <cwchar>
#include <exception>
#include <memory>
#include <vector>

#include "bench/BenchPorts.h"
#include "bench/FloorWindow.h"

namespace {

#ifdef DOVREL_DRESSED_FLOOR
constexpr auto kDress = dovrel::bench::FloorWindow::Dress::PortWindow;
#else
constexpr auto kDress = dovrel::bench::FloorWindow::Dress::Plain;
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        dovrel::bench::FloorWindow floor(L"Ports", kDress);
        floor.Show();

        std::vector<std::uint8_t> buffer;
        DWORD records = 0;
        if (__argc == 3 && std::wcscmp(__wargv[1], L"--prepared") == 0) {
            dovrel::bench::PreparedSpooler spooler(dovrel::bench::MakePorts(std::wcstoul(__wargv[2], nullptr, 10)));
            std::int32_t bytes = 0, returned = 0;
            spooler.EnumPortsA(nullptr, 0, bytes, returned);
            buffer.resize(static_cast<std::size_t>(bytes));
            spooler.EnumPortsA(buffer.data(), static_cast<std::uint32_t>(bytes), bytes, returned);
            records = static_cast<DWORD>(returned);
        } else {
            DWORD needed = 0;
            EnumPortsA(nullptr, 2, nullptr, 0, &needed, &records);
            buffer.resize(needed);
            if (!EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &records))
                return 1;
        }
        floor.Fill(buffer.data(), records);
        UpdateWindow(floor.Window());

        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return 0;
    } catch (const std::exception&) {
        return 1;
    }
}
