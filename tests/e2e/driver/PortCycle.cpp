#include "tests/e2e/driver/PortCycle.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "tests/e2e/driver/Dialogs.h"
#include "tests/e2e/driver/Input.h"
#include "tests/e2e/driver/RemoteList.h"
#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

namespace {

constexpr wchar_t kMonitorAddTitle[] = L"Add a Local Port";
constexpr wchar_t kMonitorBoxTitle[] = L"Local Port";
constexpr int kPromptEditId = 101;
constexpr int kMonitorEditId = 101;

// One port added through the program's prompt and the monitor's dialog and
// deleted again through the program's question, checking after each step
// that the list holds exactly the ports it held before, plus the new one
// while it exists. The prompt's offer is taken as it is unless a monitor
// name is given to type over it.
class PortCycle {
public:
    PortCycle(HWND ports, std::wstring monitor)
        : ports_(ports), list_(MainList(ports)), remote_(list_), before_(SortedPorts()), monitor_(std::move(monitor))
    {
    }

    void Run(const std::wstring& port)
    {
        Add(port);
        Delete(port);
    }

    const std::string& Step() const { return step_; }

private:
    void Add(const std::wstring& port)
    {
        step_ = "\"Add...\" opens the prompt";
        PressButton(ports_, L"Add...");
        HWND prompt = WaitDialog(kProgramTitle, kDefaultWaitMs);
        HWND edit = GetDlgItem(prompt, kPromptEditId);
        if (!edit || !HasClass(edit, WC_EDITW))
            throw Failure(Utf8(L"a box without a field opened instead: " + StaticTexts(prompt)));
        const std::wstring offered = ControlText(edit);
        if (_wcsicmp(offered.c_str(), L"Local Port") != 0)
            throw Failure(Utf8(L"the prompt offers " + Quoted(offered) + L", expected \"Local Port\""));
        if (!monitor_.empty() && !Ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(monitor_.c_str())))
            throw Failure("the prompt's field refused the monitor name");

        step_ = "OK in the prompt";
        PressButton(prompt, L"OK");
        WaitClosed(prompt);

        step_ = "the monitor's dialog opens";
        HWND monitor = WaitDialog(kMonitorAddTitle, kDefaultWaitMs);
        HWND field = GetDlgItem(monitor, kMonitorEditId);
        if (!field || !Ask(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(port.c_str())))
            throw Failure("the monitor's dialog has no field for the name");

        step_ = "OK in the monitor's dialog";
        PressButton(monitor, L"OK");
        WaitClosedUnlessRefused(monitor);

        step_ = "the list shows the new port";
        std::vector<std::wstring> expected = before_;
        expected.push_back(port);
        std::sort(expected.begin(), expected.end());
        WaitPorts(expected);
    }

    void Delete(const std::wstring& port)
    {
        step_ = "selecting the new port's row";
        SelectPort(port);

        step_ = "\"Delete...\" asks about the port";
        PressButton(ports_, L"Delete...");
        HWND question = WaitDialog(kProgramTitle, kDefaultWaitMs);
        const std::wstring texts = StaticTexts(question);
        if (texts != Quoted(Escaped(port + L"\r\n\r\nDelete port?")))
            throw Failure(Utf8(L"the box says " + texts));

        step_ = "OK in the question";
        PressButton(question, L"OK");
        WaitClosed(question);

        step_ = "the port leaves the list";
        WaitPorts(before_);
    }

    std::vector<std::wstring> SortedPorts()
    {
        std::vector<std::wstring> names;
        const int rows = remote_.RowCount();
        for (int row = 0; row < rows; ++row)
            names.push_back(remote_.CellText(row, 0));
        std::sort(names.begin(), names.end());
        return names;
    }

    void WaitPorts(const std::vector<std::wstring>& expected)
    {
        std::vector<std::wstring> listed;
        if (!PollClosely(kDefaultWaitMs, [&] { return (listed = SortedPorts()) == expected; })) {
            std::wstring text;
            for (const auto& name : listed)
                text += L" " + Quoted(name);
            throw Failure(Utf8(L"after " + std::to_wstring(kDefaultWaitMs) + L" ms the list holds" + text + L"; " +
                               DescribeVisibleWindows()));
        }
    }

