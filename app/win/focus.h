// Giving the foreground back to the window the user worked in.
#pragma once

#include <windows.h>

namespace zurimo {

// Activates the topmost visible, framed, non-minimised, non-topmost window other than the
// program's main window. Returns 0 only when the desktop cannot be reached.
int ActivatePreviousWindow(HWND mainWindow);

// Pastes the clipboard into the foreground window: a console gets the keystrokes of its
// window menu's Edit > Paste (Alt, Space, E, P), anything else the hook library's paste.
void PasteIntoForeground();

// Looks for an open options sheet, About box or history editor of this program
// (dialogs titled with strings 129, 130, 131, in that order).
HWND FindProgramDialog();

}  // namespace zurimo
