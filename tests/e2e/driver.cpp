// e2e_driver: drives a running Dovrel.exe from outside, as a person would,
// one command per run. It runs under Wine in the same prefix as the program;
// results go to stdout as UTF-8, failures to stderr with exit code 1 (2 for a
// malformed command line).
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <psapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwctype>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace {

using dovrel::win32::UniqueHkey;
using dovrel::win32::UniqueKernelHandle;
using Args = std::vector<std::wstring>;

// The program's window; --window names another one, such as a Wine program
// when trying the driver out.
std::wstring gMainTitle = L"Ports";
constexpr wchar_t kPlacementKey[] = L"Software\\Orvane\\Dovrel";
constexpr wchar_t kPlacementValue[] = L"Window placement";
constexpr DWORD kDefaultWaitMs = 10000;
// How long a window may take to answer one message before it counts as hung.
constexpr UINT kAnswerMs = 5000;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------- text

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

std::wstring WideFromAnsi(const char* text)
{
    if (!text || !*text)
        return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), size);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

bool ContainsNoCase(const std::wstring& text, const std::wstring& part)
{
    return Lower(text).find(Lower(part)) != std::wstring::npos;
}

// WriteFile rather than the C runtime: the bytes reach the Unix pipe as they are.
void WriteAll(DWORD which, const std::string& text)
{
    HANDLE out = GetStdHandle(which);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE)
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Print(const std::wstring& line)
{
    WriteAll(STD_OUTPUT_HANDLE, Utf8(line) + "\n");
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

// Decimal, or hexadecimal after "0x".
long ParseNumber(const std::wstring& text, const wchar_t* what)
{
    const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    try {
        size_t used = 0;
        const long value = std::stol(text, &used, hex ? 16 : 10);
        if (used == text.size())
            return value;
    } catch (const std::logic_error&) {
    }
    throw UsageError(Utf8(std::wstring(what) + L" must be a number, not " + Quoted(text)));
}

DWORD WaitArgument(const Args& args, size_t index)
{
    return args.size() > index ? static_cast<DWORD>(ParseNumber(args[index], L"the wait in ms")) : kDefaultWaitMs;
}

// ---------------------------------------------------------------- waiting

// Calls probe until it yields a value or the time is up; the last result
// (empty when the time ran out) is returned.
template <typename Probe>
auto Poll(DWORD ms, Probe probe) -> decltype(probe())
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        auto result = probe();
        if (result || GetTickCount64() >= deadline)
            return result;
        Sleep(25);
    }
}

// ---------------------------------------------------------------- windows

