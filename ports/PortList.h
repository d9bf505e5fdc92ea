#pragma once

#include <cstddef>
#include <cstdint>
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
    // Adds one row for record `index` (from 0) of the spooler's answer.
    void ParsePortInfo(const SpoolerAnswer& buff, std::int32_t index);

private:
    void ReportEnumFailure(std::uint32_t error);

    ListViewControl& lvPorts_;
    CommandButton& cmdDelete_;
    CommandButton& cmdSettings_;
    FormsRuntime& runtime_;
    SupportLibrary& support_;
    Spooler& spooler_;
};

}  // namespace dovrel
