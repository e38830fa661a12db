// Zurimo.dll: the program's windows while the main hook is on, the MS Word test of a
// clipboard change, and the paste into the window the user works in.
#include "hook/zurimo_hook.h"

#include <string.h>

namespace {

HWND g_windows[kHookWindowCount];
bool g_mainHook = false;
bool g_wordHook = false;

// The file-name part of a path, stepping by character so that a trail byte 0x5C is not
// taken for a backslash.
const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/') name = p + 1;
    }
    return name;
}

bool IsWordProcess(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return false;
    char path[MAX_PATH];
    DWORD size = MAX_PATH;
    BOOL ok = QueryFullProcessImageNameA(process, 0, path, &size);
    CloseHandle(process);
    return ok && lstrcmpiA(FileNamePart(path), "WINWORD.EXE") == 0;
}

bool IsOwnWindow(HWND hwnd) {
    if (!g_mainHook) return false;
    for (HWND own : g_windows) {
        if (own && (hwnd == own || IsChild(own, hwnd))) return true;
    }
    return false;
}

// Controls that paste on WM_PASTE; everything else gets Ctrl+V typed.
bool TakesPasteMessage(HWND hwnd) {
    char name[64];
    if (!GetClassNameA(hwnd, name, sizeof name)) return false;
    return lstrcmpiA(name, "Edit") == 0 || _strnicmp(name, "RichEdit", 8) == 0;
}

void Key(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void TypeCtrlV() {
    // A held Alt or Shift would turn Ctrl+V into another command.
    if (GetAsyncKeyState(VK_MENU) < 0) Key(VK_MENU, true);
    if (GetAsyncKeyState(VK_SHIFT) < 0) Key(VK_SHIFT, true);
    bool ctrlHeld = GetAsyncKeyState(VK_CONTROL) < 0;
    if (!ctrlHeld) Key(VK_CONTROL, false);
    Key('V', false);
    Key('V', true);
    if (!ctrlHeld) Key(VK_CONTROL, true);
}

}  // namespace

extern "C" BOOL WINAPI SetHook(const HWND* windows) {
    if (windows) {
        memcpy(g_windows, windows, sizeof g_windows);
        g_mainHook = true;
    } else {
        memset(g_windows, 0, sizeof g_windows);
        g_mainHook = false;
    }
    return TRUE;
}

extern "C" BOOL WINAPI SetWordHook(BOOL install) {
    g_wordHook = install != FALSE;
    return TRUE;
}

extern "C" BOOL WINAPI IsWord(void) {
    HWND owner = GetClipboardOwner();
    if (!owner) return FALSE;
    DWORD processId = 0;
    GetWindowThreadProcessId(owner, &processId);
    return processId && IsWordProcess(processId);
}

extern "C" BOOL WINAPI Paste(void) {
    HWND foreground = GetForegroundWindow();
    if (!foreground || IsOwnWindow(foreground)) return FALSE;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND focus = nullptr;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info)) {
        focus = info.hwndFocus;
    }
    if (focus && TakesPasteMessage(focus)) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(focus, WM_PASTE, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    }
    TypeCtrlV();
    return TRUE;
}
