#pragma once
// The dialogs and message boxes of the program and of the port monitor.
#include "tests/e2e/driver/Common.h"

namespace e2e {

// The caption of the program's prompt and message boxes.
constexpr wchar_t kProgramTitle[] = L"Orvane - Dovrel";

// The visible window titled exactly so once it is visible with a visible
// button, or null.
HWND ReadyDialog(const std::wstring& title);
// A dialog is found a little before it is shown and before its controls
// exist, and a click posted then is lost: it counts once it is visible with
// a visible button.
HWND WaitDialog(const std::wstring& title, DWORD ms);
// The texts of a dialog's static controls, one line, quoted.
std::wstring StaticTexts(HWND dialog);

void Dialog(const Args& args);
void SetText(const Args& args);
void DialogGone(const Args& args);
void OwnedDialog(const Args& args);
void WaitClose(const Args& args);
// The system's text for an error code, as a box shows it below its own.
void SystemText(const Args& args);
void ComputerName(const Args& args);

}  // namespace e2e