// For a window of another process this reads the text Windows keeps for it
// without asking the window, so a busy program cannot hold the driver up.
std::wstring WindowText(HWND window)
{
    wchar_t buffer[512] = {};
    const int length = GetWindowTextW(window, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring ClassOf(HWND window)
{
    wchar_t buffer[256] = {};
    const int length = GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

struct TopWindow {
    HWND handle;
    std::wstring caption;
};

BOOL CALLBACK AddVisibleTopWindow(HWND window, LPARAM found)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<TopWindow>*>(found)->push_back({window, WindowText(window)});
    return TRUE;
}

std::vector<TopWindow> VisibleTopWindows()
{
    std::vector<TopWindow> windows;
    EnumWindows(AddVisibleTopWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::wstring DescribeVisibleWindows()
{
    std::wstring text;
    for (const auto& window : VisibleTopWindows()) {
        if (!window.caption.empty())
            text += (text.empty() ? L"" : L", ") + Quoted(window.caption);
    }
    return L"visible windows: " + (text.empty() ? std::wstring(L"none") : text);
}

HWND FindTopWindow(const std::wstring& text, bool exact)
{
    for (const auto& window : VisibleTopWindows()) {
        if (exact ? window.caption == text : ContainsNoCase(window.caption, text))
            return window.handle;
    }
    return nullptr;
}

HWND WaitTopWindow(const std::wstring& text, bool exact, DWORD ms)
{
    HWND window = Poll(ms, [&] { return FindTopWindow(text, exact); });
    if (!window)
        throw Failure(Utf8(L"no visible window " + std::wstring(exact ? L"titled " : L"whose title contains ") +
                           Quoted(text) + L" after " + std::to_wstring(ms) + L" ms; " + DescribeVisibleWindows()));
    return window;
}

HWND MainWindow(DWORD ms = 2000)
{
    return WaitTopWindow(gMainTitle, true, ms);
}

BOOL CALLBACK AddChild(HWND child, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, AddChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

// A caption as a person reads it: without the ampersands that mark access keys.
std::wstring Shown(std::wstring caption)
{
    caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
    return caption;
}

HWND FindChild(HWND parent, const std::wstring& className, const std::wstring* caption = nullptr)
{
    for (HWND child : Descendants(parent)) {
        if (_wcsicmp(ClassOf(child).c_str(), className.c_str()) == 0 &&
            (!caption || Shown(WindowText(child)) == Shown(*caption)))
            return child;
    }
    return nullptr;
}

HWND MainList(HWND ports)
{
    HWND list = FindChild(ports, WC_LISTVIEWW);
    if (!list)
        throw Failure(Utf8(L"the window " + Quoted(gMainTitle) + L" has no SysListView32"));
    return list;
}

HWND Button(HWND window, const std::wstring& caption)
{
    HWND button = FindChild(window, WC_BUTTONW, &caption);
    if (!button)
        throw Failure(Utf8(L"no button " + Quoted(caption) + L" in " + Quoted(WindowText(window))));
    return button;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result))
        throw Failure("the window of class " + Utf8(ClassOf(window)) + " did not answer message " +
                      std::to_string(message) + " within " + std::to_string(kAnswerMs) + " ms");
    return static_cast<LRESULT>(result);
}

// ---------------------------------------------------------------- another process's memory

// Memory inside the process that owns a window, for the control messages
// whose pointers Windows does not carry across processes.
class RemoteMemory {
public:
    RemoteMemory(HWND window, SIZE_T size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                       PROCESS_QUERY_INFORMATION,
                                   FALSE, pid));
        if (!process_)
            throw Failure("cannot open process " + std::to_string(pid) + ", error " +
                          std::to_string(GetLastError()));
        RequireSameBitness();
        address_ = VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_)
            throw Failure("VirtualAllocEx failed, error " + std::to_string(GetLastError()));
    }
    ~RemoteMemory() { VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE); }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    // The address, in the other process, of the byte at offset.
    LPARAM At(SIZE_T offset) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }

    void Write(SIZE_T offset, const void* data, SIZE_T size)
    {
        SIZE_T done = 0;
        if (!WriteProcessMemory(process_.Get(), reinterpret_cast<void*>(At(offset)), data, size, &done) ||
            done != size)
            throw Failure("WriteProcessMemory failed, error " + std::to_string(GetLastError()));
    }

    void Read(LPARAM address, void* data, SIZE_T size) const
    {
        SIZE_T done = 0;
        if (!ReadProcessMemory(process_.Get(), reinterpret_cast<const void*>(address), data, size, &done) ||
            done != size)
            throw Failure("ReadProcessMemory failed, error " + std::to_string(GetLastError()));
    }

    // A NUL-terminated string anywhere in the other process, read a page
    // at a time so that no read crosses into a page that may not exist.
    std::wstring ReadString(LPARAM address, size_t maxChars) const
    {
        constexpr size_t kPage = 4096;
        std::wstring text;
        while (text.size() < maxChars) {
            const size_t bytesToPageEnd = kPage - static_cast<size_t>(address) % kPage;
            std::wstring chunk(std::max<size_t>(bytesToPageEnd / sizeof(wchar_t), 1), L'\0');
            Read(address, chunk.data(), chunk.size() * sizeof(wchar_t));
            const size_t end = chunk.find(L'\0');
            text += chunk.substr(0, end);
            if (end != std::wstring::npos)
                break;
            address += static_cast<LPARAM>(chunk.size() * sizeof(wchar_t));
        }
        return text.substr(0, maxChars);
    }

private:
    // The structures written here hold pointers, so both sides must agree
    // on their size.
    void RequireSameBitness() const
    {
        BOOL ownWow = FALSE;
        BOOL targetWow = FALSE;
        IsWow64Process(GetCurrentProcess(), &ownWow);
        IsWow64Process(process_.Get(), &targetWow);
        if (ownWow != targetWow)
            throw Failure("the target program and this driver differ in bitness; use the driver of the same build");
    }

    UniqueKernelHandle process_;
    void* address_ = nullptr;
};

// ---------------------------------------------------------------- the list view

// Enough for the longest port names the scenarios try.
constexpr size_t kTextChars = 8192;

class RemoteList {
public:
    explicit RemoteList(HWND list) : list_(list), memory_(list, sizeof(Block)) {}

    int RowCount() const { return static_cast<int>(Ask(list_, LVM_GETITEMCOUNT, 0, 0)); }

    HWND Header() const
    {
        HWND header = reinterpret_cast<HWND>(Ask(list_, LVM_GETHEADER, 0, 0));
        if (!header)
            throw Failure("the list has no header");
        return header;
    }

    int ColumnCount() const { return static_cast<int>(Ask(Header(), HDM_GETITEMCOUNT, 0, 0)); }

