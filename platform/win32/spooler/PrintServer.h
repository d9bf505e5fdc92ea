#pragma once

#include <windows.h>

#include <string>

namespace dovrel::win32 {

// The print server that every call of the spooler goes to: the local
// machine, or the server the program was started for, named "\\name".
class PrintServer {
public:
    PrintServer() = default;
    explicit PrintServer(std::wstring name);

    bool IsLocal() const { return name_.empty(); }
    // The name as the spooler's Unicode and ANSI entry points take it: null
    // for the local machine. The spooler does not write to it.
    LPWSTR Wide() const { return IsLocal() ? nullptr : const_cast<LPWSTR>(name_.c_str()); }
    LPSTR Ansi() const { return IsLocal() ? nullptr : const_cast<LPSTR>(ansi_.c_str()); }

private:
    std::wstring name_;
    std::string ansi_;
};

}  // namespace dovrel::win32
