#pragma once

#include "platform/Spooler.h"

namespace dovrel::win32 {

// The local print spooler through winspool's ANSI entry points.
class Win32Spooler final : public Spooler {
public:
    bool EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                   std::int32_t& returned) override;
    bool AddPortA(WindowHandle owner, const std::wstring& monitorName) override;
    bool DeletePortA(WindowHandle owner, const std::wstring& portName) override;
    bool ConfigurePortA(WindowHandle owner, const std::wstring& portName) override;
};

}  // namespace dovrel::win32