    std::wstring CellText(int row, int column)
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = reinterpret_cast<LPWSTR>(memory_.At(offsetof(Block, text)));
        item.cchTextMax = static_cast<int>(kTextChars);
        memory_.Write(offsetof(Block, item), &item, sizeof item);
        Ask(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), memory_.At(offsetof(Block, item)));
        // The control may answer with a pointer to its own text instead.
        memory_.Read(memory_.At(offsetof(Block, item)), &item, sizeof item);
        return item.pszText ? memory_.ReadString(reinterpret_cast<LPARAM>(item.pszText), kTextChars) : L"";
    }

    std::wstring ColumnText(int column)
    {
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = reinterpret_cast<LPWSTR>(memory_.At(offsetof(Block, text)));
        item.cchTextMax = static_cast<int>(kTextChars);
        memory_.Write(offsetof(Block, header), &item, sizeof item);
        if (!Ask(Header(), HDM_GETITEMW, static_cast<WPARAM>(column), memory_.At(offsetof(Block, header))))
            throw Failure("HDM_GETITEM failed for column " + std::to_string(column));
        memory_.Read(memory_.At(offsetof(Block, header)), &item, sizeof item);
        return item.pszText ? memory_.ReadString(reinterpret_cast<LPARAM>(item.pszText), kTextChars) : L"";
    }

    int ColumnWidth(int column) const
    {
        return static_cast<int>(Ask(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    }

    // Pixels the text takes in the list's font.
    int StringWidth(const std::wstring& text)
    {
        const std::wstring bounded = text.substr(0, kTextChars - 1);
        memory_.Write(offsetof(Block, text), bounded.c_str(), (bounded.size() + 1) * sizeof(wchar_t));
        return static_cast<int>(Ask(list_, LVM_GETSTRINGWIDTHW, 0, memory_.At(offsetof(Block, text))));
    }

    RECT HeaderItemRect(int column)
    {
        RECT rect{};
        memory_.Write(offsetof(Block, rect), &rect, sizeof rect);
        if (!Ask(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(column), memory_.At(offsetof(Block, rect))))
            throw Failure("HDM_GETITEMRECT failed for column " + std::to_string(column));
        memory_.Read(memory_.At(offsetof(Block, rect)), &rect, sizeof rect);
        return rect;
    }

    // The row's first cell in the list's client coordinates, after scrolling
    // the row into view as a person would.
    RECT RowRect(int row)
    {
        const int rows = RowCount();
        if (row < 0 || row >= rows)
            throw Failure("no row " + std::to_string(row) + "; the list has " + std::to_string(rows));
        Ask(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RECT rect{};
        rect.left = LVIR_LABEL;
        memory_.Write(offsetof(Block, rect), &rect, sizeof rect);
        if (!Ask(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), memory_.At(offsetof(Block, rect))))
            throw Failure("LVM_GETITEMRECT failed for row " + std::to_string(row));
        memory_.Read(memory_.At(offsetof(Block, rect)), &rect, sizeof rect);
        return rect;
    }

    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        int row = -1;
        while ((row = static_cast<int>(Ask(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                           MAKELPARAM(LVNI_SELECTED, 0)))) != -1) {
            if (!rows.empty() && row <= rows.back())
                break;
            rows.push_back(row);
        }
        return rows;
    }

    // Column index from a header text or a number counted from 0.
    int ColumnIndex(const std::wstring& text)
    {
        const int count = ColumnCount();
        for (int column = 0; column < count; ++column) {
            if (ColumnText(column) == text)
                return column;
        }
        if (!text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswdigit(c); })) {
            const int column = static_cast<int>(ParseNumber(text, L"the column"));
            if (column < count)
                return column;
        }
        throw Failure(Utf8(L"no column " + Quoted(text) + L"; the list has " + std::to_wstring(count)));
    }

private:
    struct Block {
        LVITEMW item;
        HDITEMW header;
        RECT rect;
        wchar_t text[kTextChars];
    };

    HWND list_;
    RemoteMemory memory_;
};

// ---------------------------------------------------------------- keys