    void SelectPort(const std::wstring& port)
    {
        int row = -1;
        const int rows = remote_.RowCount();
        for (int i = 0; i < rows && row < 0; ++i) {
            if (remote_.CellText(i, 0) == port)
                row = i;
        }
        if (row < 0)
            throw Failure("the port is not in the list");
        const LPARAM centre = CentreOf(remote_.RowRect(row));
        Ask(list_, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        Ask(list_, WM_LBUTTONUP, 0, centre);
        if (remote_.SelectedRows() != std::vector<int>{row})
            throw Failure("row " + std::to_string(row) + " is not the only row selected after the click on it");
    }

    static void WaitClosed(HWND dialog)
    {
        if (!PollClosely(kDefaultWaitMs, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }))
            throw Failure(Utf8(L"the dialog " + Quoted(WindowText(dialog)) + L" is still open"));
    }

    // The monitor keeps its dialog open under a box of its own when it
    // refuses a name.
    static void WaitClosedUnlessRefused(HWND dialog)
    {
        HWND refusal = nullptr;
        const bool closed = PollClosely(kDefaultWaitMs, [&] {
            refusal = FindTopWindow(kMonitorBoxTitle, true);
            return refusal || !IsWindow(dialog) || !IsWindowVisible(dialog);
        });
        if (refusal)
            throw Failure(Utf8(L"the monitor refused the name: " + StaticTexts(refusal)));
        if (!closed)
            throw Failure("the monitor's dialog is still open");
    }

    HWND ports_;
    HWND list_;
    RemoteList remote_;
    std::vector<std::wstring> before_;
    std::wstring monitor_;
    std::string step_;
};

// The pattern's first run of '#' becomes the number, padded with zeros to
// the run's length.
std::wstring NumberedName(const std::wstring& pattern, long number)
{
    const size_t first = pattern.find(L'#');
    if (first == std::wstring::npos)
        throw UsageError("the name pattern needs a run of '#' for the cycle's number");
    const size_t length = pattern.find_first_not_of(L'#', first) == std::wstring::npos
                              ? pattern.size() - first
                              : pattern.find_first_not_of(L'#', first) - first;
    std::wstring digits = std::to_wstring(number);
    if (digits.size() < length)
        digits.insert(0, length - digits.size(), L'0');
    return pattern.substr(0, first) + digits + pattern.substr(first + length);
}

}  // namespace

void CyclePorts(const Args& args)
{
    const long cycles = ParseNumber(args[0], L"the number of cycles");
    if (cycles < 1)
        throw UsageError("at least one cycle");
    HWND ports = MainWindow();
    PortCycle cycle(ports, args.size() > 2 ? args[2] : L"");
    constexpr long kReportEvery = 50;
    const ULONGLONG started = GetTickCount64();
    ULONGLONG lapStarted = started;
    for (long i = 1; i <= cycles; ++i) {
        const std::wstring port = NumberedName(args[1], i);
        try {
            cycle.Run(port);
        } catch (const Failure& e) {
            const std::string ended = IsWindow(ports) ? "" : "; the window \"Ports\" is gone: the program has ended";
            throw Failure("cycle " + std::to_string(i) + " of " + std::to_string(cycles) + " (" + Utf8(port) +
                          "), " + cycle.Step() + ": " + e.what() + ended);
        }
        if (i % kReportEvery == 0 || i == cycles) {
            const ULONGLONG now = GetTickCount64();
            const long lap = (i - 1) % kReportEvery + 1;
            Print(L"cycles " + std::to_wstring(i - lap + 1) + L"-" + std::to_wstring(i) + L": " +
                  std::to_wstring((now - lapStarted) / static_cast<ULONGLONG>(lap)) + L" ms each");
            lapStarted = now;
        }
    }
    const ULONGLONG ms = GetTickCount64() - started;
    Print(L"cycles: " + std::to_wstring(cycles) + L" in " + std::to_wstring(ms / 1000) + L"." +
          std::to_wstring(ms / 100 % 10) + L" s");
}

}  // namespace e2e
