#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"
#include "platform/Spooler.h"
#include "platform/SpoolerAnswer.h"
#include "platform/SupportLibrary.h"

namespace dovrel {

// The text of the Type column: a piece for each of the four low type bits,
// "Unknown" when none is set.
std::wstring PortTypeText(std::uint32_t fPortType, SupportLibrary& support);

// Keeps the port list in step with the spooler: the port window's
// RefreshPorts, FillPortList and ParsePortInfo.
class PortList {
public:
    // `holdsRows` learns that the list holds no rows as a refresh begins, and
    // that it holds rows once the refresh has listed them.
    PortList(ListViewControl& lvPorts, FormsRuntime& runtime, SupportLibrary& support, Spooler& spooler,
             std::function<void(bool holdsRows)> holdsRows);

    // Says the list holds no rows, shows the hourglass and rebuilds the
    // list; the pointer returns on every path.
    void RefreshPorts();
    // The same refresh after ports were changed elsewhere, keeping what the
    // user chose: the sort column and direction, the selected port (when it
    // is still there; otherwise the row that took its place) and the row at
    // the top of the view.
    void UpdatePorts();
    void FillPortList();
    // Adds one row for record `index` (from 0) of the spooler's answer.
    void ParsePortInfo(const SpoolerAnswer& buff, std::int32_t index);

private:
    void ReportEnumFailure(std::uint32_t error);

    ListViewControl& lvPorts_;
    FormsRuntime& runtime_;
    SupportLibrary& support_;
    Spooler& spooler_;
    std::function<void(bool)> holdsRows_;
};

}  // namespace dovrel