WORD VirtualKey(const std::wstring& name)
{
    static const struct {
        const wchar_t* name;
        WORD key;
    } kNames[] = {
        {L"esc", VK_ESCAPE},     {L"escape", VK_ESCAPE}, {L"enter", VK_RETURN},  {L"return", VK_RETURN},
        {L"tab", VK_TAB},        {L"space", VK_SPACE},   {L"delete", VK_DELETE}, {L"insert", VK_INSERT},
        {L"up", VK_UP},          {L"down", VK_DOWN},     {L"left", VK_LEFT},     {L"right", VK_RIGHT},
        {L"home", VK_HOME},      {L"end", VK_END},       {L"back", VK_BACK},     {L"apps", VK_APPS},
    };
    const std::wstring lower = Lower(name);
    for (const auto& entry : kNames) {
        if (lower == entry.name)
            return entry.key;
    }
    if (lower.size() >= 2 && lower[0] == L'f' && std::iswdigit(lower[1])) {
        const long n = ParseNumber(lower.substr(1), L"the function key number");
        if (n >= 1 && n <= 24)
            return static_cast<WORD>(VK_F1 + n - 1);
    }
    if (name.size() == 1 && std::iswalnum(name[0]))
        return static_cast<WORD>(std::towupper(name[0]));
    const long code = ParseNumber(name, L"the key");
    if (code <= 0 || code > 0xFE)
        throw UsageError(Utf8(L"no such virtual key: " + name));
    return static_cast<WORD>(code);
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void BringToFront(HWND window)
{
    SetForegroundWindow(window);
    const bool front = Poll(2000, [&] { return GetForegroundWindow() == window; });
    if (!front)
        throw Failure(Utf8(L"cannot bring " + Quoted(WindowText(window)) + L" to the front; the foreground is " +
                           Quoted(WindowText(GetForegroundWindow()))));
}

// ---------------------------------------------------------------- output helpers

void PrintRect(HWND window)
{
    RECT rect{};
    RECT client{};
    GetWindowRect(window, &rect);
    GetClientRect(window, &client);
    Print(L"rect: " + std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " +
          std::to_wstring(rect.right) + L" " + std::to_wstring(rect.bottom));
    Print(L"size: " + std::to_wstring(rect.right - rect.left) + L" " + std::to_wstring(rect.bottom - rect.top));
    Print(L"client: " + std::to_wstring(client.right) + L" " + std::to_wstring(client.bottom));
}

std::wstring OwnerCaption(HWND window)
{
    HWND owner = GetWindow(window, GW_OWNER);
    return owner ? WindowText(owner) : L"";
}

// ---------------------------------------------------------------- commands

void WaitWindow(const Args& args)
{
    HWND window = WaitTopWindow(args[0], true, WaitArgument(args, 1));
    PrintRect(window);
}

void WaitGone(const Args& args)
{
    const DWORD ms = WaitArgument(args, 1);
    if (!Poll(ms, [&] { return FindTopWindow(args[0], true) == nullptr; }))
        throw Failure(Utf8(L"the window " + Quoted(args[0]) + L" is still there after " + std::to_wstring(ms) +
                           L" ms"));
}

void WaitRows(const Args& args)
{
    const int wanted = static_cast<int>(ParseNumber(args[0], L"the row count"));
    const DWORD ms = WaitArgument(args, 1);
    RemoteList list(MainList(MainWindow(ms)));
    int count = 0;
    // A long refresh may keep the program from answering for a while.
    const auto enough = [&] {
        try {
            return (count = list.RowCount()) >= wanted;
        } catch (const Failure&) {
            return false;
        }
    };
    if (!Poll(ms, enough))
        throw Failure("the list has " + std::to_string(count) + " rows after " + std::to_string(ms) +
                      " ms, expected at least " + std::to_string(wanted));
    Print(L"rows: " + std::to_wstring(count));
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

void Click(const Args& args)
{
    HWND window = args.size() > 1 ? WaitTopWindow(args[1], false, 2000) : MainWindow();
    HWND button = Button(window, args[0]);
    if (!IsWindowEnabled(button))
        throw Failure(Utf8(L"the button " + Quoted(args[0]) + L" is disabled"));
    PostMessageW(button, BM_CLICK, 0, 0);
}

// The header is sent (not posted) the press and release at the item's centre,
// so the click has been handled, and the list re-sorted, when this returns.
void HeaderClick(const Args& args)
{
    RemoteList list(MainList(MainWindow()));
    const int column = list.ColumnIndex(args[0]);
    const RECT rect = list.HeaderItemRect(column);
    const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    HWND header = list.Header();
    Ask(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    Ask(header, WM_LBUTTONUP, 0, centre);
}

int RowArgument(const std::wstring& text)
{
    const long row = ParseNumber(text, L"the row");
    if (row < 0)
        throw UsageError("the row is counted from 0");
    return static_cast<int>(row);
}

LPARAM CentreOf(const RECT& rect)
{
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
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
    if (selected != std::vector<int>{row}) {
        std::string rows;
        for (int index : selected)
            rows += " " + std::to_string(index);
        throw Failure("after the click on row " + std::to_string(row) + " the selected rows are:" +
                      (rows.empty() ? std::string(" none") : rows));
    }
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

void Key(const Args& args)
{
    const WORD key = VirtualKey(args[0]);
    std::vector<WORD> modifiers;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring name = Lower(args[i]);
        if (name == L"shift")
            modifiers.push_back(VK_SHIFT);
        else if (name == L"ctrl" || name == L"control")
            modifiers.push_back(VK_CONTROL);
        else if (name == L"alt")
            modifiers.push_back(VK_MENU);
        else
            throw UsageError(Utf8(L"unknown modifier " + Quoted(args[i]) + L" (shift, ctrl, alt)"));
    }
    BringToFront(MainWindow());
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
        inputs.push_back(KeyInput(*modifier, true));
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw Failure("SendInput failed, error " + std::to_string(GetLastError()));
}

void CloseBox(const Args&)
{
    PostMessageW(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Move(const Args& args)
{
    HWND ports = MainWindow();
    if (!SetWindowPos(ports, nullptr, ParseNumber(args[0], L"X"), ParseNumber(args[1], L"Y"),
                      ParseNumber(args[2], L"the width"), ParseNumber(args[3], L"the height"),
                      SWP_NOZORDER | SWP_NOACTIVATE))
        throw Failure("SetWindowPos failed, error " + std::to_string(GetLastError()));
    PrintRect(ports);
}

void WindowRect(const Args& args)
{
    PrintRect(args.empty() ? MainWindow() : WaitTopWindow(args[0], true, 2000));
}

void WindowStyle(const Args&)
{
    const LONG style = GetWindowLongW(MainWindow(), GWL_STYLE);
    const auto yesNo = [&](LONG bit) { return (style & bit) ? L"yes" : L"no"; };
    Print(std::wstring(L"sizable: ") + yesNo(WS_THICKFRAME));
    Print(std::wstring(L"minimize-box: ") + yesNo(WS_MINIMIZEBOX));
    Print(std::wstring(L"maximize-box: ") + yesNo(WS_MAXIMIZEBOX));
    Print(std::wstring(L"system-menu: ") + yesNo(WS_SYSMENU));
}

// The rectangles are in the window's client coordinates.
void Controls(const Args& args)
{
    HWND window = args.empty() ? MainWindow() : WaitTopWindow(args[0], false, 2000);
    for (HWND child : Descendants(window)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        Print(ClassOf(child) + L"\t" + WindowText(child) + L"\t" +
              (IsWindowVisible(child) ? L"visible" : L"hidden") + L"\t" +
              (IsWindowEnabled(child) ? L"enabled" : L"disabled") + L"\t" + std::to_wstring(rect.left) + L" " +
              std::to_wstring(rect.top) + L" " + std::to_wstring(rect.right) + L" " + std::to_wstring(rect.bottom));
    }
}

void FindWindowCommand(const Args& args)
{
    HWND window = WaitTopWindow(args[0], false, WaitArgument(args, 1));
    Print(L"caption: " + WindowText(window));
    Print(L"owner: " + OwnerCaption(window));
}

void WaitNoWindow(const Args& args)
{
    const DWORD ms = WaitArgument(args, 1);
    HWND left = nullptr;
    if (!Poll(ms, [&] { return (left = FindTopWindow(args[0], false)) == nullptr; }))
        throw Failure(Utf8(L"the window " + Quoted(WindowText(left)) + L" is still there after " +
                           std::to_wstring(ms) + L" ms"));
}

void CloseWindowCommand(const Args& args)
{
    PostMessageW(WaitTopWindow(args[0], false, 2000), WM_CLOSE, 0, 0);
}

// Last resort for cleaning up after a failed run: ends the processes of
// every window whose caption contains the text.
void EndProcess(const Args& args)
{
    int ended = 0;
    for (const auto& window : VisibleTopWindows()) {
        if (!ContainsNoCase(window.caption, args[0]))
            continue;
        DWORD pid = 0;
        GetWindowThreadProcessId(window.handle, &pid);
        UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
        if (process && TerminateProcess(process.Get(), 1))
            ++ended;
    }
    Print(L"ended: " + std::to_wstring(ended));
}

void Windows(const Args&)
{
    for (const auto& window : VisibleTopWindows())
        Print(window.caption + L"\t" + ClassOf(window.handle) + L"\t" + OwnerCaption(window.handle));
}

// WM_GETTEXT is one of the messages Windows carries across processes.
void EditText(const Args& args)
{
    HWND window = WaitTopWindow(args[0], false, WaitArgument(args, 1));
    for (HWND child : Descendants(window)) {
        if (ContainsNoCase(ClassOf(child), L"edit")) {
            const LRESULT length = Ask(child, WM_GETTEXTLENGTH, 0, 0);
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            const LRESULT copied = Ask(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(copied));
            WriteAll(STD_OUTPUT_HANDLE, Utf8(text));
            return;
        }
    }
    throw Failure(Utf8(L"the window " + Quoted(WindowText(window)) + L" has no edit control"));
}

// The window's text as the control itself answers it: an edit keeps what
// was typed only there.
std::wstring ControlText(HWND control)
{
    const LRESULT length = Ask(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = Ask(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

// One line whatever the text holds.
std::wstring Escaped(const std::wstring& text)
{
    std::wstring line;
    for (wchar_t c : text) {
        switch (c) {
        case L'\\': line += L"\\\\"; break;
        case L'\r': line += L"\\r"; break;
        case L'\n': line += L"\\n"; break;
        case L'\t': line += L"\\t"; break;
        default: line += c; break;
        }
    }
    return line;
}

// The pixels that draw paints on a square bitmap, without the alpha byte.
template <typename Draw>
std::vector<DWORD> SquarePixels(int size, Draw draw)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc || !bitmap || !bits) {
        DeleteObject(bitmap);
        DeleteDC(dc);
        throw Failure("cannot make a bitmap to compare icons");
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + size * size);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// Which of the system's message box icons the static control shows, told by
// its pixels on the screen: icon handles mean nothing in another process.
std::wstring IconShown(HWND control)
{
    if (!Ask(control, STM_GETICON, 0, 0))
        return L"none";
    RECT rect{};
    GetWindowRect(control, &rect);
    const int size = GetSystemMetrics(SM_CXICON);
    const auto shown = SquarePixels(size, [&](HDC dc) {
        HDC screen = GetDC(nullptr);
        BitBlt(dc, 0, 0, size, size, screen, rect.left, rect.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
    // The corners of these icons are transparent: the box's own colour.
    const COLORREF background = RGB(GetBValue(shown[0]), GetGValue(shown[0]), GetRValue(shown[0]));
    static const struct {
        const wchar_t* id;
        const wchar_t* name;
    } kIcons[] = {
        {IDI_EXCLAMATION, L"exclamation"},
        {IDI_HAND, L"stop"},
        {IDI_QUESTION, L"question"},
        {IDI_ASTERISK, L"information"},
    };
    for (const auto& icon : kIcons) {
        const auto drawn = SquarePixels(size, [&](HDC dc) {
            HBRUSH brush = CreateSolidBrush(background);
            const RECT all{0, 0, size, size};
            FillRect(dc, &all, brush);
            DeleteObject(brush);
            DrawIconEx(dc, 0, 0, LoadIconW(nullptr, icon.id), size, size, 0, nullptr, DI_NORMAL);
        });
        if (drawn == shown)
            return icon.name;
    }
    return L"other";
}

// A dialog is found a little before it is shown and before its controls
// exist, and a click posted then is lost: it counts once it is visible with
// a visible button.
HWND WaitDialog(const std::wstring& title, DWORD ms)
{
    const auto ready = [&]() -> HWND {
        HWND window = FindTopWindow(title, true);
        if (!window)
            return nullptr;
        for (HWND child : Descendants(window)) {
            if (_wcsicmp(ClassOf(child).c_str(), WC_BUTTONW) == 0 && IsWindowVisible(child))
                return window;
        }
        return nullptr;
    };
    HWND dialog = Poll(ms, ready);
    if (!dialog)
        throw Failure(Utf8(L"no dialog titled " + Quoted(title) + L" ready after " + std::to_wstring(ms) +
                           L" ms; " + DescribeVisibleWindows()));
    return dialog;
}

void Dialog(const Args& args)
{
    HWND dialog = WaitDialog(args[0], WaitArgument(args, 1));
    Print(L"caption: " + WindowText(dialog));
    Print(L"owner: " + OwnerCaption(dialog));
    const LRESULT defaultId = Ask(dialog, DM_GETDEFID, 0, 0);
    Print(L"default: " + (HIWORD(defaultId) == DC_HASDEFID ? std::to_wstring(LOWORD(defaultId)) : L"none"));
    for (HWND child : Descendants(dialog)) {
        if (!IsWindowVisible(child))
            continue;
        const std::wstring className = ClassOf(child);
        std::wstring detail;
        if (_wcsicmp(className.c_str(), WC_EDITW) == 0) {
            const LRESULT selection = Ask(child, EM_GETSEL, 0, 0);
            detail = L"selected " + std::to_wstring(LOWORD(selection)) + L" " + std::to_wstring(HIWORD(selection));
        } else if (_wcsicmp(className.c_str(), WC_STATICW) == 0 &&
                   (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            detail = L"icon " + IconShown(child);
        }
        Print(L"control: " + std::to_wstring(GetDlgCtrlID(child)) + L"\t" + className + L"\t" +
              Escaped(ControlText(child)) + L"\t" + detail);
    }
}

void SetText(const Args& args)
{
    HWND dialog = WaitDialog(args[0], 2000);
    const long id = ParseNumber(args[1], L"the control id");
    HWND control = GetDlgItem(dialog, static_cast<int>(id));
    if (!control)
        throw Failure(Utf8(L"the window " + Quoted(args[0]) + L" has no control " + args[1]));
    if (!Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str())))
        throw Failure(Utf8(L"control " + args[1] + L" of " + Quoted(args[0]) + L" refused the text"));
}

void SpoolerPorts(const Args&)
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPortsA(nullptr, 2, nullptr, 0, &needed, &returned);
    if (needed == 0)
        throw Failure("EnumPortsA reports no bytes needed, error " + std::to_string(GetLastError()));
    std::vector<BYTE> buffer(needed);
    if (!EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &returned))
        throw Failure("EnumPortsA failed, error " + std::to_string(GetLastError()));
    const auto* ports = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) {
        Print(WideFromAnsi(ports[i].pPortName) + L"\t" + WideFromAnsi(ports[i].pMonitorName) + L"\t" +
              WideFromAnsi(ports[i].pDescription) + L"\t" + std::to_wstring(ports[i].fPortType));
    }
}

// The spooler's port names as it holds them, through its Unicode entry
// point: letters that the ANSI code page lacks come through whole.
void SpoolerNames(const Args&)
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPortsW(nullptr, 1, nullptr, 0, &needed, &returned);
    if (needed == 0)
        throw Failure("EnumPortsW reports no bytes needed, error " + std::to_string(GetLastError()));
    std::vector<BYTE> buffer(needed);
    if (!EnumPortsW(nullptr, 1, buffer.data(), needed, &needed, &returned))
        throw Failure("EnumPortsW failed, error " + std::to_string(GetLastError()));
    const auto* ports = reinterpret_cast<const PORT_INFO_1W*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i)
        Print(ports[i].pName);
}

void CodePage(const Args&)
{
    Print(L"ansi: " + std::to_wstring(GetACP()));
}

void WorkArea(const Args&)
{
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        throw Failure("SPI_GETWORKAREA failed");
    Print(L"work-area: " + std::to_wstring(area.left) + L" " + std::to_wstring(area.top) + L" " +
          std::to_wstring(area.right) + L" " + std::to_wstring(area.bottom));
}

void Placement(const Args&)
{
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPlacementKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
        Print(L"placement: absent");
        return;
    }
    UniqueHkey key(raw);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), kPlacementValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        Print(L"placement: absent");
        return;
    }
    Print(L"placement: " + std::to_wstring(size) + L" bytes, type " + std::to_wstring(type));
}

void ResetPlacement(const Args&)
{
    HKEY raw = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kPlacementKey, 0, KEY_SET_VALUE, &raw);
    if (status == ERROR_FILE_NOT_FOUND) {
        Print(L"placement: absent");
        return;
    }
    if (status != ERROR_SUCCESS)
        throw Failure("cannot open HKCU\\Software\\Orvane\\Dovrel, error " + std::to_string(status));
    UniqueHkey key(raw);
    status = RegDeleteValueW(key.Get(), kPlacementValue);
    if (status == ERROR_FILE_NOT_FOUND) {
        Print(L"placement: absent");
        return;
    }
    if (status != ERROR_SUCCESS)
        throw Failure("cannot delete the value \"Window placement\", error " + std::to_string(status));
    Print(L"placement: removed");
}

