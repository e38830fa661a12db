// Start-up and end of the resident program.
#include "app/application.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <memory>

#include "app/main_frame.h"
#include "base/text.h"
#include "base/win/handles.h"
#include "base/win/win_registry.h"
#include "base/win/win_text.h"
#include "base/win/window.h"

namespace zurimo {
namespace {

HINSTANCE g_instance = nullptr;
CZurimoApp g_app;
std::unique_ptr<CMainFrame> g_mainFrame;
UniqueHandle g_mutex;
bool g_oleInitialized = false;
bool g_ended = false;

Profile& AppProfile() {
    static Profile profile(SystemRegistry(), kAppKey);
    return profile;
}

// The Windows 95 family is accepted, the NT family from version 4 on.
bool CheckPlatform() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion < 4) return false;
    if (info.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS &&
        info.dwPlatformId != VER_PLATFORM_WIN32_NT) {
        return false;
    }
    g_app.platformId = info.dwPlatformId;
    return true;
}

}  // namespace

int RunApplication(HINSTANCE instance) {
    g_instance = instance;

    // One instance only; a second one ends silently.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "KestroZurimoMutex");
    if (!mutex) return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return 0;
    }
    g_mutex.reset(mutex);

    if (!CheckPlatform()) return 0;
    if (FAILED(OleInitialize(nullptr))) return 0;
    g_oleInitialized = true;

    g_app.LoadSettings(AppProfile());

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    g_mainFrame = std::make_unique<CMainFrame>();
    if (!g_mainFrame->Create()) {
        g_mainFrame.reset();
        OleUninitialize();
        return 0;
    }

    // The shell extension is registered here while ShellMenu is on.

    if (g_app.hotKeyLo != 0 && g_app.hotKeyHi != 0) {
        g_mainFrame->RegisterAppHotKey(g_app.hotKeyLo, g_app.hotKeyHi);
    }

    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (Dialog::PreTranslate(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    g_mainFrame.reset();
    ExitApplication();
    return static_cast<int>(msg.wParam);
}

CZurimoApp& TheApp() { return g_app; }
Profile& TheProfile() { return AppProfile(); }
HINSTANCE TheInstance() { return g_instance; }
CMainFrame* TheMainFrame() { return g_mainFrame.get(); }

void ExitApplication() {
    if (g_ended) return;
    g_ended = true;
    // The shell extension is unregistered here while ShellMenu is on.
    g_app.SaveSettings(AppProfile());
    if (g_mutex) {
        ReleaseMutex(g_mutex.get());
        g_mutex.reset();
    }
    if (g_oleInitialized) OleUninitialize();
    g_oleInitialized = false;
}

void OpenHelpPage(HWND owner) {
    std::string page = FolderOf(ModulePath(nullptr)) + "zurimo.html";
    ShellExecuteA(owner, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int ShowMessage(HWND owner, const std::string& text, UINT type) {
    return MessageBoxA(owner, text.c_str(), kAppTitle, type);
}

}  // namespace zurimo
