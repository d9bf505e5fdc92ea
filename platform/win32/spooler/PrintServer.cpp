#include "platform/win32/spooler/PrintServer.h"

#include <utility>

#include "platform/win32/system/TextConversion.h"

namespace dovrel::win32 {

PrintServer::PrintServer(std::wstring name) : name_(std::move(name)), ansi_(AnsiFromWide(name_)) {}

}  // namespace dovrel::win32
