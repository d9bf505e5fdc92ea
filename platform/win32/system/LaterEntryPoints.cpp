#include "platform/win32/system/LaterEntryPoints.h"

namespace dovrel::win32 {

namespace {

KernelEntryPoints LookUpKernel()
{
    // kernel32 is in every process from its start.
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    KernelEntryPoints entries = {};
    entries.SetDefaultDllDirectories =
        FindEntryPoint<decltype(entries.SetDefaultDllDirectories)>(kernel, "SetDefaultDllDirectories");
    entries.SetDllDirectoryW = FindEntryPoint<decltype(entries.SetDllDirectoryW)>(kernel, "SetDllDirectoryW");
    entries.CompareStringOrdinal =
        FindEntryPoint<decltype(entries.CompareStringOrdinal)>(kernel, "CompareStringOrdinal");
    entries.LoadLibraryExW = &::LoadLibraryExW;
    entries.CreateActCtxW = FindEntryPoint<decltype(entries.CreateActCtxW)>(kernel, "CreateActCtxW");
    return entries;
}

}  // namespace

const KernelEntryPoints& Kernel()
{
    static const KernelEntryPoints entries = LookUpKernel();
    return entries;
}

}  // namespace dovrel::win32
