#include "platform/win32/FileSaving.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/LastError.h"
#include "platform/win32/UniqueHandle.h"

namespace dovrel::win32 {

namespace {

std::wstring FolderPart(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// The new file's name until it is moved in place; deleted when that does
// not happen.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& folder)
    {
        wchar_t name[MAX_PATH] = {};
        if (GetTempFileNameW(folder.c_str(), L"dvl", 0, name) != 0)
            name_ = name;
    }
    ~TemporaryFile()
    {
        if (!name_.empty())
            DeleteFileW(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Name() const { return name_; }
    void Kept() { name_.clear(); }

private:
    std::wstring name_;
};

bool WriteAll(HANDLE file, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

bool Failed(std::wstring& reason)
{
    reason = SystemMessage(GetLastError()) + L".";
    return false;
}

}  // namespace

bool SaveFileWhole(const std::wstring& path, const std::string& bytes, std::wstring& reason)
{
    TemporaryFile temporary(FolderPart(path));
    if (temporary.Name().empty())
        return Failed(reason);
    {
        UniqueFile file(CreateFileW(temporary.Name().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteAll(file.Get(), bytes))
            return Failed(reason);
        if (!CloseHandle(file.Release()))
            return Failed(reason);
    }
    if (!MoveFileExW(temporary.Name().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Failed(reason);
    temporary.Kept();
    return true;
}

}  // namespace dovrel::win32
