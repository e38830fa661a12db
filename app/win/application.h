// The running program: start-up, the message loop and the end.
#pragma once

#include <windows.h>

namespace zurimo {

// Runs the resident program until it exits; returns the exit code.
int RunApplication(HINSTANCE instance);

// The application's end: the Explorer extension unregistered, settings saved, mutex
// released, OLE ended. Runs once, after the message loop or at the end of the Windows
// session.
void ExitApplication();

}  // namespace zurimo
