#pragma once
// The list view of another process, read and clicked through memory
// allocated inside that process.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win32/system/UniqueHandle.h"
#include "tests/e2e/driver/Common.h"

namespace e2e {

// Memory inside the process that owns a window, for the control messages
// whose pointers Windows does not carry across processes.
class RemoteMemory {
public:
    RemoteMemory(HWND window, SIZE_T size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    // The address, in the other process, of the byte at offset.
    LPARAM At(SIZE_T offset) const;
    void Write(SIZE_T offset, const void* data, SIZE_T size);
    void Read(LPARAM address, void* data, SIZE_T size) const;
    // A NUL-terminated string anywhere in the other process.
    std::wstring ReadString(LPARAM address, size_t maxChars) const;

private:
    void RequireSameBitness() const;

    dovrel::win32::UniqueKernelHandle process_;
    void* address_ = nullptr;
};

// Enough for the longest port names the scenarios try.
constexpr size_t kTextChars = 8192;

class RemoteList {
public:
    explicit RemoteList(HWND list);

    int RowCount() const;
    HWND Header() const;
    int ColumnCount() const;
    std::wstring CellText(int row, int column);
    std::wstring ColumnText(int column);
    int ColumnWidth(int column) const;
    // Pixels the text takes in the list's font.
    int StringWidth(const std::wstring& text);
    RECT HeaderItemRect(int column);
    // The row's first cell in the list's client coordinates, after scrolling
    // the row into view as a person would.
    RECT RowRect(int row);
    std::vector<int> SelectedRows() const;
    // Selects the row alone and focuses it, as an assistive tool does.
    void SetSelection(int row);
    // Column index from a header text or a number counted from 0.
    int ColumnIndex(const std::wstring& text);

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

LPARAM CentreOf(const RECT& rect);

}  // namespace e2e
