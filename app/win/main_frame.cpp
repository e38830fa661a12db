#include "app/win/main_frame.h"

#include <new>
#include <string>

#include "app/hot_key_rules.h"
#include "app/registry_entries.h"
#include "app/win/autostart.h"
#include "app/win/focus.h"
#include "app/win/messages.h"
#include "app/win/reg_server.h"
#include "base/reg_key.h"
#include "base/win/program.h"
#include "base/win/win_registry.h"
#include "history/win/about_dialog.h"
#include "history/win/history_window.h"
#include "hook/zurimo_hook.h"
#include "menu/win/popup_menu.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

constexpr char kMainClass[] = "KestroZurimoClass";
constexpr int kWidth = 112;
constexpr int kHeight = 27;

bool RegisterMainClass() {
    WNDCLASSA wc = {};
    HINSTANCE instance = ProgramInstance();
    if (GetClassInfoA(instance, kMainClass, &wc)) return true;
    // A frame-window class without the redraw-on-resize styles.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Window::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainClass;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

CMainFrame::CMainFrame(CZurimoApp& app, Profile& profile, FrameHost& host)
    : app_(app),
      profile_(profile),
      host_(host),
      hotKeyId_(GlobalAddAtomA(kMainClass)),
      capture_(*this, kZurimoGetClipboardContent),
      trayIcon_(IDR_MAINFRAME) {}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create() {
    if (!RegisterMainClass()) return false;
    CreateArgs args;
    args.className = kMainClass;
    args.title = kAppTitle;
    args.style = WS_OVERLAPPEDWINDOW;  // never shown
    args.width = kWidth;
    args.height = kHeight;
    // The frame carries menu 128 as its menu bar, as a frame made from resource 128 does.
    args.menu = LoadMenuA(ProgramInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!Window::Create(args)) {
        if (args.menu) DestroyMenu(args.menu);
        return false;
    }
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
        if (wParam) host_.EndProgram();
        return 0;
    case WM_DRAWCLIPBOARD: capture_.OnDrawClipboard(app_.word != 0); return 0;
    case WM_CHANGECBCHAIN:
        capture_.OnChangeCbChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_ACTIVATEAPP:
        OnActivateApp(wParam != FALSE);
        return 0;
    case WM_INITMENUPOPUP:
        CheckMenuItem(reinterpret_cast<HMENU>(wParam), ID_PAUSE,
                      MF_BYCOMMAND | (capture_.paused() ? MF_CHECKED : MF_UNCHECKED));
        return 0;
    case WM_HOTKEY:
        if (static_cast<ATOM>(wParam) == hotKeyId_.get() && history_) history_->ShowHistory();
        return 0;
    }
    // The registered messages, which no switch can name.
    for (const RegisteredMessage& handler : kRegisteredMessages) {
        if (message == *handler.message && message != 0) {
            return (this->*handler.handle)(wParam, lParam);
        }
    }
    return Window::OnMessage(message, wParam, lParam);
}

// The tray menu's commands.
bool CMainFrame::OnCommand(int id, int, HWND) {
    switch (id) {
    case ID_SHOW:
        if (history_) history_->ShowHistory();
        return true;
    case ID_HELP_FINDER: OpenHelpPage(hwnd()); return true;
    case ID_OPTIONS: ShowOptions(); return true;
    case ID_APP_ABOUT: ShowAbout(); return true;
    case ID_PAUSE: TogglePause(); return true;
    case ID_APP_EXIT_TRAY:
        ActivatePreviousWindow(hwnd());
        OnClose();
        return true;
    }
    return false;
}

LRESULT CMainFrame::OnApply(WPARAM page, LPARAM) {
    optionsSheet_.TransferPage(static_cast<int>(page));
    ApplyOptionsPage(static_cast<int>(page), optionsSheet_.options(), app_, profile_, *this);
    return 0;
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM) {
    trayIcon_.Restore();
    return 0;
}

LRESULT CMainFrame::OnReadClipboard(WPARAM, LPARAM) {
    capture_.Read();
    return 0;
}

const CMainFrame::RegisteredMessage CMainFrame::kRegisteredMessages[4] = {
    {&kZurimoTrayIcon, &CMainFrame::OnTrayIcon},
    {&kZurimoApply, &CMainFrame::OnApply},
    {&kTaskbarCreated, &CMainFrame::OnTaskbarCreated},
    {&kZurimoGetClipboardContent, &CMainFrame::OnReadClipboard},
};

LRESULT CMainFrame::OnCreate() {
    if (!history_) {
        history_.reset(new (std::nothrow) CZurimoDlg(*this));
        if (!history_) return -1;
        history_->Create(hwnd());
        if (!BuildContextMenu()) return -1;
    }
    if (app_.paste) InstallMainHook();
    if (app_.word) InstallWordHook();
    capture_.Join(hwnd());
    trayIcon_.SetNotificationWindow(hwnd(), kZurimoTrayIcon);
    trayIcon_.SetIconResource(IDR_MAINFRAME);
    return ActivatePreviousWindow(hwnd()) ? 0 : -1;
}

void CMainFrame::OnClose() {
    UnregisterHotKey(hwnd(), hotKeyId_.get());
    if (history_) {
        history_->SaveHistory();
        contextMenu_.reset();
        history_->Destroy();
        history_.reset();
    }
    DestroyWindow(hwnd());
}

