#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Spooler.h"
#include "tests/common/PortRecords.h"

namespace dovrel::bench {

struct PortRecord {
    std::string name;
    std::string monitor;
    std::string description;
    std::uint32_t type = 1;
};

// count ports named like real ones (printer ports, network shares, files),
// in mixed case and shuffled; the same count always gives the same ports.
std::vector<PortRecord> MakePorts(std::size_t count);

// Serves prepared ports through EnumPortsA the way Wine's spooler lays them
// out: the records first, then their strings, every address pointing into
// the caller's buffer.
class PreparedSpooler final : public Spooler {
public:
    explicit PreparedSpooler(const std::vector<PortRecord>& ports);
    PreparedSpooler(const PreparedSpooler&) = delete;
    PreparedSpooler& operator=(const PreparedSpooler&) = delete;

    SpoolerResult EnumPortsA(std::uint8_t* buffer, std::uint32_t bufferSize, std::int32_t& bytesNeeded,
                             std::int32_t& returned) override;
    SpoolerResult AddPortA(WindowHandle, const std::wstring&) override { return {}; }
    SpoolerResult DeletePortW(WindowHandle, const std::wstring&) override { return {}; }
    SpoolerResult ConfigurePortW(WindowHandle, const std::wstring&) override { return {}; }
    std::vector<std::wstring> PrintersUsingPort(const std::wstring&) override { return {}; }

private:
    std::vector<PortRecord> ports_;
    std::vector<test::PortStrings> strings_;  // into ports_
    std::size_t bytes_ = 0;
};

// Milliseconds since an arbitrary start, from the performance counter.
double NowMs();

struct MemoryFigures {
    std::size_t peakWorkingSet = 0;
    std::size_t peakPagefile = 0;
};
MemoryFigures ProcessMemory();

}  // namespace dovrel::bench
