// The registered window messages that connect the program's windows.
#pragma once

#include <windows.h>

namespace zurimo {

extern const UINT kZurimoGetClipboardContent;  // main window -> itself: read the clipboard
extern const UINT kZurimoTrayIcon;             // notification area -> main window
extern const UINT kZurimoApply;                // options sheet's Apply -> main window
extern const UINT kTaskbarCreated;  // broadcast by the shell when the notification area starts again

}  // namespace zurimo