// ---------------------------------------------------------------- damaged placements

DWORD RegistryType(const std::wstring& name)
{
    static const struct {
        const wchar_t* name;
        DWORD type;
    } kTypes[] = {
        {L"REG_NONE", REG_NONE},   {L"REG_SZ", REG_SZ},       {L"REG_EXPAND_SZ", REG_EXPAND_SZ},
        {L"REG_BINARY", REG_BINARY}, {L"REG_DWORD", REG_DWORD}, {L"REG_MULTI_SZ", REG_MULTI_SZ},
        {L"REG_QWORD", REG_QWORD},
    };
    for (const auto& entry : kTypes) {
        if (_wcsicmp(name.c_str(), entry.name) == 0)
            return entry.type;
    }
    return static_cast<DWORD>(ParseNumber(name, L"the registry type"));
}

std::vector<BYTE> BytesFromHex(const std::wstring& hex)
{
    if (hex.size() % 2 != 0 || !std::all_of(hex.begin(), hex.end(), [](wchar_t c) { return std::iswxdigit(c); }))
        throw UsageError("the data must be hexadecimal digits, two per byte");
    std::vector<BYTE> bytes;
    for (size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(static_cast<BYTE>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// The placement value as a user's registry may hold it: any type, any bytes.
void WritePlacement(const Args& args)
{
    const DWORD type = RegistryType(args[0]);
    std::vector<BYTE> data = BytesFromHex(args.size() > 1 ? args[1] : L"");
    const DWORD size = static_cast<DWORD>(data.size());
    data.push_back(0);  // an empty value still gets a valid pointer
    HKEY raw = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kPlacementKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (status != ERROR_SUCCESS)
        throw Failure("cannot create HKCU\\Software\\Orvane\\Dovrel, error " + std::to_string(status));
    UniqueHkey key(raw);
    status = RegSetValueExW(key.Get(), kPlacementValue, 0, type, data.data(), size);
    if (status != ERROR_SUCCESS)
        throw Failure("cannot write the value \"Window placement\", error " + std::to_string(status));
    Print(L"placement: " + std::to_wstring(size) + L" bytes, type " + std::to_wstring(type));
}

void DeleteProgramKey(const Args&)
{
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kPlacementKey);
    if (status == ERROR_FILE_NOT_FOUND) {
        Print(L"key: absent");
        return;
    }
    if (status != ERROR_SUCCESS)
        throw Failure("cannot delete HKCU\\Software\\Orvane\\Dovrel, error " + std::to_string(status));
    Print(L"key: removed");
}

// ---------------------------------------------------------------- the program's resources

template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name)
{
    const FARPROC address = GetProcAddress(GetModuleHandleW(module), name);
    if (!address)
        throw Failure(std::string("this system has no ") + name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// The handles the process holds, counted in the system's handle table:
// Wine's GetProcessHandleCount succeeds with 0 for every process.
size_t HandlesOf(DWORD pid)
{
    using QuerySystemInformation = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004L);
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    const auto query = SystemFunction<QuerySystemInformation>(L"ntdll.dll", "NtQuerySystemInformation");
    std::vector<BYTE> buffer(64 * 1024);
    for (;;) {
        ULONG needed = 0;
        const LONG status =
            query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch && buffer.size() < 64 * 1024 * 1024) {
            buffer.resize(std::max<size_t>(needed, buffer.size() * 2));
            continue;
        }
        if (status != 0)
            throw Failure("NtQuerySystemInformation(SystemHandleInformation) failed, status " + std::to_string(status));
        break;
    }
    ULONG count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    const size_t first = offsetof(Table, entries);
    count = static_cast<ULONG>(std::min<size_t>(count, (buffer.size() - first) / sizeof(Entry)));
    size_t held = 0;
    for (ULONG i = 0; i < count; ++i) {
        Entry entry;
        std::memcpy(&entry, buffer.data() + first + i * sizeof(Entry), sizeof entry);
        if (entry.ownerPid == pid)
            ++held;
    }
    return held;
}

struct WindowTally {
    DWORD pid;
    size_t count;
};

BOOL CALLBACK CountDescendant(HWND, LPARAM tally)
{
    ++reinterpret_cast<WindowTally*>(tally)->count;
    return TRUE;
}

BOOL CALLBACK CountWindowOfProcess(HWND window, LPARAM param)
{
    auto* tally = reinterpret_cast<WindowTally*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == tally->pid) {
        ++tally->count;
        EnumChildWindows(window, CountDescendant, param);
    }
    return TRUE;
}

