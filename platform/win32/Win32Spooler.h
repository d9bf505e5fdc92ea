#pragma once

#include "platform/Spooler.h"

namespace dovrel::win32 {

// The local print spooler through winspool's ANSI entry points.
class Win32Spooler final : public Spooler {
public:
    bool EnumPorts(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                   std::int32_t& returned) override;
    bool AddPort(WindowHandle owner, const std::wstring& monitorName) override;
    bool DeletePort(WindowHandle owner, const std::wstring& portName) override;
    bool ConfigurePort(WindowHandle owner, const std::wstring& portName) override;
};

}  // namespace dovrel::win32
