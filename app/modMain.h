#pragma once

#include <memory>
#include <optional>

#include "app/ServerName.h"
#include "app/frmMain.h"
#include "platform/FormsRuntime.h"
#include "platform/Spooler.h"
#include "platform/SupportLibrary.h"

// Start-up of the program.
namespace dovrel::modMain {

// The application object's title: the caption of every box and prompt.
constexpr wchar_t kApplicationTitle[] = L"Orvane - Dovrel";

// What a command line the program does not take is answered with.
constexpr wchar_t kUsage[] =
    L"Usage: Dovrel [\\\\server]\r\n\r\n"
    L"Without a server name, Dovrel shows the printer ports of this computer; with one, the ports of that "
    L"print server.";

// What the program runs on, what its command line asked for (none: a
// command line it does not take), and its one window once it exists. The
// spooler is that of the print server asked for.
struct Program {
    FormsRuntime& runtime;
    SupportLibrary& support;
    Spooler& spooler;
    std::optional<PortsToShow> portsToShow;
    std::unique_ptr<frmMain> mainForm;
};

// Prepares the process and shows the port window without waiting for it.
// From then on the runtime's message loop delivers the window's events; the
// program ends when the window is unloaded. A command line the program does
// not take gets the usage in a message box, and no window.
void Main(Program& program);

}  // namespace dovrel::modMain
