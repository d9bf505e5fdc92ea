#include "ports/PortCommands.h"

#include <utility>

#include "ports/Refusals.h"

namespace dovrel {

namespace {

constexpr wchar_t kRestartQuestion[] = L"Changing ports needs administrator rights. Restart Dovrel as administrator?";

}  // namespace

PortCommands::PortCommands(Form& form, PortList& portList, ListViewControl& lvPorts, FormsRuntime& runtime,
                           SupportLibrary& support, Spooler& spooler, std::function<void()> restartAsAdministrator)
    : form_(form), portList_(portList), lvPorts_(lvPorts), runtime_(runtime), support_(support), spooler_(spooler),
      restartAsAdministrator_(std::move(restartAsAdministrator))
{
}

void PortCommands::AddPort()
{
    // Only the empty text (Cancel, or a cleared field) is refused; anything
    // else goes to the spooler exactly as typed, blanks included.
    const std::wstring monitorName = runtime_.InputBox(L"Input monitor name.", L"Local port");
    if (monitorName.empty())
        return;
    const WindowHandle owner = form_.hWnd();
    const SpoolerResult added = spooler_.AddPortA(owner, monitorName);
    if (!added.done) {
        ReportRefusal(L"Can't add port.", added.error);
        return;
    }
    portList_.RefreshPorts();
}

void PortCommands::DeletePort()
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
    const SpoolerResult deleted = spooler_.DeletePortW(owner, portName);
    if (!deleted.done) {
        // A port in use: the user must first take it from these printers.
        const std::wstring printers =
            deleted.error == kErrorBusy ? PrintersText(spooler_.PrintersUsingPort(portName)) : std::wstring();
        ReportRefusal(L"Can't delete port.", deleted.error, printers);
        return;
    }
    portList_.RefreshPorts();
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

void PortCommands::ConfigurePort()
{
    if (!lvPorts_.SelectedItem())
        return;
    const WindowHandle owner = form_.hWnd();
    const auto selected = lvPorts_.SelectedItem();
    if (!selected)
        return;
    // Whatever the monitor did or refused, the list stays as it is. Only
    // missing rights are reported, since a new start may give them; any
    // other refusal is the monitor's to explain, in its own dialog.
    const SpoolerResult configured = spooler_.ConfigurePortW(owner, selected->Text());
    if (!configured.done && configured.error == kErrorAccessDenied)
        ReportRefusal(L"Can't configure port.", configured.error);
}

void PortCommands::ReportRefusal(const wchar_t* fixedText, std::uint32_t error, const std::wstring& more)
{
    if (error == kErrorCancelled)
        return;
    std::wstring text = TextWithReason(fixedText, error, support_);
    if (!more.empty())
        text += L"\r\n\r\n" + more;
    if (error == kErrorAccessDenied && support_.CanStartAsAdministrator()) {
        text += L"\r\n\r\n";
        text += kRestartQuestion;
        if (runtime_.MsgBox(text, kMbYesNo | kMbIconExclamation) == kIdYes)
            restartAsAdministrator_();
        return;
    }
    runtime_.MsgBox(text, kMbOk | kMbIconExclamation);
}

}  // namespace dovrel
