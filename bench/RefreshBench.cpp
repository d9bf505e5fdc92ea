// refresh_bench: the port window's refresh beside the floor (FloorWindow), on
// prepared ports served by PreparedSpooler.
//
//   refresh_bench time [SIZES [RUNS]]   SIZES and RUNS comma-separated, e.g.
//                                       1000,10000 and 5,5; prints a table of
//                                       medians
//   refresh_bench profile SIZE          the port window's refresh step by step
//   refresh_bench memory floor|program SIZE
//                                       one refresh, then the process's peak
//                                       memory as one table line
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchPorts.h"
#include "app/frmMainDesign.h"
#include "bench/FloorWindow.h"
#include "listview/modListViewSupport.h"
#include "platform/win32/form/Win32FormsRuntime.h"
#include "platform/win32/system/Win32SupportLibrary.h"
#include "ports/PortList.h"

namespace {

using namespace dovrel;
using dovrel::bench::NowMs;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Configures the list as the port window does when it loads, then shows
// the window, so that both measured paths start from the same state.
void ShowLikeThePortWindow(FormControls& controls)
{
    ListViewControl& lvPorts = controls.ListView("lvPorts");
    lvPorts.SetBorderStyle(ListBorderStyle::None);
    lvPorts.SetHideSelection(false);
    lvPorts.SetLabelEdit(ListLabelEdit::Manual);
    lvPorts.SetMultiSelect(false);
    lvPorts.SetView(ListViewView::Report);
    modListViewSupport::ListViewFullRowSelect(lvPorts, kTrue);
    modListViewSupport::ListViewGridLines(lvPorts, kTrue);
    modListViewSupport::ListViewLabelTip(lvPorts, kTrue);
    for (const wchar_t* title : {L"Name", L"Monitor", L"Description", L"Type"})
        lvPorts.ColumnHeaders().Add(title);
    controls.TheForm().Show();
    PumpMessages();
}

std::wstring CellText(HWND list, int row)
{
    wchar_t text[300] = {};
    LVITEMW item = {};
    item.pszText = text;
    item.cchTextMax = 300;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// A timing of a list that was not filled would be worthless: both sides
// must end with every port, the same first row, and that row selected.
void CheckFilled(const char* side, HWND list, std::size_t count, const std::wstring& firstName)
{
    const auto rows = static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const auto selected = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    const std::wstring first = rows ? CellText(list, 0) : L"";
    if (rows != count || selected != 0 || first != firstName)
        throw Failure(std::string(side) + ": " + std::to_string(rows) + " rows of " + std::to_string(count) +
                      ", selected row " + std::to_string(selected) + ", first row \"" + Narrow(first) +
                      "\", expected \"" + Narrow(firstName) + "\"");
}

std::wstring FirstName(const std::vector<bench::PortRecord>& ports)
{
    const auto first = std::min_element(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.name.c_str(), -1, b.name.c_str(), -1) ==
               CSTR_LESS_THAN;
    });
    return first == ports.end() ? L"" : std::wstring(first->name.begin(), first->name.end());
}

// One refresh of the floor: the same two spooler calls, the rows, the paint.
double RunFloor(Spooler& spooler, std::size_t count, const std::wstring& firstName)
{
    bench::FloorWindow floor(L"Ports (floor)");
    floor.Show();
    PumpMessages();

    const double start = NowMs();
    std::int32_t bytes = 0, records = 0;
    spooler.EnumPortsA(nullptr, 0, bytes, records);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bytes));
    if (!spooler.EnumPortsA(buffer.data(), static_cast<std::uint32_t>(bytes), bytes, records).done)
        throw Failure("floor: the spooler stand-in refused the data call");
    floor.Fill(buffer.data(), static_cast<std::size_t>(records));
    UpdateWindow(floor.Window());
    const double elapsed = NowMs() - start;

    CheckFilled("floor", floor.List(), count, firstName);
    return elapsed;
}

// One refresh of the port window, made and set up as the program does.
double RunProgram(Spooler& spooler, std::size_t count, const std::wstring& firstName)
{
    win32::Win32FormsRuntime runtime(L"Orvane - Dovrel");
    win32::Win32SupportLibrary support(runtime);
    FormControls& controls = runtime.CreateForm(frmMainDesign());
    ListViewControl& lvPorts = controls.ListView("lvPorts");
    ShowLikeThePortWindow(controls);
    PortList ports(lvPorts, runtime, support, spooler, [&controls](bool holdsRows) {
        controls.Button("cmdDelete").SetEnabled(holdsRows);
        controls.Button("cmdSettings").SetEnabled(holdsRows);
    });

    const double start = NowMs();
    ports.RefreshPorts();
    UpdateWindow(reinterpret_cast<HWND>(controls.TheForm().hWnd()));
    const double elapsed = NowMs() - start;

    CheckFilled("program", reinterpret_cast<HWND>(lvPorts.hWnd()), count, firstName);
    return elapsed;
}