void CMainFrame::OnDestroy() {
    if (wordHookInstalled_) RemoveWordHook();
    if (mainHookInstalled_) RemoveMainHook();
    capture_.Leave();
    PostQuitMessage(0);
}

bool CMainFrame::Accepting() const { return history_ != nullptr; }

void CMainFrame::AddCaptured(HistoryEntry entry) { history_->AddHistory(std::move(entry)); }

void CMainFrame::TogglePause() {
    bool paused = capture_.TogglePause();
    if (history_) history_->SetPaused(paused);
}

void CMainFrame::OnActivateApp(bool active) {
    if (active || !history_) return;
    if (history_->QueryAndClearHelpRequested()) return;
    history_->Hide();
    ActivatePreviousWindow(hwnd());
}

LRESULT CMainFrame::OnTrayIcon(WPARAM id, LPARAM mouseMessage) {
    // While one of the program's modal dialogs is open, any event brings it forward.
    if (HWND dialog = FindProgramDialog()) {
        SetForegroundWindow(dialog);
        return 0;
    }
    return trayIcon_.OnTrayNotification(id, mouseMessage);
}

void CMainFrame::RegisterAppHotKey(std::uint16_t virtualKey, std::uint16_t storedModifiers) {
    if (RegisterHotKey(hwnd(), hotKeyId_.get(), HotKeyModifiers(storedModifiers), virtualKey)) {
        return;
    }
    SetForegroundWindow(hwnd());
    ShowMessage(nullptr,
                "ホットキーの設定に失敗しました。\r\n"
                "既に他のアプリケーションで使われているかもしれません。",
                MB_OK | MB_ICONERROR);
    ActivatePreviousWindow(hwnd());
}

void CMainFrame::ChangeHotKey(std::uint16_t virtualKey, std::uint16_t storedModifiers) {
    HotKeyChange change =
        DecideHotKeyChange(app_.hotKeyLo, app_.hotKeyHi, virtualKey, storedModifiers);
    if (change.unregister) UnregisterHotKey(hwnd(), hotKeyId_.get());
    if (change.registerNew) RegisterAppHotKey(virtualKey, storedModifiers);
    app_.hotKeyLo = virtualKey;
    app_.hotKeyHi = storedModifiers;
}

void CMainFrame::ShowOptions() {
    if (optionsSheet_.running()) {  // already open: bring it forward
        if (optionsSheet_.hwnd()) SetForegroundWindow(optionsSheet_.hwnd());
        return;
    }
    Options& options = optionsSheet_.options();
    FillOptions(app_, &options);
    CRegKey shellExt(SystemRegistry());
    if (shellExt.Open(kHkeyCurrentUser, kShellExtKey) == kErrorSuccess) {
        char driveType[8];
        std::uint32_t size = sizeof driveType;
        options.shellExt.driveType = shellExt.QueryString("DriveType", driveType, &size) == kErrorSuccess
                                         ? DriveTypeIndex(driveType)
                                         : 0;
    }
    shellExt.Close();

    if (optionsSheet_.DoModal(hwnd())) {
        ApplyAllOptions(options, app_, profile_, *this);
    }
    CloseHelpViewer();
    ActivatePreviousWindow(hwnd());
}

void CMainFrame::ShowAbout() {
    CAboutDlg about;
    about.DoModal(hwnd());
    CloseHelpViewer();
    ActivatePreviousWindow(hwnd());
}

void CMainFrame::CloseHelpViewer() {
    if (HWND help = FindWindowA("MS_WINHELP", kAppTitle)) {
        SendMessageA(help, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

bool CMainFrame::SetAutoStart(bool enable) { return zurimo::SetAutoStart(enable); }

void CMainFrame::RebuildContextMenu() { BuildContextMenu(); }

bool CMainFrame::BuildContextMenu() {
    contextMenu_.reset();
    std::unique_ptr<CZurimoMenu> menu(new (std::nothrow)
                                          CZurimoMenu(std::make_unique<WinPopupMenu>()));
    if (!menu || !menu->Build({SystemRegistry(), folders_, app_.menu, app_.addYen != 0})) {
        return false;
    }
    contextMenu_ = std::move(menu);
    return true;
}

bool CMainFrame::TrackContextMenu(int x, int y, HWND owner, std::string* text) {
    if (!contextMenu_ || !contextMenu_->Track(x, y, reinterpret_cast<std::uintptr_t>(owner))) {
        return false;
    }
    *text = contextMenu_->GetText();
    return true;
}

bool CMainFrame::RegisterShellExtension(bool on) {
    // From the sheet's Apply the message belongs to the sheet, which is open then.
    return zurimo::RegisterShellExtension(on, optionsSheet_.hwnd());
}

void CMainFrame::WriteDriveType(int index) {
    ApplyRegChanges(SystemRegistry(), DriveTypeChanges(index));
}

HistorySettings CMainFrame::Settings() const { return HistorySettingsOf(app_); }

void CMainFrame::ReturnFocus() { ActivatePreviousWindow(hwnd()); }

void CMainFrame::PasteIntoForeground() { zurimo::PasteIntoForeground(); }

HWND CMainFrame::OpenModalDialog() const { return FindProgramDialog(); }

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
