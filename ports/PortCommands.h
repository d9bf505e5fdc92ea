#pragma once

#include <functional>

#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"
#include "platform/Spooler.h"
#include "platform/SupportLibrary.h"
#include "ports/PortList.h"

namespace dovrel {

// Adding, deleting and configuring a port: each hands one operation to the
// spooler, with the port window as the owner of any dialog the port monitor
// shows, and refreshes the port list after a change. A port is the text of
// its row: to configure, the selected one; to delete, the one the question
// named.
// A refusal is reported with the spooler's reason, and where the program
// lacks an administrator's rights that a new start could give it, with the
// offer of that start (`restartAsAdministrator`).
class PortCommands {
public:
    PortCommands(Form& form, PortList& portList, ListViewControl& lvPorts, FormsRuntime& runtime,
                 SupportLibrary& support, Spooler& spooler, std::function<void()> restartAsAdministrator);

    void AddPort();
    void DeletePort();
    void ConfigurePort();

private:
    bool IsListed(const std::wstring& portName) const;
    // Says why the spooler refused, below the command's fixed text, with
    // `more` below that; nothing when the user cancelled the monitor's dialog.
    void ReportRefusal(const wchar_t* fixedText, std::uint32_t error, const std::wstring& more = std::wstring());

    Form& form_;
    PortList& portList_;
    ListViewControl& lvPorts_;
    FormsRuntime& runtime_;
    SupportLibrary& support_;
    Spooler& spooler_;
    std::function<void()> restartAsAdministrator_;
};

}  // namespace dovrel
