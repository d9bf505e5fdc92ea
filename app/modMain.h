#pragma once

#include <memory>

#include "app/frmMain.h"
#include "platform/FormsRuntime.h"
#include "platform/Spooler.h"
#include "platform/SupportLibrary.h"

// Start-up of the program.
namespace dovrel::modMain {

// The application object's title: the caption of every box and prompt.
constexpr wchar_t kApplicationTitle[] = L"Orvane - Dovrel";

// What the program runs on, and its one window once it exists.
struct Program {
    FormsRuntime& runtime;
    SupportLibrary& support;
    Spooler& spooler;
    std::unique_ptr<frmMain> mainForm;
};

// Prepares the process and shows the port window without waiting for it.
// From then on the runtime's message loop delivers the window's events; the
// program ends when the window is unloaded.
void Main(Program& program);

}  // namespace dovrel::modMain
