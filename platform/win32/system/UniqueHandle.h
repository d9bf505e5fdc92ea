#pragma once

#include <windows.h>

#include <utility>

namespace dovrel::win32 {

// One move-only owner for every kind of handle: the traits name the null
// value and how the handle is closed. Closing may need more than the handle
// (the window a device context came from, the entry point of a library
// loaded at run time): such traits carry it, given with the handle, and
// close every handle the owner takes until another closer is given.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle, Traits closer = Traits()) : handle_(handle), closer_(std::move(closer)) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : closer_(other.closer_) { handle_ = other.Release(); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            closer_ = other.closer_;
            handle_ = other.Release();
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Null(); }
    // Lets go of the handle without closing it: its new owner closes it.
    Handle Release() { return std::exchange(handle_, Traits::Null()); }
    // Leaves the handle open for the rest of the program, on purpose.
    void KeepForTheProgram() { Release(); }
    void Reset(Handle handle = Traits::Null())
    {
        if (handle_ != Traits::Null())
            closer_.Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Null();
    Traits closer_;
};

// A handle the code uses but does not own: whoever made it closes it, and
// it must outlive the user.
template <typename Handle>
class Borrowed {
public:
    Borrowed() = default;
    explicit Borrowed(Handle handle) : handle_(handle) {}
    template <typename Traits>
    explicit Borrowed(const UniqueHandle<Traits>& owner) : handle_(owner.Get())
    {
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle(); }

private:
    Handle handle_ = Handle();
};

// A handle that its type's own function closes, and whose null value is
// null.
template <typename Type, auto close>
struct ClosedBy {
    using Handle = Type;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { close(h); }
};

// A file from CreateFile, whose null value is INVALID_HANDLE_VALUE.
struct FileTraits {
    using Handle = HANDLE;
    static Handle Null() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
// A device context from GetDC, given back to the window it came from (null:
// the screen's).
struct WindowDcTraits {
    using Handle = HDC;
    HWND window = nullptr;
    static Handle Null() { return nullptr; }
    void Close(Handle h) const { ReleaseDC(window, h); }
};
// An object selected into a device context: the handle is the object it
// replaced, which is selected back.
struct SelectionTraits {
    using Handle = HGDIOBJ;
    HDC dc = nullptr;
    static Handle Null() { return nullptr; }
    void Close(Handle replaced) const { SelectObject(dc, replaced); }
};
// The clipboard, open while the handle is true.
struct OpenClipboardTraits {
    using Handle = bool;
    static Handle Null() { return false; }
    static void Close(Handle) { CloseClipboard(); }
};

// A print server opened through the spooler's library, which the program
// loads at run time: the closer carries its ClosePrinter.
struct PrinterTraits {
    using Handle = HANDLE;
    BOOL(WINAPI* closePrinter)(HANDLE) = nullptr;
    static Handle Null() { return nullptr; }
    void Close(Handle h) const { closePrinter(h); }
};
// A printer change notification, closed through the spooler's
// FindClosePrinterChangeNotification; its null value is INVALID_HANDLE_VALUE.
struct PrinterChangeTraits {
    using Handle = HANDLE;
    BOOL(WINAPI* findClose)(HANDLE) = nullptr;
    static Handle Null() { return INVALID_HANDLE_VALUE; }
    void Close(Handle h) const { findClose(h); }
};

using UniqueHkey = UniqueHandle<ClosedBy<HKEY, RegCloseKey>>;
using UniqueHwnd = UniqueHandle<ClosedBy<HWND, DestroyWindow>>;
using UniqueFont = UniqueHandle<ClosedBy<HFONT, DeleteObject>>;
// Any GDI object, for code that does not say which kind.
using UniqueGdiObject = UniqueHandle<ClosedBy<HGDIOBJ, DeleteObject>>;
using UniqueKernelHandle = UniqueHandle<ClosedBy<HANDLE, CloseHandle>>;
using UniqueModule = UniqueHandle<ClosedBy<HMODULE, FreeLibrary>>;
using UniqueIcon = UniqueHandle<ClosedBy<HICON, DestroyIcon>>;
using UniqueMenu = UniqueHandle<ClosedBy<HMENU, DestroyMenu>>;
using UniqueGlobalMemory = UniqueHandle<ClosedBy<HGLOBAL, GlobalFree>>;
using UniqueLocalMemory = UniqueHandle<ClosedBy<HLOCAL, LocalFree>>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueWindowDc = UniqueHandle<WindowDcTraits>;
using UniqueSelection = UniqueHandle<SelectionTraits>;
using UniqueOpenClipboard = UniqueHandle<OpenClipboardTraits>;
using UniquePrinter = UniqueHandle<PrinterTraits>;
using UniquePrinterChange = UniqueHandle<PrinterChangeTraits>;

}  // namespace dovrel::win32
