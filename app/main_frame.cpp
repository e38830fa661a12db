#include "app/main_frame.h"

#include <new>

#include "app/application.h"
#include "app/focus.h"
#include "app/hot_key_rules.h"
#include "app/messages.h"
#include "history/zurimo_dlg.h"
#include "hook/zurimo_hook.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

constexpr char kMainClass[] = "KestroZurimoClass";
constexpr int kWidth = 112;
constexpr int kHeight = 27;

bool RegisterMainClass() {
    WNDCLASSA wc = {};
    if (GetClassInfoA(TheInstance(), kMainClass, &wc)) return true;
    // A frame-window class without the redraw-on-resize styles.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Window::WindowProc;
    wc.hInstance = TheInstance();
    wc.hIcon = LoadIconA(TheInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainClass;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

CMainFrame::CMainFrame() : hotKeyId_(GlobalAddAtomA(kMainClass)) {}

CMainFrame::~CMainFrame() {
    if (hotKeyId_) GlobalDeleteAtom(hotKeyId_);
}

bool CMainFrame::Create() {
    if (!RegisterMainClass()) return false;
    CreateArgs args;
    args.className = kMainClass;
    args.title = kAppTitle;
    args.style = WS_OVERLAPPEDWINDOW;  // never shown
    args.width = kWidth;
    args.height = kHeight;
    if (!Window::Create(args)) return false;
    // Creation clamped the size to the minimum track size before this object could answer
    // WM_GETMINMAXINFO; now it can.
    SetWindowPos(hwnd(), nullptr, 0, 0, kWidth, kHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

LRESULT CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_GETMINMAXINFO:
        // The window is never shown; keep its small size instead of the minimum track size.
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{kWidth, kHeight};
        return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_QUERYENDSESSION:
        if (history_) history_->SaveHistory();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) ExitApplication();
        return 0;
    case WM_DRAWCLIPBOARD: OnDrawClipboard(); return 0;
    case WM_CHANGECBCHAIN:
        OnChangeCbChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_HOTKEY:
        if (static_cast<ATOM>(wParam) == hotKeyId_ && history_) history_->ShowHistory();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_SHOW:
            if (history_) history_->ShowHistory();
            return 0;
        case ID_APP_EXIT_TRAY:
            ActivatePreviousWindow(hwnd());
            OnClose();
            return 0;
        }
        break;
    }
    if (message == kZurimoGetClipboardContent) return 0;
    return Window::OnMessage(message, wParam, lParam);
}

LRESULT CMainFrame::OnCreate() {
    if (!history_) {
        history_.reset(new (std::nothrow) CZurimoDlg());
        if (!history_) return -1;
        history_->Create(hwnd());
        // The history window's context menu is built here.
    }
    if (TheApp().paste) InstallMainHook();
    if (TheApp().word) InstallWordHook();
    nextViewer_ = SetClipboardViewer(hwnd());
    // The tray icon is shown here.
    return ActivatePreviousWindow(hwnd()) ? 0 : -1;
}

void CMainFrame::OnClose() {
    UnregisterHotKey(hwnd(), hotKeyId_);
    if (history_) {
        history_->SaveHistory();
        history_->Destroy();
        history_.reset();
    }
    DestroyWindow(hwnd());
}

void CMainFrame::OnDestroy() {
    if (wordHookInstalled_) RemoveWordHook();
    if (mainHookInstalled_) RemoveMainHook();
    ChangeClipboardChain(hwnd(), nextViewer_);
    PostQuitMessage(0);
}

void CMainFrame::OnDrawClipboard() {
    if (nextViewer_) SendMessageA(nextViewer_, WM_DRAWCLIPBOARD, 0, 0);
}

void CMainFrame::OnChangeCbChain(HWND removed, HWND next) {
    if (removed == nextViewer_) {
        nextViewer_ = next;
    } else if (nextViewer_) {
        SendMessageA(nextViewer_, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                     reinterpret_cast<LPARAM>(next));
    }
}

void CMainFrame::RegisterAppHotKey(std::uint16_t virtualKey, std::uint16_t storedModifiers) {
    if (RegisterHotKey(hwnd(), hotKeyId_, HotKeyModifiers(storedModifiers), virtualKey)) return;
    SetForegroundWindow(hwnd());
    ShowMessage(nullptr,
                "ホットキーの設定に失敗しました。\r\n"
                "既に他のアプリケーションで使われているかもしれません。",
                MB_OK | MB_ICONERROR);
    ActivatePreviousWindow(hwnd());
}

void CMainFrame::InstallMainHook() {
    if (mainHookInstalled_) return;
    HWND windows[kHookWindowCount] = {};
    windows[kHookMainWindow] = hwnd();
    if (history_) history_->GetHookWindows(windows);
    if (SetHook(windows)) mainHookInstalled_ = true;
}

void CMainFrame::RemoveMainHook() {
    if (mainHookInstalled_ && SetHook(nullptr)) mainHookInstalled_ = false;
}

void CMainFrame::InstallWordHook() {
    if (!wordHookInstalled_ && SetWordHook(TRUE)) wordHookInstalled_ = true;
}

void CMainFrame::RemoveWordHook() {
    if (wordHookInstalled_ && SetWordHook(FALSE)) wordHookInstalled_ = false;
}

}  // namespace zurimo
