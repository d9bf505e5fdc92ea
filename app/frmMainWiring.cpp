#include "app/frmMainWiring.h"

#include "app/frmMain.h"

namespace dovrel {

const std::vector<Wire<frmMain>>& frmMainWiring()
{
    using F = frmMain;
    constexpr auto Row = Needs::SelectedRow;
    constexpr auto Any = Needs::Nothing;
    static const std::vector<Wire<frmMain>> wiring = {
        // control          event               handler                     needs  shortcut
        {"frmMain",         Event::Load,        &F::Form_Load},
        {"frmMain",         Event::Unload,      &F::Form_Unload},
        {"frmMain",         Event::KeyDown,     &F::Form_KeyDown},
        {"frmMain",         Event::Resize,      &F::Form_Resize},
        {"tmrInit",         Event::Timer,       &F::tmrInit_Timer},
        {"tmrPortsChanged", Event::Timer,       &F::tmrPortsChanged_Timer},
        {"tmrServerPoll",   Event::Timer,       &F::tmrServerPoll_Timer},
        {"lvPorts",         Event::ColumnClick, &F::lvPorts_ColumnClick},
        {"lvPorts",         Event::DblClick,    &F::lvPorts_DblClick},
        {"lvPorts",         Event::ContextMenu, &F::lvPorts_ContextMenu},
        {"cmdHelp",         Event::Click,       &F::cmdHelp_Click},
        {"cmdDelete",       Event::Click,       &F::cmdDelete_Click,        Row},
        {"cmdAdd",          Event::Click,       &F::cmdAdd_Click},
        {"cmdSettings",     Event::Click,       &F::cmdSettings_Click,      Row},
        {"cmdCancel",       Event::Click,       &F::cmdCancel_Click},
        // Each item runs what its button runs; Del only from the list.
        {"mnuSettings",     Event::Click,       &F::cmdSettings_Click,      Row},
        {"mnuDelete",       Event::Click,       &F::cmdDelete_Click,        Row,   Shortcut{F::kKeyDelete, F::kShiftNone, "lvPorts"}},
        {"mnuAdd",          Event::Click,       &F::cmdAdd_Click},
        {"mnuRefresh",      Event::Click,       &F::mnuRefresh_Click,       Any,   Shortcut{F::kKeyF5, F::kShiftNone}},
        {"mnuCopy",         Event::Click,       &F::mnuCopy_Click,          Row,   Shortcut{F::kKeyC, F::kCtrlOnly}},
        {"mnuSaveAs",       Event::Click,       &F::mnuSaveAs_Click},
        {"mnuConnect",      Event::Click,       &F::mnuConnect_Click},
    };
    return wiring;
}

}  // namespace dovrel
