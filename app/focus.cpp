#include "app/focus.h"

#include "app/application.h"
#include "base/win/win_text.h"
#include "resources/resource.h"

namespace zurimo {

int ActivatePreviousWindow(HWND mainWindow) {
    HWND desktop = GetDesktopWindow();
    if (!desktop) return 0;
    for (HWND hwnd = GetTopWindow(desktop); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == mainWindow) continue;
        LONG style = GetWindowLongA(hwnd, GWL_STYLE);
        LONG exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
        if ((style & WS_VISIBLE) && (style & WS_DLGFRAME) && !(style & WS_MINIMIZE) &&
            !(exStyle & WS_EX_TOPMOST)) {
            SetForegroundWindow(hwnd);
            return 1;
        }
    }
    return 1;
}

HWND FindProgramDialog() {
    for (UINT id : {IDS_OPTIONS_TITLE, IDS_ABOUT_TITLE, IDS_EDIT_TITLE}) {
        std::string title = ResourceString(TheInstance(), id);
        if (HWND dialog = FindWindowA("#32770", title.c_str())) return dialog;
    }
    return nullptr;
}

}  // namespace zurimo
