#include "platform/win32/system/ProgramArguments.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/CommandLine.h"
#include "platform/win32/system/LastError.h"
#include "platform/win32/system/SystemLibrary.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

std::vector<std::wstring> ProgramArguments()
{
    const wchar_t* commandLine = GetCommandLineW();
    if (ArgumentsOf(commandLine).empty())
        return {};
    const SystemLibrary shell32(L"shell32.dll");
    const auto split = shell32.Get<decltype(&::CommandLineToArgvW)>("CommandLineToArgvW");
    int count = 0;
    LPWSTR* words = split(commandLine, &count);
    if (!words)
        ThrowLastError(L"CommandLineToArgvW");
    const UniqueLocalMemory owned(reinterpret_cast<HLOCAL>(words));
    return std::vector<std::wstring>(words + (count > 0 ? 1 : 0), words + count);
}

}  // namespace dovrel::win32
