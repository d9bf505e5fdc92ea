#include "app/modMain.h"

#include "app/frmMainDesign.h"

namespace dovrel::modMain {

void Main(Program& program)
{
    program.support.RegisterAppPath();
    program.runtime.InitCommonControls();
    if (!program.support.IsInDesignEnvironment()) {
        const WindowHandle runtimeWindow = program.support.GetRuntimeMainWindow();
        program.support.SetWindowIconFromResource(runtimeWindow, frmMain::kIconResource);
    }
    if (!program.mainForm)
        program.mainForm = std::make_unique<frmMain>(program.runtime.CreateForm(frmMainDesign()), program.runtime,
                                                     program.support, program.spooler);
    program.mainForm->Show();
}

}  // namespace dovrel::modMain
