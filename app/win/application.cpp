// Start-up and end of the resident program.
#include "app/win/application.h"

#include <memory>

#include "app/win/main_frame.h"
#include "app/win/reg_server.h"
#include "app/zurimo_app.h"
#include "base/win/handles.h"
#include "base/win/program.h"
#include "base/win/win_registry.h"
#include "base/win/window.h"

namespace zurimo {
namespace {

// What the run holds from start-up to its end.
CZurimoApp g_app;
UniqueHandle g_mutex;
std::unique_ptr<OleInitialization> g_ole;
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

// The way out the main window is given: the end of the Windows session ends the program.
class ProgramEnd : public FrameHost {
public:
    void EndProgram() override { ExitApplication(); }
};

}  // namespace

int RunApplication(HINSTANCE instance) {
    SetProgramInstance(instance);

    // One instance only; a second one ends silently.
    UniqueHandle mutex(CreateMutexA(nullptr, FALSE, "KestroZurimoMutex"));
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    g_mutex = std::move(mutex);

    if (!CheckPlatform()) return 0;
    g_ole = std::make_unique<OleInitialization>();
    if (!*g_ole) return 0;

    g_app.LoadSettings(AppProfile());

    ProgramEnd programEnd;
    auto mainFrame = std::make_unique<CMainFrame>(g_app, AppProfile(), programEnd);
    if (!mainFrame->Create()) {
        mainFrame.reset();
        g_ole.reset();
        return 0;
    }

    // A registration that fails turns the option off, for this run and the next.
    if (g_app.shellMenu) g_app.shellMenu = mainFrame->RegisterShellExtension(true) ? 1 : 0;

    if (g_app.hotKeyLo != 0 && g_app.hotKeyHi != 0) {
        mainFrame->RegisterAppHotKey(g_app.hotKeyLo, g_app.hotKeyHi);
    }

    // The wide loop: characters typed into the windows that hold UTF-16 text (the history
    // and Find windows) arrive whole; the ANSI windows get theirs converted as before.
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (Dialog::PreTranslate(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    mainFrame.reset();
    ExitApplication();
    return static_cast<int>(msg.wParam);
}

void ExitApplication() {
    if (g_ended) return;
    g_ended = true;
    // The extension is registered only while the program runs; the option stays on so that
    // the next start registers it again.
    // Each step on its own: memory that runs out in one leaves the others to be done.
    try {
        if (g_app.shellMenu) RegisterShellExtension(false, nullptr);
    } catch (...) {
    }
    try {
        g_app.SaveSettings(AppProfile());
    } catch (...) {
    }
    if (g_mutex) {
        ReleaseMutex(g_mutex.get());
        g_mutex.reset();
    }
    g_ole.reset();
}

}  // namespace zurimo