// Every window of the process, hidden and message-only ones included, with
// all their descendants.
size_t WindowsOf(DWORD pid)
{
    WindowTally tally{pid, 0};
    EnumWindows(CountWindowOfProcess, reinterpret_cast<LPARAM>(&tally));
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr)
        CountWindowOfProcess(window, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

std::wstring GuiResourceCount(HANDLE process, DWORD which)
{
    SetLastError(ERROR_SUCCESS);
    const DWORD count = GetGuiResources(process, which);
    // A process with a window holds USER objects, and GDI ones to draw it.
    if (count == 0)
        return L"unknown (GetGuiResources gives 0, error " + std::to_wstring(GetLastError()) + L")";
    return std::to_wstring(count);
}

// What "Ports"'s process holds now: its USER and GDI objects where the
// system counts them, its handles, windows and memory.
void ProcessFigures(const Args&)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(MainWindow(), &pid);
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process)
        throw Failure("cannot open process " + std::to_string(pid) + ", error " + std::to_string(GetLastError()));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.Get(), &memory, sizeof memory))
        throw Failure("GetProcessMemoryInfo failed, error " + std::to_string(GetLastError()));
    Print(L"pid: " + std::to_wstring(pid));
    Print(L"user-objects: " + GuiResourceCount(process.Get(), GR_USEROBJECTS));
    Print(L"gdi-objects: " + GuiResourceCount(process.Get(), GR_GDIOBJECTS));
    Print(L"handles: " + std::to_wstring(HandlesOf(pid)));
    Print(L"windows: " + std::to_wstring(WindowsOf(pid)));
    Print(L"private-bytes: " + std::to_wstring(memory.PagefileUsage));
    Print(L"working-set: " + std::to_wstring(memory.WorkingSetSize));
    Print(L"peak-working-set: " + std::to_wstring(memory.PeakWorkingSetSize));
}

