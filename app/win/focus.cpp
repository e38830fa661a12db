#include "app/win/focus.h"

#include "base/win/program.h"
#include "base/win/win_text.h"
#include "hook/zurimo_hook.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

// A window of another program.
bool ForeignWindow(HWND hwnd) {
    DWORD process = 0;
    return hwnd && GetWindowThreadProcessId(hwnd, &process) && process != GetCurrentProcessId();
}

}  // namespace

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

void PasteIntoForeground() {
    // The foreground may still be on its way to the window just activated (it is under
    // Wine); wait a moment for it, then let that window finish its activation, so that the
    // paste reaches the control it focuses.
    HWND foreground = GetForegroundWindow();
    for (int i = 0; i < 25 && !ForeignWindow(foreground); ++i) {
        Sleep(20);
        foreground = GetForegroundWindow();
    }
    DWORD_PTR ignored = 0;
    if (foreground) {
        SendMessageTimeoutA(foreground, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &ignored);
    }
    if (ClassName(foreground) != "ConsoleWindowClass") {
        Paste();
        return;
    }
    struct Stroke {
        BYTE key;
        bool up;
    };
    static const Stroke kConsolePaste[] = {
        {VK_MENU, false}, {VK_SPACE, false}, {VK_SPACE, true}, {'E', false},
        {'E', true},      {'P', false},      {'P', true},      {VK_MENU, true},
    };
    for (const Stroke& s : kConsolePaste) {
        keybd_event(s.key, static_cast<BYTE>(MapVirtualKeyA(s.key, 0)), s.up ? KEYEVENTF_KEYUP : 0, 0);
    }
}

HWND FindProgramDialog() {
    for (UINT id : {IDS_OPTIONS_TITLE, IDS_ABOUT_TITLE, IDS_EDIT_TITLE}) {
        std::string title = ResourceString(ProgramInstance(), id);
        if (HWND dialog = FindWindowA("#32770", title.c_str())) return dialog;
    }
    return nullptr;
}

}  // namespace zurimo
