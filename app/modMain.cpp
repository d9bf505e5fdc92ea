#include "app/modMain.h"

#include "app/frmMainDesign.h"
#include "platform/Error.h"

namespace dovrel::modMain {

void Main(Program& program)
{
    if (!program.portsToShow) {
        program.runtime.MsgBox(kUsage, kMbOk | kMbIconExclamation);
        return;
    }
    // Only a convenience for Start > Run: a registry that refuses it (a
    // locked-down profile) must not keep the window from showing.
    try {
        program.support.RegisterAppPath();
    } catch (const Error&) {
    }
    program.runtime.InitCommonControls();
    if (!program.support.IsInDesignEnvironment()) {
        const WindowHandle runtimeWindow = program.support.GetRuntimeMainWindow();
        program.support.SetWindowIconFromResource(runtimeWindow, frmMain::kIconResource);
    }
    if (!program.mainForm)
        program.mainForm = std::make_unique<frmMain>(program.runtime.CreateForm(frmMainDesign()), program.runtime,
                                                     program.support, program.spooler,
                                                     program.portsToShow->server);
    program.mainForm->Show();
}

}  // namespace dovrel::modMain
