// The hot key, the tray icon and its menu, the return of the focus, and pasting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

UINT TrayMessage() { return RegisterWindowMessageA("ZurimoTrayIcon"); }

HWND FindVisibleMenu() {
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "#32768", nullptr));) {
        if (IsWindowVisible(h)) return h;
    }
    return nullptr;
}

HWND TrayWindow() { return FindWindowA(nullptr, "Wine System Tray"); }

int TrayIconCount() {
    HWND tray = TrayWindow();
    int count = 0;
    for (HWND h = GetWindow(tray, GW_CHILD); tray && h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (IsWindowVisible(h)) ++count;
    }
    return count;
}

class TrayHotKeyTest : public FreshUserTest {
protected:

    // Opens the tray menu as a right click on the icon does, and waits for the popup.
    AssertionResult OpenTrayMenu() {
        PostMessageA(s.program.mainWindow(), TrayMessage(), 128, WM_RBUTTONUP);
        if (WaitUntil([&] { return FindVisibleMenu() != nullptr; }, 5000)) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "no popup menu showed";
    }
    void CloseMenu() {
        PostMessageA(s.program.mainWindow(), WM_CANCELMODE, 0, 0);
        PressKeys("esc");
        WaitUntil([] { return FindVisibleMenu() == nullptr; }, 3000);
    }

    Session s;
};

TEST_F(TrayHotKeyTest, TheIconIsShownWhileTheProgramRuns) {
    ASSERT_TRUE(s.Start());
    ASSERT_NE(nullptr, TrayWindow());
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }, 3000)) << TrayIconCount();
    ASSERT_TRUE(s.program.Close());
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, 3000)) << "removed at exit";
}

TEST_F(TrayHotKeyTest, DoubleClickShowsTheHistoryAndASingleClickDoesNothing) {
    ASSERT_TRUE(s.Start());
    PostMessageA(s.program.mainWindow(), TrayMessage(), 128, WM_LBUTTONDOWN);
    PostMessageA(s.program.mainWindow(), TrayMessage(), 128, WM_LBUTTONUP);
    PostMessageA(s.program.mainWindow(), TrayMessage(), 129, WM_LBUTTONDBLCLK);  // another icon
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_FALSE(IsWindowVisible(s.history));
    EXPECT_EQ(nullptr, FindVisibleMenu());
    PostMessageA(s.program.mainWindow(), TrayMessage(), 128, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(s.history) != FALSE; }));
}

// Menus belong to their process under Wine, so the items are read from the program file.
std::vector<std::string> TrayMenuItems() {
    std::vector<std::string> items;
    zurimo::UniqueLibrary program(
        LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    zurimo::UniqueHMenu menu(program ? LoadMenuA(program.get(), MAKEINTRESOURCEA(128)) : nullptr);
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    for (int i = 0; popup && i < GetMenuItemCount(popup); ++i) {
        if (GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) {
            items.push_back("-");
            continue;
        }
        char text[128] = {};
        GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
        items.push_back(std::to_string(GetMenuItemID(popup, i)) + " " + text);
    }
    return items;
}

TEST_F(TrayHotKeyTest, RightClickOpensTheTrayMenuWhichMarksThePause) {
    std::vector<std::string> expected = {
        "32768 表示(&S)", "-", "32770 オプション(&O)", "57670 ヘルプ(&H)",
        "32771 バージョン情報 (&Zurimo!)", "-", "32772 一時停止(&D)", "-", "32769 終了(&X)"};
    EXPECT_EQ(expected, TrayMenuItems());

    ASSERT_TRUE(s.Start());
    MenuProbe probe(s.program.threadId());
    ASSERT_TRUE(probe.installed());
    std::vector<std::string> shown;
    ASSERT_TRUE(OpenTrayMenu());
    ASSERT_TRUE(probe.NextMenu(&shown));
    CloseMenu();
    EXPECT_EQ(expected, shown) << "not paused: no mark";

    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_PAUSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(s.history) == "Zurimo! (一時停止中)"; }));
    ASSERT_TRUE(OpenTrayMenu());
    ASSERT_TRUE(probe.NextMenu(&shown));
    CloseMenu();
    expected[6] += " [checked]";
    EXPECT_EQ(expected, shown);
}

