#pragma once

// The spooler's answer to EnumPortsA at level 2, written as a spooler writes
// it: for the fakes, the stand-in spooler and the benchmark alike.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Spooler.h"

namespace dovrel::test {

// One port's record; a null text is written as a null address.
struct PortStrings {
    const char* name;
    const char* monitor;
    const char* description;
    std::uint32_t type;
};

// Where the strings go: right after the records, as Wine's spooler puts
// them, or packed downwards from the end of the buffer offered, as
// Windows' spooler and the port monitor samples of its driver kit do.
enum class StringPlacement { AfterRecords, FromEndOfBuffer };

inline std::size_t TextBytes(const char* text)
{
    return text ? std::strlen(text) + 1 : 0;
}

// The bytes that the records and their strings take.
inline std::size_t PortRecordBytes(const std::vector<PortStrings>& ports)
{
    std::size_t bytes = ports.size() * sizeof(PortInfo2);
    for (const PortStrings& port : ports)
        bytes += TextBytes(port.name) + TextBytes(port.monitor) + TextBytes(port.description);
    return bytes;
}

// Writes the records at the start of the buffer and their strings where
// `placement` says, every address aimed into the buffer; the buffer must
// hold PortRecordBytes(ports), and `offered` is its size.
inline void WritePortRecords(const std::vector<PortStrings>& ports, std::uint8_t* buffer, std::size_t offered,
                             StringPlacement placement)
{
    const bool downwards = placement == StringPlacement::FromEndOfBuffer;
    std::uint8_t* strings = downwards ? buffer + offered : buffer + ports.size() * sizeof(PortInfo2);
    auto place = [&](const char* text) -> const char* {
        if (!text)
            return nullptr;
        const std::size_t size = TextBytes(text);
        if (downwards)
            strings -= size;
        std::memcpy(strings, text, size);
        const auto* at = reinterpret_cast<const char*>(strings);
        if (!downwards)
            strings += size;
        return at;
    };
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const PortInfo2 record{place(ports[i].name), place(ports[i].monitor), place(ports[i].description),
                               ports[i].type, 0};
        std::memcpy(buffer + i * sizeof(PortInfo2), &record, sizeof record);
    }
}

}  // namespace dovrel::test
