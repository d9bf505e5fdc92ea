#include "app/frmMain.h"

#include <utility>

#include "app/ResizeLayout.h"
#include "app/ServerName.h"
#include "app/frmMainDesign.h"
#include "app/frmMainWiring.h"
#include "listview/modListViewSupport.h"
#include "ports/Refusals.h"

namespace dovrel {

using namespace modListViewSupport;

namespace {

std::wstring Trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t");
    return first == std::wstring::npos ? std::wstring() : text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

frmMain::frmMain(FormControls& controls, FormsRuntime& runtime, SupportLibrary& support, Spooler& spooler,
                 std::wstring server)
    : form(controls.TheForm()), tmrInit(controls.TimerNamed("tmrInit")),
      tmrPortsChanged(controls.TimerNamed("tmrPortsChanged")), tmrServerPoll(controls.TimerNamed("tmrServerPoll")),
      lvPorts(controls.ListView("lvPorts")), lvPortsExtent(controls.Extent("lvPorts")),
      cmdSettings(controls.Button("cmdSettings")), buttonColumn_(ButtonColumn(frmMainDesign(), controls)),
      runtime_(runtime), support_(support), spooler_(spooler),
      portList_(lvPorts, runtime, support, spooler, [this](bool holdsRows) { rowCommands_.EnableButtons(holdsRows); }),
      portCommands_(form, portList_, lvPorts, runtime, support, spooler, [this] { RestartAsAdministrator(); }),
      portExport_(lvPorts, runtime, support),
      rowCommands_(BindWiring(*this, frmMainDesign(), controls, frmMainWiring())), server_(std::move(server))
{
}

void frmMain::Form_Load()
{
    if (!support_.IsInDesignEnvironment())
        support_.SetWindowIconFromResource(form.hWnd(), kIconResource);
    support_.FixContainerWindows();
    if (!server_.empty())
        form.SetCaption(L"Ports on " + server_);
    InitListView();
    RestoreWindowPlacement();
}

void frmMain::Form_Unload(std::int16_t& /*cancel*/)
{
    SaveWindowPlacement();
}

// F1 and Shift+F1 from any control of the window; the menu's shortcuts
// are bound by the wiring table.
void frmMain::Form_KeyDown(std::int16_t& keyCode, std::int16_t& shift)
{
    if (keyCode != kKeyF1)
        return;
    if (shift == kShiftOnly)
        SharedFormServices().ShowAbout(form, runtime_, L"", kDedication);
    else if (shift == kShiftNone)
        support_.OpenReadMe(0);
}

void frmMain::Form_Resize()
{
    // A minimised window has no client area to lay out; the layout runs
    // again when it is restored.
    if (form.Minimized())
        return;
    if (std::exchange(pollMissed_, false))
        OnPortsChanged();
    static const LayoutSpacing spacing = SpacingOf(frmMainDesign(), "lvPorts");
    ResizeLayout(form, lvPortsExtent, buttonColumn_, spacing);
}

void frmMain::tmrInit_Timer()
{
    // Off before the refresh, so a refresh that fails is not repeated.
    tmrInit.SetEnabled(false);
    // Watched before the first enumeration, so that no change made after it
    // is missed, and whether or not the refresh succeeds.
    WatchPorts();
    if (!server_.empty())
        tmrServerPoll.SetEnabled(true);
    RefreshPorts();
}

void frmMain::tmrPortsChanged_Timer()
{
    tmrPortsChanged.SetEnabled(false);
    portList_.UpdatePorts();
}

void frmMain::tmrServerPoll_Timer()
{
    if (portWatch_ && portWatch_->Watching())
        return;
    if (form.Minimized())
        pollMissed_ = true;
    else
        OnPortsChanged();
}

// Another Dovrel, for the server named; this window stays as it is.
void frmMain::mnuConnect_Click()
{
    const std::wstring typed = Trimmed(runtime_.InputBox(L"Input server name.", L""));
    if (typed.empty())
        return;
    const auto server = ServerName(typed);
    if (!server) {
        runtime_.MsgBox(L"\"" + typed + L"\" is not the name of a print server.", kMbOk | kMbIconExclamation);
        return;
    }
    const std::uint32_t error = support_.StartForServer(*server);
    if (error != 0)
        runtime_.MsgBox(TextWithReason(L"Can't start Dovrel for " + *server + L".", error, support_),
                        kMbOk | kMbIconExclamation);
}

void frmMain::cmdHelp_Click()
{
    std::int16_t keyCode = kKeyF1;
    std::int16_t shift = kShiftNone;
    Form_KeyDown(keyCode, shift);
}

void frmMain::cmdCancel_Click()
{
    form.Unload();
}

void frmMain::lvPorts_ColumnClick(ColumnHeader& columnHeader)
{
    ListViewColumnClickSort(lvPorts, columnHeader);
}

void frmMain::lvPorts_DblClick()
{
    SharedFormServices().PressButton(cmdSettings);
}

void frmMain::lvPorts_ContextMenu(const ScreenPoint& at)
{
    rowCommands_.EnableMenuItems(lvPorts.SelectedItem() != nullptr);
    form.PopupMenu("mnuPorts", at);
}

void frmMain::WatchPorts()
{
    portWatch_ = spooler_.WatchPorts([this] { OnPortsChanged(); });
}

// News of a change starts the timer, unless it runs already: the changes
// that come in meanwhile are brought in by the same update.
void frmMain::OnPortsChanged()
{
    if (!tmrPortsChanged.Enabled())
        tmrPortsChanged.SetEnabled(true);
}

void frmMain::InitListView()
{
    lvPorts.SetBorderStyle(ListBorderStyle::None);
    lvPorts.SetHideSelection(false);
    lvPorts.SetLabelEdit(ListLabelEdit::Manual);
    lvPorts.SetMultiSelect(false);
    lvPorts.SetView(ListViewView::Report);
    ListViewFullRowSelect(lvPorts, kTrue);
    ListViewGridLines(lvPorts, kTrue);
    ListViewLabelTip(lvPorts, kTrue);
    for (const wchar_t* title : {L"Name", L"Monitor", L"Description", L"Type"})
        lvPorts.ColumnHeaders().Add(title);
}

void frmMain::RestoreWindowPlacement()
{
    auto store = support_.CreatePlacementStore();
    if (!store->LoadPlacement(L"", kPlacementName, form, runtime_, 0, 0, 0, kTrue))
        support_.CenterForm(form.hWnd(), 0);
}

void frmMain::SaveWindowPlacement()
{
    auto store = support_.CreatePlacementStore();
    store->SavePlacement(L"", kPlacementName, form, runtime_, kTrue);
}

// The new instance opens where this one is, and this one ends only once it
// has started: a question of the system's that the user refused or
// cancelled leaves this one as it was.
void frmMain::RestartAsAdministrator()
{
    SaveWindowPlacement();
    const std::uint32_t error = support_.StartAsAdministrator(form.hWnd());
    if (error == 0)
        form.Unload();
    else if (error != kErrorCancelled)
        runtime_.MsgBox(TextWithReason(L"Can't restart Dovrel as administrator.", error, support_),
                        kMbOk | kMbIconExclamation);
}

FormServices& frmMain::SharedFormServices()
{
    if (!formServices_)
        formServices_ = support_.CreateFormServices();
    return *formServices_;
}

}  // namespace dovrel
