#pragma once

#include <functional>

#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"
#include "platform/Spooler.h"

namespace dovrel {

// "Add...", "Delete..." and "Settings...": each hands one operation to the
// spooler for the local machine, with the port window as the owner of any
// dialog the port monitor shows. A port is the text of its row: for
// "Settings..." the selected one, for "Delete..." the one its question named.
class PortCommands {
public:
    PortCommands(Form& form, ListViewControl& lvPorts, FormsRuntime& runtime, Spooler& spooler,
                 std::function<void()> refreshPorts);

    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdSettings_Click();

private:
    bool IsListed(const std::wstring& portName) const;

    Form& form_;
    ListViewControl& lvPorts_;
    FormsRuntime& runtime_;
    Spooler& spooler_;
    std::function<void()> refreshPorts_;
};

}  // namespace dovrel
