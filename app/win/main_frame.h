// The hidden main window: owns the history window, joins the clipboard viewer chain, holds
// the global hot key and the hook switches, and takes everything down at exit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/options_model.h"
#include "app/win/clipboard_capture.h"
#include "app/win/options_sheet.h"
#include "app/win/tray_icon.h"
#include "app/zurimo_app.h"
#include "base/profile.h"
#include "base/win/handles.h"
#include "base/win/window.h"
#include "history/win/history_host.h"
#include "menu/win/win_folder_resolver.h"
#include "menu/zurimo_menu.h"

namespace zurimo {

class CZurimoDlg;

// What the main window asks of the program that runs it.
class FrameHost {
public:
    virtual ~FrameHost() = default;
    // The Windows session is ending: the program's end runs now, as after its last message.
    virtual void EndProgram() = 0;
};

class CMainFrame : public Window, private OptionsHost, private HistoryHost, private CaptureTarget {
public:
    // Works on the application's settings and writes them through `profile`.
    CMainFrame(CZurimoApp& app, Profile& profile, FrameHost& host);
    ~CMainFrame() override;

    bool Create();
    CZurimoDlg* historyWindow() const { return history_.get(); }

    // Registers the global hot key; tells the user when another program holds it.
    void RegisterAppHotKey(std::uint16_t virtualKey, std::uint16_t storedModifiers);

    // A hot key confirmed in the options: re-registers as the change rule says and stores
    // the new pair.
    void ChangeHotKey(std::uint16_t virtualKey, std::uint16_t storedModifiers) override;

    // The hook library's switches; each flag changes only when the library says yes.
    void InstallMainHook() override;
    void RemoveMainHook() override;
    void InstallWordHook() override;
    void RemoveWordHook() override;

    // The options sheet, modal; OK applies every page.
    void ShowOptions() override;
    // The About box, modal.
    void ShowAbout();

    // Registers (true) or unregisters (false) the Explorer extension beside the program;
    // tells the user when that failed. True on success.
    bool RegisterShellExtension(bool on) override;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    // A registered message and its handler.
    struct RegisteredMessage {
        const UINT* message;
        LRESULT (CMainFrame::*handle)(WPARAM wParam, LPARAM lParam);
    };
    static const RegisteredMessage kRegisteredMessages[4];
    LRESULT OnApply(WPARAM page, LPARAM sheet);
    LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    LRESULT OnReadClipboard(WPARAM, LPARAM);

    LRESULT OnCreate();
    void OnClose();
    void OnDestroy();
    void TogglePause();
    // Closes a help viewer window of the program that is still open.
    void CloseHelpViewer();
    void OnActivateApp(bool active);
    LRESULT OnTrayIcon(WPARAM id, LPARAM mouseMessage);
    // The rest of what applying options does.
    bool SetAutoStart(bool enable) override;
    void RebuildContextMenu() override;
    void WriteDriveType(int index) override;
    // What the history window asks of the program.
    HistorySettings Settings() const override;
    void ReturnFocus() override;
    void PasteIntoForeground() override;
    HWND OpenModalDialog() const override;
    bool TrackContextMenu(int x, int y, HWND owner, std::string* text) override;
    // A new context menu from the stored lists and the settings; false when memory ran out.
    bool BuildContextMenu();
    // Captured texts go to the history window, while it exists.
    bool Accepting() const override;
    void AddCaptured(HistoryEntry entry) override;

    CZurimoApp& app_;
    Profile& profile_;
    FrameHost& host_;
    // In the order the program builds them.
    UniqueGlobalAtom hotKeyId_;
    CClipboardCapture capture_;
    CTrayIcon trayIcon_;
    std::unique_ptr<CZurimoDlg> history_;
    WinFolderResolver folders_;
    std::unique_ptr<CZurimoMenu> contextMenu_;
    CZurimoPropSheet optionsSheet_;
    bool mainHookInstalled_ = false;
    bool wordHookInstalled_ = false;
};

}  // namespace zurimo
