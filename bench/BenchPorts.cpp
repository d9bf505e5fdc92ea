#include "bench/BenchPorts.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>

namespace dovrel::bench {

namespace {

// Each letter upper or lower case at random.
std::string MixCase(std::string text, std::mt19937& random)
{
    for (char& c : text)
        if (std::isalpha(static_cast<unsigned char>(c)) && (random() & 1))
            c = static_cast<char>(std::islower(static_cast<unsigned char>(c)) ? std::toupper(c) : std::tolower(c));
    return text;
}

}  // namespace

std::vector<PortRecord> MakePorts(std::size_t count)
{
    std::mt19937 random(static_cast<std::mt19937::result_type>(count));
    std::vector<PortRecord> ports;
    ports.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // The number keeps every name unique whatever the case.
        const std::string n = std::to_string(i);
        PortRecord port;
        port.description = "Local Port";
        port.monitor = "Local Monitor";
        switch (i % 4) {
        case 0:
            port.name = MixCase("lpt" + n + ":", random);
            break;
        case 1:
            port.name = MixCase("ne" + std::string(n.size() < 2 ? "0" : "") + n + ":", random);
            break;
        case 2:
            port.name = MixCase("\\\\server" + std::to_string(i % 97) + "\\printer" + n, random);
            port.monitor = "Standard TCP/IP Port";
            port.type = 3;
            break;
        default:
            port.name = MixCase("c:\\out\\file" + n + ".prn", random);
            break;
        }
        ports.push_back(std::move(port));
    }
    std::shuffle(ports.begin(), ports.end(), random);
    return ports;
}

PreparedSpooler::PreparedSpooler(const std::vector<PortRecord>& ports) : ports_(ports)
{
    for (const PortRecord& port : ports_)
        strings_.push_back({port.name.c_str(), port.monitor.c_str(), port.description.c_str(), port.type});
    bytes_ = test::PortRecordBytes(strings_);
}

SpoolerResult PreparedSpooler::EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                                          std::int32_t& returned)
{
    bytesNeeded = static_cast<std::int32_t>(bytes_);
    returned = 0;
    if (!buffer || bufferSize < bytes_)
        return {false, ERROR_INSUFFICIENT_BUFFER};
    test::WritePortRecords(strings_, buffer, bufferSize, test::StringPlacement::AfterRecords);
    returned = static_cast<std::int32_t>(strings_.size());
    return {true, 0};
}

double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<double>(value.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

MemoryFigures ProcessMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return {};
    return {counters.PeakWorkingSetSize, counters.PeakPagefileUsage};
}

}  // namespace dovrel::bench
