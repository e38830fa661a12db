// Nothing the user has is lost: a take-out on a busy clipboard, an unreadable saved history,
// and the tray icon after the notification area starts again.
#include <gtest/gtest.h>

#include "harness.h"
#include "resources/resource.h"

#include <shellapi.h>

namespace e2e {
namespace {

class KeepDataTest : public FreshUserTest {
protected:
    Session s;
};

TEST_F(KeepDataTest, ATakeOutOnABusyClipboardLeavesTheListAsItWas) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"e4", "e3", "e2", "e1", "e0"}));
    ASSERT_TRUE(s.Show());
    SendMessageA(s.list, LB_SETCURSEL, 3, 0);

    ClipboardHeld busy;  // another program holds the clipboard
    ASSERT_TRUE(busy);
    ASSERT_TRUE(s.Click(IDC_TAKE_OUT));
    std::vector<std::string> lines = s.Lines();
    int selection = s.Selection();
    bool visible = IsWindowVisible(s.history) != FALSE;
    busy.Release();

    EXPECT_EQ((std::vector<std::string>{"e0", "e1", "e2", "e3", "e4"}), lines);
    EXPECT_EQ(3, selection);
    EXPECT_TRUE(visible) << "the window stays as it was";
    // Once the clipboard is free, the same take-out works.
    ASSERT_TRUE(s.Click(IDC_TAKE_OUT));
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == "e3"; }));
}

TEST_F(KeepDataTest, AnUnreadableSavedHistoryIsKeptBesideTheNewOne) {
    SetDword("File", 1);
    const std::string cut("\x03\x00\x02" "ab\x05" "cd", 7);  // the second entry ends early
    ASSERT_TRUE(WriteBytes(HistoryFilePath(), cut));
    ASSERT_TRUE(s.program.Start());
    EXPECT_EQ("無題のﾌｧｲﾙ の末尾以降にｱｸｾｽしようとしました。", s.program.TakeMessage());
    ASSERT_TRUE(s.program.WaitForMainWindow());
    HWND list = GetDlgItem(s.program.historyWindow(), IDC_HISTORY_LIST);
    ASSERT_TRUE(SetClipboardText("new"));
    ASSERT_TRUE(WaitForLineCount(list, 1));
    ASSERT_TRUE(s.program.Close());

    std::string backup, saved;
    ASSERT_TRUE(ReadBytes(HistoryFilePath() + ".bak", &backup));
    EXPECT_EQ(Hex(cut), Hex(backup));
    ASSERT_TRUE(ReadBytes(HistoryFilePath(), &saved));
    EXPECT_EQ("01 00 03 " + Hex("new"), Hex(saved));

    // The next run reads the new file and leaves the backup alone.
    EmptyTheClipboard();
    Session again;
    ASSERT_TRUE(again.Start());
    EXPECT_EQ((std::vector<std::string>{"new"}), again.Lines());
    ASSERT_TRUE(again.program.Close());
    ASSERT_TRUE(ReadBytes(HistoryFilePath() + ".bak", &backup));
    EXPECT_EQ(Hex(cut), Hex(backup));
}

TEST_F(KeepDataTest, AMissingSavedHistoryNeedsNoBackup) {
    SetDword("File", 1);
    ASSERT_TRUE(s.program.Start());
    HWND box = s.program.WaitForMessageBox();
    ASSERT_NE(nullptr, box);
    DismissMessageBox(box);
    ASSERT_TRUE(s.program.WaitForMainWindow());
    ASSERT_TRUE(s.program.Close());
    std::string bytes;
    EXPECT_FALSE(ReadBytes(HistoryFilePath() + ".bak", &bytes));
    EXPECT_TRUE(ReadBytes(HistoryFilePath(), &bytes));
}

HWND TrayIconWindow() {
    HWND tray = FindWindowA(nullptr, "Wine System Tray");
    for (HWND h = tray ? GetWindow(tray, GW_CHILD) : nullptr; h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (IsWindowVisible(h)) return h;
    }
    return nullptr;
}

TEST_F(KeepDataTest, TheIconComesBackWhenTheNotificationAreaStartsAgain) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(WaitUntil([] { return TrayIconWindow() != nullptr; }, 3000));
    // The notification area forgets the icon, as when Explorer restarts.
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = s.program.mainWindow();
    icon.uID = 128;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_TRUE(WaitUntil([] { return TrayIconWindow() == nullptr; }, 3000));

    SendMessageA(s.program.mainWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    HWND added = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (added = TrayIconWindow()) != nullptr; }, 3000));
    // Its callback reaches the program: a double click shows the history.
    PostMessageA(added, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(s.history) != FALSE; }, 3000));
}

}  // namespace
}  // namespace e2e