// ---------------------------------------------------------------- add and delete cycles

// The title of the program's prompt and message boxes.
constexpr wchar_t kProgramBoxTitle[] = L"Orvane - Dovrel";
constexpr wchar_t kMonitorAddTitle[] = L"Add a Local Port";
constexpr wchar_t kMonitorBoxTitle[] = L"Local Port";
constexpr int kPromptEditId = 101;
constexpr int kMonitorEditId = 101;

// Like Poll, more often: a cycle waits a dozen times.
template <typename Probe>
auto PollClosely(DWORD ms, Probe probe) -> decltype(probe())
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        auto result = probe();
        if (result || GetTickCount64() >= deadline)
            return result;
        Sleep(5);
    }
}

// The texts of a dialog's static controls, one line.
std::wstring StaticTexts(HWND dialog)
{
    std::wstring texts;
    for (HWND child : Descendants(dialog)) {
        if (_wcsicmp(ClassOf(child).c_str(), WC_STATICW) == 0) {
            const std::wstring text = Escaped(ControlText(child));
            if (!text.empty())
                texts += (texts.empty() ? L"" : L" | ") + text;
        }
    }
    return Quoted(texts);
}

void PressButton(HWND window, const std::wstring& caption)
{
    HWND button = Button(window, caption);
    if (!IsWindowEnabled(button))
        throw Failure(Utf8(L"the button " + Quoted(caption) + L" is disabled"));
    PostMessageW(button, BM_CLICK, 0, 0);
}

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
        HWND prompt = WaitDialog(kProgramBoxTitle, kDefaultWaitMs);
        HWND edit = GetDlgItem(prompt, kPromptEditId);
        if (!edit || _wcsicmp(ClassOf(edit).c_str(), WC_EDITW) != 0)
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
        HWND question = WaitDialog(kProgramBoxTitle, kDefaultWaitMs);
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
    {L"dblclick-row", "dblclick-row N              double-clicks row N of the list (posted; returns at once)", 1, 1,
     DoubleClickRow},
    {L"key", "key VK [shift] [ctrl] [alt] types a key into \"Ports\" (F1, esc, enter, 0x70...)", 1, 4, Key},
    {L"close-box", "close-box                   the close box of \"Ports\" (SC_CLOSE)", 0, 0, CloseBox},
    {L"move", "move X Y W H                moves and sizes \"Ports\"", 4, 4, Move},
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
    {L"edit-text", "edit-text TEXT [ms]         the text of the edit control in the window captioned TEXT", 1,
     2, EditText},
    {L"dialog", "dialog TITLE [ms]           a ready dialog titled TITLE: caption, owner, default button, controls",
     1, 2, Dialog},
    {L"set-text", "set-text TITLE ID TEXT      WM_SETTEXT to control ID of the dialog titled TITLE", 3, 3, SetText},
    {L"spooler-ports", "spooler-ports               EnumPortsA level 2: name, monitor, description, type", 0, 0,
     SpoolerPorts},
    {L"spooler-names", "spooler-names               EnumPortsW level 1: every port name, whole", 0, 0,
     SpoolerNames},
    {L"code-page", "code-page                   the ANSI code page of the driver's process", 0, 0, CodePage},
    {L"work-area", "work-area                   SPI_GETWORKAREA", 0, 0, WorkArea},
    {L"placement", "placement                   whether the saved window placement exists", 0, 0, Placement},
    {L"reset-placement", "reset-placement             deletes the saved window placement", 0, 0,
     ResetPlacement},
    {L"write-placement", "write-placement TYPE [HEX]  writes the saved placement as any registry type and bytes", 1, 2,
     WritePlacement},
    {L"delete-program-key", "delete-program-key          deletes HKCU\\Software\\Orvane\\Dovrel with all it holds", 0,
     0, DeleteProgramKey},
    {L"process-figures", "process-figures             USER and GDI objects, handles, windows, memory (and its peak) of \"Ports\"'s process",
     0, 0, ProcessFigures},
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
    int first = 1;
    if (argc > 2 && std::wstring(argv[1]) == L"--window") {
        gMainTitle = argv[2];
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