std::vector<long> ParseList(const char* text)
{
    std::vector<long> values;
    std::stringstream stream(text);
    std::string piece;
    while (std::getline(stream, piece, ','))
        values.push_back(std::strtol(piece.c_str(), nullptr, 10));
    return values;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

const char* Verdict(bool met)
{
    return met ? "met" : "MISSED";
}

int TimeBoth(const std::vector<long>& sizes, const std::vector<long>& runs)
{
    {
        // The first window of each kind pays for loading and registering.
        const auto records = bench::MakePorts(200);
        bench::PreparedSpooler spooler(records);
        RunFloor(spooler, records.size(), FirstName(records));
        RunProgram(spooler, records.size(), FirstName(records));
        PumpMessages();
    }
    std::printf("| ports | runs | floor median (ms) | program median (ms) | program / floor |\n");
    std::printf("|---:|---:|---:|---:|---:|\n");
    std::fflush(stdout);
    std::vector<double> programMedians, floorMedians;
    for (std::size_t s = 0; s < sizes.size(); ++s) {
        const auto count = static_cast<std::size_t>(sizes[s]);
        const long runCount = runs.empty() ? 3 : runs[std::min(s, runs.size() - 1)];
        const auto records = bench::MakePorts(count);
        const std::wstring firstName = FirstName(records);
        bench::PreparedSpooler spooler(records);
        std::vector<double> floorTimes, programTimes;
        for (long run = 0; run < runCount; ++run) {
            floorTimes.push_back(RunFloor(spooler, count, firstName));
            PumpMessages();
            programTimes.push_back(RunProgram(spooler, count, firstName));
            PumpMessages();
        }
        floorMedians.push_back(Median(floorTimes));
        programMedians.push_back(Median(programTimes));
        std::printf("| %zu | %ld | %.1f | %.1f | %.2f |\n", count, runCount, floorMedians.back(),
                    programMedians.back(), programMedians.back() / floorMedians.back());
        std::fflush(stdout);
    }

    auto find = [&](long size) -> long {
        const auto at = std::find(sizes.begin(), sizes.end(), size);
        return at == sizes.end() ? -1 : static_cast<long>(at - sizes.begin());
    };
    const long at10k = find(10000), at100k = find(100000);
    std::printf("\n");
    if (at10k >= 0) {
        const double ratio = programMedians[at10k] / floorMedians[at10k];
        std::printf("- refresh / floor at 10,000: %.2f (target <= 1.3: %s)\n", ratio, Verdict(ratio <= 1.3));
    }
    if (at100k >= 0) {
        const double ratio = programMedians[at100k] / floorMedians[at100k];
        std::printf("- refresh / floor at 100,000: %.2f (target <= 1.5: %s)\n", ratio, Verdict(ratio <= 1.5));
    }
    if (at10k >= 0 && at100k >= 0) {
        const double growth = programMedians[at100k] / programMedians[at10k];
        const double floorGrowth = floorMedians[at100k] / floorMedians[at10k];
        std::printf("- program time(100k) / time(10k): %.2f (target <= 12: %s); floor: %.2f\n", growth,
                    Verdict(growth <= 12), floorGrowth);
    }
    return 0;
}

// The steps of PortList::RefreshPorts one by one, each timed, on a port
// window made as for the timing.
int Profile(long size)
{
    const auto count = static_cast<std::size_t>(size);
    const auto records = bench::MakePorts(count);
    bench::PreparedSpooler spooler(records);
    RunProgram(spooler, count, FirstName(records));  // warms up as the table does
    PumpMessages();

    win32::Win32FormsRuntime runtime(L"Orvane - Dovrel");
    win32::Win32SupportLibrary support(runtime);
    FormControls& controls = runtime.CreateForm(frmMainDesign());
    ListViewControl& lvPorts = controls.ListView("lvPorts");
    ShowLikeThePortWindow(controls);
    PortList ports(lvPorts, runtime, support, spooler, [&controls](bool holdsRows) {
        controls.Button("cmdDelete").SetEnabled(holdsRows);
        controls.Button("cmdSettings").SetEnabled(holdsRows);
    });

    std::printf("| step (%zu ports) | ms |\n|---|---:|\n", count);
    auto step = [](const char* name, const std::function<void()>& work) {
        const double start = NowMs();
        work();
        std::printf("| %s | %.1f |\n", name, NowMs() - start);
    };
    SpoolerAnswer buffer;
    step("buttons off, hourglass", [&] {
        controls.Button("cmdDelete").SetEnabled(false);
        controls.Button("cmdSettings").SetEnabled(false);
        runtime.SetScreenMousePointer(MousePointer::Hourglass);
    });
    step("sort on name, clear", [&] {
        modListViewSupport::ListViewSortByColumn(lvPorts, 1);
        lvPorts.ListItems().Clear();
    });
    step("spooler calls", [&] {
        buffer = SpoolerAnswer::Fetch(
            [&](std::uint8_t* data, std::uint32_t size, std::int32_t& bytesNeeded, std::int32_t& returned) {
                return spooler.EnumPortsA(data, size, bytesNeeded, returned);
            },
            11);
    });
    step("rows (ParsePortInfo)", [&] {
        for (std::int32_t index = 0; index < buffer.Returned(); ++index)
            ports.ParsePortInfo(buffer, index);
    });
    step("buttons on", [&] {
        controls.Button("cmdDelete").SetEnabled(true);
        controls.Button("cmdSettings").SetEnabled(true);
    });
    step("order the rows (first look at a position)", [&] { lvPorts.ListItems().Item(1); });
    step("column widths", [&] { modListViewSupport::ListViewAutoSizeColumns(lvPorts, kTrue); });
    step("select the first row", [&] { modListViewSupport::ListViewSelectItem(lvPorts, 1); });
    step("pointer back", [&] { runtime.SetScreenMousePointer(MousePointer::Default); });
    step("paint (UpdateWindow)", [&] { UpdateWindow(reinterpret_cast<HWND>(controls.TheForm().hWnd())); });
    PumpMessages();
    // Parts of the rows step measured alone: the text conversions, and the
    // repaint request that each new sub-item makes.
    const HWND list = reinterpret_cast<HWND>(lvPorts.hWnd());
    step("  alone: 3 text conversions per row", [&] {
        for (std::int32_t index = 0; index < buffer.Returned(); ++index) {
            const auto info = buffer.RecordAt<PortInfo2>(static_cast<std::size_t>(index));
            for (const char* text : {info.pPortName, info.pMonitorName, info.pDescription})
                support.StringFromAnsiPointer(text);
        }
    });
    step("  alone: 3 InvalidateRect of the list per row", [&] {
        for (std::int32_t index = 0; index < 3 * buffer.Returned(); ++index)
            InvalidateRect(list, nullptr, FALSE);
    });
    ValidateRect(list, nullptr);
    step("whole RefreshPorts again, then paint", [&] {
        ports.RefreshPorts();
        UpdateWindow(reinterpret_cast<HWND>(controls.TheForm().hWnd()));
    });
    CheckFilled("program", reinterpret_cast<HWND>(lvPorts.hWnd()), count, FirstName(records));
    return 0;
}

int Memory(const std::string& side, long size)
{
    const auto count = static_cast<std::size_t>(size);
    const auto records = bench::MakePorts(count);
    const std::wstring firstName = FirstName(records);
    bench::PreparedSpooler spooler(records);
    const bench::MemoryFigures before = bench::ProcessMemory();
    double ms = 0;
    if (side == "floor")
        ms = RunFloor(spooler, count, firstName);
    else if (side == "program")
        ms = RunProgram(spooler, count, firstName);
    else
        throw Failure("the side is floor or program, not " + side);
    const bench::MemoryFigures after = bench::ProcessMemory();
    const double mb = 1024.0 * 1024.0;
    // Columns: side, ports, peak working set, peak pagefile, both before the
    // refresh (Wine and the prepared ports), time.
    std::printf("| %s | %zu | %.1f | %.1f | %.1f | %.1f | %.0f |\n", side.c_str(), count,
                after.peakWorkingSet / mb, after.peakPagefile / mb, before.peakWorkingSet / mb,
                before.peakPagefile / mb, ms);
    return 0;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: refresh_bench time [SIZES [RUNS]]\n"
                 "       refresh_bench profile SIZE\n"
                 "       refresh_bench memory floor|program SIZE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        const std::string mode = argc > 1 ? argv[1] : "time";
        if (mode == "time")
            return TimeBoth(ParseList(argc > 2 ? argv[2] : "1000,10000,50000,100000"),
                            ParseList(argc > 3 ? argv[3] : "5,5,3,3"));
        if (mode == "profile" && argc == 3)
            return Profile(std::strtol(argv[2], nullptr, 10));
        if (mode == "memory" && argc == 4)
            return Memory(argv[2], std::strtol(argv[3], nullptr, 10));
        return Usage();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "refresh_bench: %s\n", error.what());
        return 1;
    }
}
