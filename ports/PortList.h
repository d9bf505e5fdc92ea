#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"
#include "platform/Spooler.h"
#include "platform/SupportLibrary.h"

namespace dovrel {

// The spooler's answer to one enumeration: the buffer the program offered
// it (`offered` bytes of `bytes`) and how many bytes it reported filling.
// The records lie at the start, within the filled bytes; their strings may
// lie anywhere in the offered bytes: Windows packs them downwards from the
// end of the buffer offered, so when a port went away between the size call
// and the data call they lie beyond the bytes reported filled.
struct PortBuffer {
    std::vector<std::uint8_t> bytes;
    std::size_t offered = 0;
    std::size_t filled = 0;

    // Whole records that lie inside the filled bytes.
    std::size_t WholeRecords() const { return filled / sizeof(PortInfo2); }
};

// The text of the Type column: a piece for each of the four low type bits,
// "Unknown" when none is set.
std::wstring PortTypeText(std::uint32_t fPortType, SupportLibrary& support);

// Keeps the port list in step with the spooler: the port window's
// RefreshPorts, FillPortList and ParsePortInfo.
class PortList {
public:
    PortList(ListViewControl& lvPorts, CommandButton& cmdDelete, CommandButton& cmdSettings, FormsRuntime& runtime,
             SupportLibrary& support, Spooler& spooler);

    // Disables the two commands that need a selected port, shows the
    // hourglass and rebuilds the list; the pointer returns on every path.
    void RefreshPorts();
    // The same refresh after ports were changed elsewhere, keeping what the
    // user chose: the sort column and direction, the selected port (when it
    // is still there; otherwise the row that took its place) and the row at
    // the top of the view.
    void UpdatePorts();
    void FillPortList();
    // Adds one row for record `index` (from 0) of the buffer.
    void ParsePortInfo(const PortBuffer& buff, std::int32_t index);

    // How often the data call is repeated when the ports grew between the
    // size call and the data call.
    static constexpr int kMaxEnumAttempts = 4;

private:
    bool EnumeratePorts(PortBuffer& buff, std::int32_t& records, std::uint32_t& error);
    void ReportEnumFailure(std::uint32_t error);
    const char* StringInBuffer(const PortBuffer& buff, const char* address) const;

    ListViewControl& lvPorts_;
    CommandButton& cmdDelete_;
    CommandButton& cmdSettings_;
    FormsRuntime& runtime_;
    SupportLibrary& support_;
    Spooler& spooler_;
};

}  // namespace dovrel
