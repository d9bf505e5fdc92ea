#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/FormWiring.h"
#include "platform/FormsRuntime.h"
#include "platform/ListViewControl.h"
#include "platform/Spooler.h"
#include "platform/SupportLibrary.h"
#include "ports/PortCommands.h"
#include "ports/PortExport.h"
#include "ports/PortList.h"

namespace dovrel {

// The port window: its event handlers and private procedures. The runtime
// owns the window and its controls; this class gives them their behaviour,
// as its wiring table (frmMainWiring.cpp) binds them.
class frmMain {
public:
    // `server` is the print server whose ports the window shows ("\\name"),
    // empty for this computer's.
    frmMain(FormControls& controls, FormsRuntime& runtime, SupportLibrary& support, Spooler& spooler,
            std::wstring server = std::wstring());
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    void Show() { form.Show(); }

    // Event handlers, bound to the controls by the wiring table.
    void Form_Load();
    void Form_Unload(std::int16_t& cancel);
    void Form_KeyDown(std::int16_t& keyCode, std::int16_t& shift);
    void Form_Resize();
    void tmrInit_Timer();
    void tmrPortsChanged_Timer();
    void tmrServerPoll_Timer();
    void cmdHelp_Click();
    void cmdCancel_Click();
    void lvPorts_ColumnClick(ColumnHeader& columnHeader);
    void lvPorts_DblClick();
    void lvPorts_ContextMenu(const ScreenPoint& at);
    void mnuRefresh_Click() { RefreshPorts(); }
    void mnuCopy_Click() { portExport_.CopySelectedPort(); }
    void mnuSaveAs_Click() { portExport_.SaveList(); }
    void mnuConnect_Click();
    void cmdAdd_Click() { portCommands_.AddPort(); }
    void cmdDelete_Click() { portCommands_.DeletePort(); }
    void cmdSettings_Click() { portCommands_.ConfigurePort(); }

    void RefreshPorts() { portList_.RefreshPorts(); }

    // The controls the handlers use by name; the wiring table reaches the
    // others.
    Form& form;
    Timer& tmrInit;
    Timer& tmrPortsChanged;
    Timer& tmrServerPoll;
    ListViewControl& lvPorts;
    ControlExtent& lvPortsExtent;
    CommandButton& cmdSettings;

    static constexpr std::int16_t kKeyF1 = 112;
    static constexpr std::int16_t kKeyF5 = 116;
    static constexpr std::int16_t kKeyDelete = 46;
    static constexpr std::int16_t kKeyC = 67;
    static constexpr std::int16_t kShiftNone = 0;
    static constexpr std::int16_t kShiftOnly = 1;
    static constexpr std::int16_t kCtrlOnly = 2;
    static constexpr const wchar_t* kPlacementName = L"Window placement";
    static constexpr const wchar_t* kIconResource = L"A_MAIN";
    static constexpr const wchar_t* kDedication = L"For everyone who keeps the printers of an office running.";

private:
    void InitListView();
    void RestoreWindowPlacement();
    void SaveWindowPlacement();
    // From the first refresh on, the list follows the spooler's changes,
    // where the spooler tells of them; the watch goes first.
    // A print server elsewhere that tells of no changes is asked again
    // every tmrServerPoll interval while the window is not minimised.
    void WatchPorts();
    void OnPortsChanged();
    // Where a command lacked an administrator's rights, and the user chose
    // to have them.
    void RestartAsAdministrator();
    // The one FormServices of the run, made at its first use.
    FormServices& SharedFormServices();

    // The design's column of buttons, in the order the design makes them.
    const std::vector<CommandButton*> buttonColumn_;
    FormsRuntime& runtime_;
    SupportLibrary& support_;
    Spooler& spooler_;
    PortList portList_;
    PortCommands portCommands_;
    PortExport portExport_;
    // Enabled while the list holds rows (the buttons) or while a row is
    // selected (the menu items).
    RowCommands rowCommands_;
    std::unique_ptr<FormServices> formServices_;
    std::unique_ptr<PortWatch> portWatch_;
    const std::wstring server_;
    // A poll that came while the window was minimised, made up for when it
    // is restored.
    bool pollMissed_ = false;
};

}  // namespace dovrel
