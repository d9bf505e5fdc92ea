#include "platform/win32/PrintServer.h"

#include <utility>

#include "platform/win32/TextConversion.h"

namespace dovrel::win32 {

PrintServer::PrintServer(std::wstring name) : name_(std::move(name)), ansi_(AnsiFromWide(name_)) {}

}  // namespace dovrel::win32
