// The running program as every window of it sees it: its instance handle, its message boxes
// and its help page.
#pragma once

#include <windows.h>

#include <string>

namespace zurimo {

// The module whose resources the windows load; set once at start.
void SetProgramInstance(HINSTANCE instance);
HINSTANCE ProgramInstance();

// A message box captioned "Zurimo!".
int ShowMessage(HWND owner, const std::string& text, UINT type);
// The same for a text in UTF-16.
int ShowMessage(HWND owner, const std::u16string& text, UINT type);

// The standard message box for memory running out.
void ReportOutOfMemory(HWND owner);

// The help page beside the program, opened with the shell.
void OpenHelpPage(HWND owner);

}  // namespace zurimo
