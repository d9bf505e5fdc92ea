#include "tests/e2e/driver/ListCommands.h"

#include <algorithm>

#include "tests/e2e/driver/Dialogs.h"
#include "tests/e2e/driver/RemoteList.h"
#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

namespace {

int RowArgument(const std::wstring& text)
{
    const long row = ParseNumber(text, L"the row");
    if (row < 0)
        throw UsageError("the row is counted from 0");
    return static_cast<int>(row);
}

std::wstring RowsText(const std::vector<int>& rows)
{
    std::wstring text;
    for (int row : rows)
        text += L" " + std::to_wstring(row);
    return text.empty() ? L" none" : text;
}

// The first row whose first cell reads exactly the text, or -1.
int RowReading(RemoteList& list, const std::wstring& text)
{
    const int rows = list.RowCount();
    for (int row = 0; row < rows; ++row) {
        if (list.CellText(row, 0) == text)
            return row;
    }
    return -1;
}

// Waits until a row reads the text (or, with present false, none does), or
// until the program says something in a box of its own, as it answers a
// refused command.
void WaitRowOutcome(const Args& args, bool present)
{
    const DWORD ms = WaitArgument(args, 1);
    RemoteList list(MainList(MainWindow()));
    HWND box = nullptr;
    int row = -1;
    const bool ended = Poll(ms, [&] {
        if ((box = ReadyDialog(kProgramTitle)) != nullptr)
            return true;
        try {
            row = RowReading(list, args[0]);
        } catch (const Failure&) {
            return false;  // busy for a moment longer than a message may take
        }
        return (row >= 0) == present;
    });
    if (!ended)
        throw Failure(Utf8(L"after " + std::to_wstring(ms) + L" ms " +
                           (present ? L"no row reads " : L"row " + std::to_wstring(row) + L" still reads ") +
                           Quoted(args[0]) + L" and the program shows no box; " + DescribeVisibleWindows()));
    if (box) {
        std::wstring texts = L"\"\"";
        try {
            texts = StaticTexts(box);
        } catch (const Failure&) {
        }
        Print(L"box: " + texts);
    } else {
        Print(present ? L"row: " + std::to_wstring(row) : L"row: gone");
    }
}

}  // namespace

void WaitRows(const Args& args)
{
    const int wanted = static_cast<int>(ParseNumber(args[0], L"the row count"));
    const DWORD ms = WaitArgument(args, 1);
    // As closely as the rows: a short list may fill soon after the window shows.
    HWND window = PollClosely(ms, [] { return FindTopWindow(MainTitle(), true); });
    RemoteList list(MainList(window ? window : MainWindow(0)));
    int count = 0;
    long long seen = 0;
    // A long refresh may keep the program from answering for a while; the
    // moment taken is when its answer came back, not when it was asked.
    const auto enough = [&] {
        try {
            count = list.RowCount();
        } catch (const Failure&) {
            return false;
        }
        seen = UnixMilliseconds();
        return count >= wanted;
    };
    if (!PollClosely(ms, enough))
        throw Failure("the list has " + std::to_string(count) + " rows after " + std::to_string(ms) +
                      " ms, expected at least " + std::to_string(wanted));
    Print(L"rows: " + std::to_wstring(count));
    Print(L"seen-at: " + std::to_wstring(seen));
}

void List(const Args&)
{
    RemoteList list(MainList(MainWindow()));
    const int rows = list.RowCount();
    const int columns = std::max(list.ColumnCount(), 1);
    for (int row = 0; row < rows; ++row) {
        std::wstring line;
        for (int column = 0; column < columns; ++column)
            line += (column ? L"\t" : L"") + list.CellText(row, column);
        Print(line);
    }
    std::wstring selected;
    for (int row : list.SelectedRows())
        selected += L" " + std::to_wstring(row);
    Print(L"selected:" + selected);
}

// Beside each width, what the texts need: the header text's width and the
// widest cell text's width, without the control's padding.
void Columns(const Args&)
{
    RemoteList list(MainList(MainWindow()));
    const int columns = list.ColumnCount();
    const int rows = list.RowCount();
    for (int column = 0; column < columns; ++column) {
        const std::wstring title = list.ColumnText(column);
        int widestCell = 0;
        for (int row = 0; row < rows; ++row)
            widestCell = std::max(widestCell, list.StringWidth(list.CellText(row, column)));
        Print(std::to_wstring(column) + L"\t" + std::to_wstring(list.ColumnWidth(column)) + L"\t" +
              std::to_wstring(list.StringWidth(title)) + L"\t" + std::to_wstring(widestCell) + L"\t" + title);
    }
}

// The header is sent (not posted) the press and release at the item's centre,
// so the click has been handled, and the list re-sorted, when this returns.
void HeaderClick(const Args& args)
{
    RemoteList list(MainList(MainWindow()));
    const int column = list.ColumnIndex(args[0]);
    const LPARAM centre = CentreOf(list.HeaderItemRect(column));
    HWND header = list.Header();
    Ask(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    Ask(header, WM_LBUTTONUP, 0, centre);
}

// Sent like header-click, so the click has been handled when this returns; a
// click that leaves another selection is reported here.
void SelectRow(const Args& args)
{
    HWND window = MainList(MainWindow());
    RemoteList list(window);
    const int row = RowArgument(args[0]);
    const LPARAM centre = CentreOf(list.RowRect(row));
    Ask(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    Ask(window, WM_LBUTTONUP, 0, centre);
    const std::vector<int> selected = list.SelectedRows();
    if (selected != std::vector<int>{row})
        throw Failure(Utf8(L"after the click on row " + std::to_wstring(row) + L" the selected rows are:" +
                           RowsText(selected)));
}

void SetSelection(const Args& args)
{
    RemoteList list(MainList(MainWindow()));
    const int row = RowArgument(args[0]);
    list.SetSelection(row);
    if (list.SelectedRows() != std::vector<int>{row})
        throw Failure("LVM_SETITEMSTATE left the selected rows at:" + Utf8(RowsText(list.SelectedRows())));
}

// Posted, as a double click may open a modal window that keeps the program
// from answering until it closes.
void DoubleClickRow(const Args& args)
{
    HWND window = MainList(MainWindow());
    const LPARAM centre = CentreOf(RemoteList(window).RowRect(RowArgument(args[0])));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(window, WM_LBUTTONUP, 0, centre);
    PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
    PostMessageW(window, WM_LBUTTONUP, 0, centre);
}

// The row at the top of the list's view (from 0).
void TopRow(const Args&)
{
    HWND list = MainList(MainWindow());
    Print(L"top-row: " + std::to_wstring(Ask(list, LVM_GETTOPINDEX, 0, 0)));
}

void WaitSelected(const Args& args)
{
    const int row = RowArgument(args[0]);
    const DWORD ms = WaitArgument(args, 1);
    RemoteList list(MainList(MainWindow()));
    std::vector<int> selected;
    if (!Poll(ms, [&] { return (selected = list.SelectedRows()) == std::vector<int>{row}; }))
        throw Failure(Utf8(L"after " + std::to_wstring(ms) + L" ms the selected rows are:" + RowsText(selected) +
                           L", expected row " + std::to_wstring(row) + L" alone"));
}

void WaitRow(const Args& args)
{
    WaitRowOutcome(args, true);
}

void WaitNoRow(const Args& args)
{
    WaitRowOutcome(args, false);
}

}  // namespace e2e
