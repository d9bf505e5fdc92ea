#include "platform/win32/system/Clipboard.h"

#include <cstring>

#include "platform/win32/system/LastError.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

namespace {

// Another program may hold the clipboard for a moment; it is asked a few
// times before the copy is given up.
UniqueOpenClipboard OpenClipboardFor(HWND owner)
{
    constexpr int kAttempts = 10;
    for (int attempt = 1; !OpenClipboard(owner); ++attempt) {
        if (attempt == kAttempts)
            ThrowLastError(L"OpenClipboard");
        Sleep(20);
    }
    return UniqueOpenClipboard(true);
}

UniqueGlobalMemory CopyToGlobalMemory(const std::wstring& text)
{
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        ThrowLastError(L"GlobalAlloc");
    void* at = GlobalLock(memory.Get());
    if (!at)
        ThrowLastError(L"GlobalLock");
    std::memcpy(at, text.c_str(), bytes);
    GlobalUnlock(memory.Get());
    return memory;
}

}  // namespace

void PutTextOnClipboard(HWND owner, const std::wstring& text)
{
    UniqueGlobalMemory memory = CopyToGlobalMemory(text);
    const UniqueOpenClipboard open = OpenClipboardFor(owner);
    if (!EmptyClipboard())
        ThrowLastError(L"EmptyClipboard");
    if (!SetClipboardData(CF_UNICODETEXT, memory.Get()))
        ThrowLastError(L"SetClipboardData");
    memory.Release();  // the clipboard's now
}

}  // namespace dovrel::win32
