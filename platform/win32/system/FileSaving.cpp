#include "platform/win32/system/FileSaving.h"

#include <algorithm>

#include "platform/win32/system/LastError.h"
#include "platform/win32/system/UniqueHandle.h"

namespace dovrel::win32 {

namespace {

// As many as three hex digits give.
constexpr unsigned kTemporaryNames = 0x1000;

std::wstring FolderPart(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// Ten characters, "~dv", three hex digits and ".tmp": a folder of 248
// characters, the longest Windows makes, still takes it within MAX_PATH.
std::wstring TemporaryPath(const std::wstring& folder, unsigned number)
{
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring path = folder + L"\\~dv";
    for (int shift = 8; shift >= 0; shift -= 4)
        path += kDigits[(number >> shift) & 0xF];
    return path + L".tmp";
}

// The new file, made under a name that nothing else has (CREATE_NEW), and
// deleted again unless it was put in place.
class TemporaryFile {
public:
    TemporaryFile(const std::wstring& folder, const FileSystemCalls& calls) : calls_(calls)
    {
        for (unsigned number = 0; number < kTemporaryNames; ++number) {
            const std::wstring path = TemporaryPath(folder, number);
            file_.Reset(calls_.createFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                          nullptr));
            if (file_) {
                path_ = path;
                return;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                return;
        }
    }
    ~TemporaryFile()
    {
        file_.Reset();
        if (!path_.empty())
            calls_.deleteFile(path_.c_str());  // nothing more to do when it fails
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Made() const { return !path_.empty(); }
    const std::wstring& Path() const { return path_; }
    HANDLE Handle() const { return file_.Get(); }
    bool Close() { return CloseHandle(file_.Release()) != FALSE; }
    void Kept() { path_.clear(); }

private:
    const FileSystemCalls& calls_;
    UniqueFile file_;
    std::wstring path_;
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

// ReplaceFileW keeps an existing file's security, attributes and creation
// time; where it cannot (no file there yet, a file system without it), the
// new file is moved over the name.
bool PutInPlace(const std::wstring& temporary, const std::wstring& path, const FileSystemCalls& calls)
{
    if (calls.replaceFile(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr))
        return true;
    return calls.moveFileEx(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
}

bool Failed(std::wstring& reason)
{
    reason = SystemMessage(GetLastError()) + L".";
    return false;
}

}  // namespace

const FileSystemCalls& SystemFileCalls()
{
    static const FileSystemCalls calls = {&::CreateFileW, &::ReplaceFileW, &::MoveFileExW, &::DeleteFileW};
    return calls;
}

bool SaveFileWhole(const std::wstring& path, const std::string& bytes, std::wstring& reason,
                   const FileSystemCalls& calls)
{
    TemporaryFile temporary(FolderPart(path), calls);
    if (!temporary.Made() || !WriteAll(temporary.Handle(), bytes) || !temporary.Close())
        return Failed(reason);
    if (!PutInPlace(temporary.Path(), path, calls))
        return Failed(reason);
    temporary.Kept();
    return true;
}

}  // namespace dovrel::win32
