// e2e_driver: drives a running Dovrel.exe from outside, as a person would,
// one command per run. It runs under Wine in the same prefix as the program;
// results go to stdout as UTF-8, failures to stderr with exit code 1 (2 for a
// malformed command line).
#include <algorithm>
#include <iterator>

#include "tests/e2e/driver/Common.h"
#include "tests/e2e/driver/Dialogs.h"
#include "tests/e2e/driver/Focus.h"
#include "tests/e2e/driver/Input.h"
#include "tests/e2e/driver/ListCommands.h"
#include "tests/e2e/driver/Menus.h"
#include "tests/e2e/driver/PortCycle.h"
#include "tests/e2e/driver/ProcessFigures.h"
#include "tests/e2e/driver/Registry.h"
#include "tests/e2e/driver/Session.h"
#include "tests/e2e/driver/Spooler.h"
#include "tests/e2e/driver/WindowSearch.h"

using namespace e2e;

namespace {

struct Command {
    const wchar_t* name;
    const char* usage;
    size_t minArgs;
    size_t maxArgs;
    void (*run)(const Args&);
};

const Command kCommands[] = {
    {L"wait-window", "wait-window TITLE [ms]      a visible top-level window with exactly this caption", 1, 2,
     WaitWindow},
    {L"wait-gone", "wait-gone TITLE [ms]        no visible window with exactly this caption", 1, 2, WaitGone},
    {L"wait-rows", "wait-rows N [ms]            the list of \"Ports\" has at least N rows", 1, 2, WaitRows},
    {L"list", "list                        every row, tab-separated, then \"selected: ROWS\"", 0, 0, List},
    {L"columns", "columns                     every column: INDEX, WIDTH, HEADER-TEXT-WIDTH, CELL-TEXT-WIDTH, TEXT", 0, 0, Columns},
    {L"click", "click CAPTION [WINDOW]      posts BM_CLICK to a button of \"Ports\" (or WINDOW)", 1, 2, Click},
    {L"header-click", "header-click COLUMN         clicks a column header (text, or number from 0)", 1, 1,
     HeaderClick},
    {L"select-row", "select-row N                clicks row N of the list (from 0); fails unless it alone is selected", 1,
     1, SelectRow},
    {L"set-selection", "set-selection N             selects row N alone by LVM_SETITEMSTATE, as an assistive tool does",
     1, 1, SetSelection},
    {L"top-row", "top-row                     the row at the top of the list's view (from 0)", 0, 0, TopRow},
    {L"wait-selected", "wait-selected N [ms]        row N of the list alone is selected", 1, 2, WaitSelected},
    {L"wait-row", "wait-row TEXT [ms]          a row reads TEXT (\"row: N\"), or the program shows a box (\"box: TEXTS\")",
     1, 2, WaitRow},
    {L"wait-no-row", "wait-no-row TEXT [ms]       no row reads TEXT (\"row: gone\"), or the program shows a box", 1, 2,
     WaitNoRow},
    {L"dblclick-row", "dblclick-row N              double-clicks row N of the list (posted; returns at once)", 1, 1,
     DoubleClickRow},
    {L"key", "key VK [shift] [ctrl] [alt] types a key into \"Ports\" (F1, esc, enter, 0x70...)", 1, 4, Key},
    {L"mouse-click", "mouse-click CAPTION [WINDOW] a real click (SendInput) on a button of \"Ports\" (or WINDOW)", 1, 2,
     MouseClick},
    {L"focus", "focus                       the control with the keyboard focus in the thread of \"Ports\"", 0, 0, Focus},
    {L"wait-focus", "wait-focus TEXT [ms]        the focus is on the control of \"Ports\" with that text (\"list\": the list)",
     1, 2, WaitFocus},
    {L"default-buttons", "default-buttons [WINDOW]    the buttons of \"Ports\" (or WINDOW) styled as default push button", 0,
     1, DefaultButtons},
    {L"close-box", "close-box                   the close box of \"Ports\" (SC_CLOSE)", 0, 0, CloseBox},
    {L"move", "move X Y W H                moves and sizes \"Ports\"", 4, 4, Move},
    {L"dpi-changed", "dpi-changed DPI X Y W H     WM_DPICHANGED to \"Ports\" with that suggested rectangle", 5, 5,
     DpiChanged},
    {L"button-size", "button-size CAPTION         the size that fits the text of a button of \"Ports\"", 1, 1,
     ButtonSize},
    {L"show-window", "show-window minimize|maximize|restore   ShowWindow on \"Ports\", until it shows so", 1, 1,
     ShowWindowCommand},
    {L"end-session", "end-session [cancelled]     WM_QUERYENDSESSION and WM_ENDSESSION to \"Ports\", as at a log-off", 0, 1,
     EndSession},
    {L"window-rect", "window-rect [TITLE]         window rectangle, size and client size", 0, 1, WindowRect},
    {L"window-style", "window-style                frame and boxes of \"Ports\"", 0, 0, WindowStyle},
    {L"controls", "controls [WINDOW]           every child window: class, text, visible, enabled, client rect", 0, 1,
     Controls},
    {L"find-window", "find-window TEXT [ms]       a visible window whose caption contains TEXT; its owner", 1, 2,
     FindWindowCommand},
    {L"wait-no-window", "wait-no-window TEXT [ms]    no visible window whose caption contains TEXT", 1, 2,
     WaitNoWindow},
    {L"close-window", "close-window TEXT           WM_CLOSE to the window whose caption contains TEXT", 1, 1,
     CloseWindowCommand},
    {L"end-process", "end-process TEXT            ends the processes of windows whose caption contains TEXT",
     1, 1, EndProcess},
    {L"windows", "windows                     every visible top-level window: caption, class, owner", 0, 0,
     Windows},
    {L"paint", "paint                       returns once \"Ports\" has painted what was pending", 0, 0, Paint},
    {L"edit-text", "edit-text TEXT [ms]         the text of the edit control in the window captioned TEXT", 1,
     2, EditText},
    {L"dialog", "dialog TITLE [ms] [TEXT]    a ready dialog titled TITLE (showing TEXT): caption, owner, default, controls",
     1, 3, Dialog},
    {L"dialog-gone", "dialog-gone TITLE TEXT [ms] no dialog titled TITLE shows TEXT any more", 2, 3, DialogGone},
    {L"owned-dialog", "owned-dialog [ms]           a ready dialog owned by \"Ports\" other than the program's boxes", 0, 1,
     OwnedDialog},
    {L"wait-close", "wait-close TITLE [ms]       the window TITLE closes (\"closed\") or shows a box (\"box: CAPTION\")", 1,
     2, WaitClose},
    {L"set-text", "set-text TITLE ID TEXT      WM_SETTEXT to control ID of the dialog titled TITLE", 3, 3, SetText},
    {L"spooler-ports", "spooler-ports               EnumPortsA level 2: name, monitor, description, type", 0, 0,
     SpoolerPorts},
    {L"spooler-names", "spooler-names               EnumPortsW level 1: every port name, whole", 0, 0,
     SpoolerNames},
    {L"spooler-add", "spooler-add NAME            adds a local port as another program would (XcvData)", 1, 1, SpoolerAdd},
    {L"spooler-delete", "spooler-delete NAME         deletes a port as another program would (DeletePortW)", 1, 1,
     SpoolerDelete},
    {L"spooler-watch", "spooler-watch               whether the spooler gives a port change notification", 0, 0,
     SpoolerWatch},
    {L"hold-file", "hold-file PATH MS           keeps the file open against writers until PATH.release exists (at most MS ms)", 2, 2,
     HoldFile},
    {L"right-click-row", "right-click-row N|below     a real right click (SendInput) on row N of the list, or below the rows", 1, 1,
     RightClickRow},
    {L"menu", "menu [ms]                   waits for an open pop-up menu; where it is", 0, 1, Menu},
    {L"wait-no-menu", "wait-no-menu [ms]           no pop-up menu open", 0, 1, WaitNoMenu},
    {L"clipboard", "clipboard                   the clipboard's Unicode text and its ANSI form", 0, 0, Clipboard},
    {L"select-item", "select-item TITLE ID INDEX  chooses entry INDEX of combo box ID in the window TITLE", 3, 3,
     SelectItem},
    {L"code-page", "code-page                   the ANSI code page of the driver's process", 0, 0, CodePage},
    {L"work-area", "work-area                   SPI_GETWORKAREA", 0, 0, WorkArea},
    {L"placement", "placement                   whether the saved window placement exists", 0, 0, Placement},
    {L"reset-placement", "reset-placement             deletes the saved window placement", 0, 0,
     ResetPlacement},
    {L"write-placement", "write-placement TYPE [HEX]  writes the saved placement as any registry type and bytes", 1, 2,
     WritePlacement},
    {L"delete-program-key", "delete-program-key          deletes HKCU\\Software\\Orvane\\Dovrel with all it holds", 0,
     0, DeleteProgramKey},
    {L"set-dpi", "set-dpi N                   the screen's dots per inch for programs started afterwards", 1, 1, SetDpi},
    {L"reset-dpi", "reset-dpi                   the screen's dots per inch back to the default", 0, 0, ResetDpi},
    {L"process-figures", "process-figures             USER and GDI objects, handles, windows, memory (and its peak) of \"Ports\"'s process",
     0, 0, ProcessFigures},
    {L"command-line", "command-line                the pid and command line of \"Ports\"'s process", 0, 0, CommandLine},
    {L"wait-process-gone", "wait-process-gone PID [ms]  the process of that id has ended", 1, 2, WaitProcessGone},
    {L"system-text", "system-text CODE            the system's text for an error code, escaped as \"dialog\" shows it", 1,
     1, SystemText},
    {L"computer-name", "computer-name               the name GetComputerName gives", 0, 0, ComputerName},
    {L"cycle-ports", "cycle-ports N NAME# [MONITOR] N times: adds port NAME# (# runs: the number) and deletes it", 2, 3,
     CyclePorts},
};

std::string Usage()
{
    std::string text = "usage: e2e_driver [--window TITLE] COMMAND [ARGUMENTS]\n"
                       "\"Ports\" below means the window titled TITLE, \"Ports\" unless given.\n";
    for (const auto& command : kCommands)
        text += std::string("  ") + command.usage + "\n";
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // Coordinates in pixels at any dots per inch, as the program sees them.
    SetProcessDPIAware();
    int first = 1;
    if (argc > 2 && std::wstring(argv[1]) == L"--window") {
        SetMainTitle(argv[2]);
        first = 3;
    }
    if (argc <= first) {
        WriteAll(STD_ERROR_HANDLE, Usage());
        return 2;
    }
    const std::wstring name = argv[first];
    const Args args(argv + first + 1, argv + argc);
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return name == c.name; });
    try {
        if (command == std::end(kCommands))
            throw UsageError("unknown command");
        if (args.size() < command->minArgs || args.size() > command->maxArgs)
            throw UsageError(std::string("usage: ") + command->usage);
        command->run(args);
        return 0;
    } catch (const UsageError& e) {
        WriteAll(STD_ERROR_HANDLE, "e2e_driver " + Utf8(name) + ": " + e.what() + "\n" +
                                       (command == std::end(kCommands) ? Usage() : ""));
        return 2;
    } catch (const std::exception& e) {
        WriteAll(STD_ERROR_HANDLE, "e2e_driver " + Utf8(name) + ": " + e.what() + "\n");
        return 1;
    }
}
