// The running program: its application object, profile and main window.
#pragma once

#include <windows.h>

#include "app/zurimo_app.h"
#include "base/profile.h"

namespace zurimo {

class CMainFrame;

// Runs the resident program until it exits; returns the exit code.
int RunApplication(HINSTANCE instance);

CZurimoApp& TheApp();
Profile& TheProfile();
HINSTANCE TheInstance();
CMainFrame* TheMainFrame();

// The application's end: settings saved, mutex released. Runs once, after the message loop
// or at the end of the Windows session.
void ExitApplication();

// The help page beside the program, opened with the shell.
void OpenHelpPage(HWND owner);

// A message box captioned "Zurimo!".
int ShowMessage(HWND owner, const std::string& text, UINT type);

}  // namespace zurimo
