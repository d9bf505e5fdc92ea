#pragma once

#include <windows.h>

#include <utility>

namespace dovrel::win32 {

// One move-only owner for every kind of handle: the traits name the null
// value and how the handle is closed.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Null(); }
    Handle Release() { return std::exchange(handle_, Traits::Null()); }
    void Reset(Handle handle = Traits::Null())
    {
        if (handle_ != Traits::Null())
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Null();
};

struct HkeyTraits {
    using Handle = HKEY;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};
struct HwndTraits {
    using Handle = HWND;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { DestroyWindow(h); }
};
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { CloseHandle(h); }
};
struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { DestroyIcon(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { GlobalFree(h); }
};
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Null() { return nullptr; }
    static void Close(Handle h) { LocalFree(h); }
};
// A file from CreateFile, whose null value is INVALID_HANDLE_VALUE.
struct FileTraits {
    using Handle = HANDLE;
    static Handle Null() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

using UniqueHkey = UniqueHandle<HkeyTraits>;
using UniqueHwnd = UniqueHandle<HwndTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueGlobalMemory = UniqueHandle<GlobalMemoryTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;
using UniqueFile = UniqueHandle<FileTraits>;

}  // namespace dovrel::win32
