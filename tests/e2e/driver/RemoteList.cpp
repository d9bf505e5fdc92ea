#include "tests/e2e/driver/RemoteList.h"

#include <algorithm>
#include <cwctype>

#include "tests/e2e/driver/WindowSearch.h"

namespace e2e {

RemoteMemory::RemoteMemory(HWND window, SIZE_T size)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_.Reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, pid));
    if (!process_)
        throw Failure("cannot open process " + std::to_string(pid) + ", error " + std::to_string(GetLastError()));
    RequireSameBitness();
    address_ = VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_)
        throw Failure("VirtualAllocEx failed, error " + std::to_string(GetLastError()));
}

RemoteMemory::~RemoteMemory()
{
    VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE);
}

LPARAM RemoteMemory::At(SIZE_T offset) const
{
    return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
}

void RemoteMemory::Write(SIZE_T offset, const void* data, SIZE_T size)
{
    SIZE_T done = 0;
    if (!WriteProcessMemory(process_.Get(), reinterpret_cast<void*>(At(offset)), data, size, &done) || done != size)
        throw Failure("WriteProcessMemory failed, error " + std::to_string(GetLastError()));
}

void RemoteMemory::Read(LPARAM address, void* data, SIZE_T size) const
{
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_.Get(), reinterpret_cast<const void*>(address), data, size, &done) ||
        done != size)
        throw Failure("ReadProcessMemory failed, error " + std::to_string(GetLastError()));
}

// Read a page at a time so that no read crosses into a page that may not exist.
std::wstring RemoteMemory::ReadString(LPARAM address, size_t maxChars) const
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

// The structures written here hold pointers, so both sides must agree on
// their size.
void RemoteMemory::RequireSameBitness() const
{
    BOOL ownWow = FALSE;
    BOOL targetWow = FALSE;
    IsWow64Process(GetCurrentProcess(), &ownWow);
    IsWow64Process(process_.Get(), &targetWow);
    if (ownWow != targetWow)
        throw Failure("the target program and this driver differ in bitness; use the driver of the same build");
}

RemoteList::RemoteList(HWND list) : list_(list), memory_(list, sizeof(Block)) {}

int RemoteList::RowCount() const
{
    return static_cast<int>(Ask(list_, LVM_GETITEMCOUNT, 0, 0));
}

HWND RemoteList::Header() const
{
    HWND header = reinterpret_cast<HWND>(Ask(list_, LVM_GETHEADER, 0, 0));
    if (!header)
        throw Failure("the list has no header");
    return header;
}

int RemoteList::ColumnCount() const
{
    return static_cast<int>(Ask(Header(), HDM_GETITEMCOUNT, 0, 0));
}

std::wstring RemoteList::CellText(int row, int column)
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

void RemoteList::SetSelection(int row)
{
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    memory_.Write(offsetof(Block, item), &item, sizeof item);
    Ask(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), memory_.At(offsetof(Block, item)));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    memory_.Write(offsetof(Block, item), &item, sizeof item);
    Ask(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), memory_.At(offsetof(Block, item)));
}

std::wstring RemoteList::ColumnText(int column)
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

int RemoteList::ColumnWidth(int column) const
{
    return static_cast<int>(Ask(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

int RemoteList::StringWidth(const std::wstring& text)
{
    const std::wstring bounded = text.substr(0, kTextChars - 1);
    memory_.Write(offsetof(Block, text), bounded.c_str(), (bounded.size() + 1) * sizeof(wchar_t));
    return static_cast<int>(Ask(list_, LVM_GETSTRINGWIDTHW, 0, memory_.At(offsetof(Block, text))));
}

RECT RemoteList::HeaderItemRect(int column)
{
    RECT rect{};
    memory_.Write(offsetof(Block, rect), &rect, sizeof rect);
    if (!Ask(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(column), memory_.At(offsetof(Block, rect))))
        throw Failure("HDM_GETITEMRECT failed for column " + std::to_string(column));
    memory_.Read(memory_.At(offsetof(Block, rect)), &rect, sizeof rect);
    return rect;
}

RECT RemoteList::RowRect(int row)
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

std::vector<int> RemoteList::SelectedRows() const
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

int RemoteList::ColumnIndex(const std::wstring& text)
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

LPARAM CentreOf(const RECT& rect)
{
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

}  // namespace e2e
