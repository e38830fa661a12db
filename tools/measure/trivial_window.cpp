// The yardstick for zurimo.exe's start-up time and idle memory: a Win32 program that
// registers a class, makes one window of it with one push button and runs a message loop,
// nothing else. scripts/measure.sh gives it the program's manifest; the button makes it load
// the common controls that manifest names, as any program with a dialog does.
#include <windows.h>

namespace {

LRESULT CALLBACK TrivialProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TrivialProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TrivialClass";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("TrivialClass", "trivial", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, instance, nullptr);
    CreateWindowA("Button", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 24, window,
                  nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
