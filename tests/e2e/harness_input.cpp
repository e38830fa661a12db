// Real key presses and mouse input, and the focus and foreground they go to.
#include "harness.h"

#include "tests/support/win_keys.h"

namespace e2e {

void PressKeys(const char* chord) {
    if (!zurimo::PressChord(chord)) ADD_FAILURE() << "unknown key in \"" << chord << "\"";
}

void MouseTo(POINT p, DWORD buttons) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
}

AssertionResult BringToFront(HWND hwnd) {
    bool front = WaitUntil(
        [&] {
            if (GetForegroundWindow() == hwnd) return true;
            SetForegroundWindow(hwnd);
            return false;
        },
        3000);
    SettleFocus();
    if (front) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the foreground stays on " << GetForegroundWindow()
                                       << ", not " << hwnd;
}

void SettleFocus() {
    // When X reports the new focus, Wine takes the keyboard state from X, where the keys
    // that SendInput pressed are up: a Ctrl sent before that report is lost. Nothing on
    // the Windows side tells when that report has come (the window is in front already),
    // so this is the one wait left to time.
    Pump(300);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

}  // namespace e2e