TEST_F(TrayHotKeyTest, AnOpenProgramDialogIsBroughtForwardInsteadOfTheMenu) {
    ASSERT_TRUE(s.Start());
    // Stands in for the program's About box.
    TestWindow about("#32770", "Zurimo! バージョン情報", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    TestWindow other("ZurimoTestOther", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(BringToFront(other.hwnd));
    PostMessageA(s.program.mainWindow(), TrayMessage(), 128, WM_RBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about.hwnd; }, 3000));
    EXPECT_EQ(nullptr, FindVisibleMenu());
    PostMessageA(s.program.mainWindow(), TrayMessage(), 128, WM_MOUSEMOVE);
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_SHOW, 0);
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_FALSE(IsWindowVisible(s.history)) << "the history window stays hidden";
}

TEST_F(TrayHotKeyTest, TheHotKeyShowsTheHistoryAlsoWhilePaused) {
    SetDword("HotKeyLo", 'Z');
    SetDword("HotKeyHi", 6);  // Ctrl+Alt
    ASSERT_TRUE(s.Start());
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_PAUSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(s.history) == "Zurimo! (一時停止中)"; }));
    PressKeys("ctrl+alt+z");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(s.history) != FALSE; }));
}

TEST_F(TrayHotKeyTest, TakeOutReturnsTheFocusPastOwnTopmostMinimisedAndFramelessWindows) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"text"}));
    TestWindow target("ZurimoTestTarget", "target", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    TestWindow minimised("ZurimoTestMin", "minimised", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MINIMIZE);
    TestWindow topmost("ZurimoTestTop", "topmost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOPMOST);
    TestWindow frameless("ZurimoTestPopup", "frameless", WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(BringToFront(target.hwnd));
    SetWindowPos(frameless.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(minimised.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(s.Show());
    PressKeys("enter");
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.hwnd; }, 3000));
    EXPECT_EQ("text", ClipboardText());
}

TEST_F(TrayHotKeyTest, SwitchingToAnotherProgramHidesTheHistoryButContextHelpDoesNot) {
    ASSERT_TRUE(s.Start());
    TestWindow other("ZurimoTestOther", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(s.Show());
    // Context help was asked for on the list (F1 sends this).
    HELPINFO help = {sizeof help, HELPINFO_WINDOW, IDC_HISTORY_LIST, s.list, 0, {0, 0}};
    SendMessageA(s.history, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    ASSERT_TRUE(BringToFront(other.hwnd));
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_TRUE(IsWindowVisible(s.history)) << "the help popup took the activation";

    ASSERT_TRUE(s.Show() || IsWindowVisible(s.history));
    SetForegroundWindow(s.history);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == s.history; }, 3000));
    ASSERT_TRUE(BringToFront(other.hwnd));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.history); }, 3000));
}

TEST_F(TrayHotKeyTest, PasteGoesIntoTheFocusedEditOfNotepad) {
    SetDword("Paste", 1);
    SetDword("HotKeyLo", 'Z');
    SetDword("HotKeyHi", 6);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"pasted by zurimo", "newest"}));

    ChildProcess notepadProcess;  // ended when the test ends, however it ends
    ASSERT_TRUE(notepadProcess.Start("notepad.exe"));
    HWND notepad = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (notepad = FindWindowA("Notepad", nullptr)) != nullptr; }));
    WaitForInputIdle(notepadProcess.handle(), 5000);
    ASSERT_TRUE(BringToFront(notepad));
    HWND edit = FindWindowExA(notepad, nullptr, "Edit", nullptr);
    ASSERT_NE(nullptr, edit);

    PressKeys("ctrl+alt+z");
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == s.history; }));
    SettleFocus();
    PressKeys("ctrl+n");  // the older entry
    PressKeys("enter");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(edit) == "pasted by zurimo"; }, 5000))
        << ControlText(edit);
    EXPECT_EQ(notepad, GetForegroundWindow());
}

TEST_F(TrayHotKeyTest, AConsoleWindowIsPastedIntoByItsMenuKeys) {
    SetDword("Paste", 1);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"for the console"}));
    TestWindow console("ConsoleWindowClass", "console", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(BringToFront(console.hwnd));
    ASSERT_TRUE(s.Show());
    console.keys.clear();
    PressKeys("enter");
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == console.hwnd; }, 3000));
    const std::vector<std::string> expected = {"sysdown:18", "sysdown:32", "sysdown:69", "sysdown:80"};
    EXPECT_TRUE(WaitUntil([&] { return console.keys.size() >= expected.size(); }, 3000));
    // Whatever else the program sends or puts in this thread's queue has been sent or put
    // there once it has caught up; this thread then takes it.
    ASSERT_TRUE(s.program.CatchUp());
    HandlePendingMessages();
    EXPECT_EQ(expected, console.keys) << "Alt, Space, E, P; no paste message";
}

}  // namespace
}  // namespace e2e
