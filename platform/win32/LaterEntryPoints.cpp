#include "platform/win32/LaterEntryPoints.h"

namespace dovrel::win32 {

namespace {

template <typename Function>
Function Find(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

KernelEntryPoints LookUpKernel()
{
    // kernel32 is in every process from its start.
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    KernelEntryPoints entries = {};
    entries.SetDefaultDllDirectories =
        Find<decltype(entries.SetDefaultDllDirectories)>(kernel, "SetDefaultDllDirectories");
    entries.SetDllDirectoryW = Find<decltype(entries.SetDllDirectoryW)>(kernel, "SetDllDirectoryW");
    entries.CompareStringOrdinal = Find<decltype(entries.CompareStringOrdinal)>(kernel, "CompareStringOrdinal");
    entries.LoadLibraryExW = &::LoadLibraryExW;
    entries.CreateActCtxW = Find<decltype(entries.CreateActCtxW)>(kernel, "CreateActCtxW");
    return entries;
}

}  // namespace

const KernelEntryPoints& Kernel()
{
    static const KernelEntryPoints entries = LookUpKernel();
    return entries;
}

}  // namespace dovrel::win32
