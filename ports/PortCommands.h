#pragma once

#include <functional>

#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"
#include "platform/Spooler.h"
#include "platform/SupportLibrary.h"

namespace dovrel {

// "Add...", "Delete..." and "Settings...": each hands one operation to the
// spooler for the local machine, with the port window as the owner of any
// dialog the port monitor shows. A port is the text of its row: for
// "Settings..." the selected one, for "Delete..." the one its question named.
// A refusal is reported with the spooler's reason, and where the program
// lacks an administrator's rights that a new start could give it, with the
// offer of that start (`restartAsAdministrator`).
class PortCommands {
public:
    PortCommands(Form& form, ListViewControl& lvPorts, FormsRuntime& runtime, SupportLibrary& support,
                 Spooler& spooler, std::function<void()> refreshPorts, std::function<void()> restartAsAdministrator);

    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdSettings_Click();

private:
    bool IsListed(const std::wstring& portName) const;
    // Says why the spooler refused, below the command's fixed text, with
    // `more` below that; nothing when the user cancelled the monitor's dialog.
    void ReportRefusal(const wchar_t* fixedText, std::uint32_t error, const std::wstring& more = std::wstring());

    Form& form_;
    ListViewControl& lvPorts_;
    FormsRuntime& runtime_;
    SupportLibrary& support_;
    Spooler& spooler_;
    std::function<void()> refreshPorts_;
    std::function<void()> restartAsAdministrator_;
};

}  // namespace dovrel
