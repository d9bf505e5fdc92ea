#include "ports/PortCommands.h"

#include <utility>

namespace dovrel {

PortCommands::PortCommands(Form& form, ListViewControl& lvPorts, FormsRuntime& runtime, Spooler& spooler,
                           std::function<void()> refreshPorts)
    : form_(form), lvPorts_(lvPorts), runtime_(runtime), spooler_(spooler), refreshPorts_(std::move(refreshPorts))
{
}

void PortCommands::cmdAdd_Click()
{
    // Only the empty text (Cancel, or a cleared field) is refused; anything
    // else goes to the spooler exactly as typed, blanks included.
    const std::wstring monitorName = runtime_.InputBox(L"Input monitor name.", L"Local port");
    if (monitorName.empty())
        return;
    const WindowHandle owner = form_.hWnd();
    if (!spooler_.AddPortA(owner, monitorName)) {
        runtime_.MsgBox(L"Can't add port.", kMbOk | kMbIconExclamation);
        return;
    }
    refreshPorts_();
}

void PortCommands::cmdDelete_Click()
{
    const auto shown = lvPorts_.SelectedItem();
    if (!shown)
        return;
    const std::wstring portName = shown->Text();
    const std::wstring question = portName + L"\r\n\r\n" + L"Delete port?";
    if (runtime_.MsgBox(question, kMbOkCancel | kMbIconExclamation) == kIdCancel)
        return;

    // OK deletes the port the question named, wherever the selection went
    // while it was up; a port no longer listed is left to its fate.
    if (!IsListed(portName))
        return;
    const WindowHandle owner = form_.hWnd();
    if (!spooler_.DeletePortA(owner, portName)) {
        runtime_.MsgBox(L"Can't delete port.", kMbOk | kMbIconExclamation);
        return;
    }
    refreshPorts_();
}

bool PortCommands::IsListed(const std::wstring& portName) const
{
    ListItemCollection& items = lvPorts_.ListItems();
    const std::int32_t count = items.Count();
    for (std::int32_t index = 1; index <= count; ++index)
        if (items.Item(index)->Text() == portName)
            return true;
    return false;
}

void PortCommands::cmdSettings_Click()
{
    if (!lvPorts_.SelectedItem())
        return;
    const WindowHandle owner = form_.hWnd();
    const auto selected = lvPorts_.SelectedItem();
    if (!selected)
        return;
    // Whatever the monitor did or refused, nothing is reported and the list
    // stays as it is.
    spooler_.ConfigurePortA(owner, selected->Text());
}

}  // namespace dovrel
