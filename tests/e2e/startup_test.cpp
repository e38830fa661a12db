// Start-up, the single instance, the windows the program builds, and the settings it keeps.
#include <gtest/gtest.h>

#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

class StartupTest : public FreshUserTest {};

struct ExpectedControl {
    int id;
    const char* className;
    const char* caption;
};

TEST_F(StartupTest, BuildsHiddenMainWindowAndHistoryWindow) {
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForMainWindow());
    HWND main = program.mainWindow();

    char title[64] = {};
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ("Zurimo!", title);
    EXPECT_FALSE(IsWindowVisible(main));
    RECT rect = {};
    GetWindowRect(main, &rect);
    EXPECT_EQ(112, rect.right - rect.left);
    EXPECT_EQ(27, rect.bottom - rect.top);

    HWND history = program.historyWindow();
    ASSERT_NE(nullptr, history);
    char cls[32] = {};
    GetClassNameA(history, cls, sizeof cls);
    EXPECT_STREQ("#32770", cls);
    GetWindowTextA(history, title, sizeof title);
    EXPECT_STREQ("Zurimo!", title);
    EXPECT_FALSE(IsWindowVisible(history));
    LONG style = GetWindowLongA(history, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the history window has a fixed size";
    EXPECT_TRUE(GetWindowLongA(history, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);

    const ExpectedControl controls[] = {
        {IDC_HISTORY_LIST, "ListBox", ""},
        {IDC_QUOTE, "Button", "行頭に引用符を追加(&Q)"},
        {IDC_DATE_TIME, "Button", "日付と時刻を取得(&T)"},
        {IDC_TAKE_OUT, "Button", "取り出し(&C)"},
        {IDC_DELETE, "Button", "削除(&D)"},
        {IDC_FIND, "Button", "検索(&F)"},
        {IDC_EDIT, "Button", "編集(&E)"},
        {IDC_OPTIONS, "Button", "オプション(&O)"},
        {2, "Button", "閉じる(&X)"},
        {IDC_PREVIEW, "Edit", ""},
    };
    for (const ExpectedControl& expected : controls) {
        HWND control = GetDlgItem(history, expected.id);
        ASSERT_NE(nullptr, control) << "control " << expected.id;
        GetClassNameA(control, cls, sizeof cls);
        EXPECT_STRCASEEQ(expected.className, cls) << "control " << expected.id;
        EXPECT_EQ(expected.caption, ControlText(control)) << "control " << expected.id;
    }

    LONG list = GetWindowLongA(GetDlgItem(history, IDC_HISTORY_LIST), GWL_STYLE);
    EXPECT_FALSE(list & LBS_SORT);
    EXPECT_TRUE(list & LBS_USETABSTOPS);
    EXPECT_TRUE(list & LBS_NOTIFY);
    EXPECT_TRUE(list & LBS_WANTKEYBOARDINPUT);
    LONG preview = GetWindowLongA(GetDlgItem(history, IDC_PREVIEW), GWL_STYLE);
    EXPECT_TRUE(preview & ES_MULTILINE);
    EXPECT_TRUE(preview & ES_READONLY);
    EXPECT_TRUE(preview & ES_NOHIDESEL);
    EXPECT_EQ(static_cast<LRESULT>(MAKELONG(IDC_TAKE_OUT, DC_HASDEFID)),
              SendMessageA(history, DM_GETDEFID, 0, 0));

    EXPECT_TRUE(program.Close());
}

TEST_F(StartupTest, SecondInstanceEndsAndLeavesTheFirstAlone) {
    Program first;
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitForMainWindow());

    Program second;
    ASSERT_TRUE(second.Start());
    DWORD code = 1234;
    EXPECT_TRUE(second.WaitForExit(kWaitMs, &code));
    EXPECT_EQ(0u, code);

    int mainWindows = 0;
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "KestroZurimoClass", nullptr));) ++mainWindows;
    EXPECT_EQ(1, mainWindows);
    EXPECT_TRUE(IsWindow(first.mainWindow()));
    EXPECT_FALSE(IsWindowVisible(first.historyWindow()));
    EXPECT_TRUE(first.Close());
}

TEST_F(StartupTest, FreshUserGetsEverySettingWrittenWithItsDefault) {
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForMainWindow());
    ASSERT_TRUE(program.Close());

    struct Expected {
        const char* name;
        DWORD value;
    };
    const Expected dwords[] = {
        {"HotKeyLo", 0}, {"HotKeyHi", 0}, {"Number", 0}, {"Paste", 0}, {"File", 0},
        {"Word", 0}, {"AutoExec", 0}, {"DateTime", 0}, {"Tab", 1}, {"History", 100},
        {"AddYen", 0}, {"Menu", 0}, {"ShellMenu", 0}, {"ShellUserMenu", 0}, {"ShellSep", 0},
        {"ShellHierarchy", 0}, {"ShellLimit", 32},
        {"Key00", 'C'}, {"Key01", 'D'}, {"Key02", 'F'}, {"Key03", 'E'}, {"Key04", 'O'},
        {"Key05", 'Q'}, {"Key06", 'P'}, {"Key07", 'N'}, {"Key08", 'M'},
    };
    for (const Expected& e : dwords) {
        DWORD value = 0xDEADBEEF;
        EXPECT_TRUE(ReadDword(e.name, &value)) << e.name;
        EXPECT_EQ(e.value, value) << e.name;
    }
    std::string quote;
    EXPECT_TRUE(ReadString("Quote", &quote));
    EXPECT_EQ(">", quote);
}

TEST_F(StartupTest, StoredValuesAreReadAtTheirWidthAndWrittenBackAsHeld) {
    SetDword("Key03", 0);            // no key: keeps the default E
    SetDword("Key01", 0x10058);      // a 16-bit entry keeps X
    SetDword("HotKeyLo", 0x10041);   // read as 0x41
    SetDword("History", 250);
    SetString("Quote", "| ");
    SetDword("Paste", 7);            // any nonzero is on, and stays as it was
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForMainWindow());
    ASSERT_TRUE(program.Close());

    DWORD value = 0;
    EXPECT_TRUE(ReadDword("Key03", &value));
    EXPECT_EQ(DWORD{'E'}, value);
    EXPECT_TRUE(ReadDword("Key01", &value));
    EXPECT_EQ(DWORD{'X'}, value);
    EXPECT_TRUE(ReadDword("HotKeyLo", &value));
    EXPECT_EQ(0x41u, value);
    EXPECT_TRUE(ReadDword("History", &value));
    EXPECT_EQ(250u, value);
    EXPECT_TRUE(ReadDword("Paste", &value));
    EXPECT_EQ(7u, value);
    std::string quote;
    EXPECT_TRUE(ReadString("Quote", &quote));
    EXPECT_EQ("| ", quote);
}

TEST_F(StartupTest, TrayExitCommandEndsTheProgramAndSavesSettings) {
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForMainWindow());
    PostMessageA(program.mainWindow(), WM_COMMAND, ID_APP_EXIT_TRAY, 0);
    EXPECT_TRUE(program.WaitForExit(kWaitMs));
    EXPECT_TRUE(ValueExists("ShellLimit"));
    EXPECT_EQ(nullptr, FindWindowA("KestroZurimoClass", nullptr));
}

TEST_F(StartupTest, EndOfSessionSavesTheHistoryAtTheQueryAndTheSettingsAtTheEnd) {
    SetDword("File", 1);
    ASSERT_TRUE(WriteBytes(HistoryFilePath(), std::string("\x00\x00", 2)));
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForMainWindow());
    ASSERT_TRUE(SetClipboardText("kept at logoff"));
    HWND list = GetDlgItem(program.historyWindow(), IDC_HISTORY_LIST);
    ASSERT_TRUE(WaitForLineCount(list, 1));
    ResetSettings();

    EXPECT_EQ(TRUE, SendMessageA(program.mainWindow(), WM_QUERYENDSESSION, 0, 0));
    std::string saved;
    ASSERT_TRUE(ReadBytes(HistoryFilePath(), &saved));
    EXPECT_EQ("01 00 0e " + Hex("kept at logoff"), Hex(saved));
    EXPECT_FALSE(ValueExists("File")) << "settings wait for the end of the session";

    SendMessageA(program.mainWindow(), WM_ENDSESSION, TRUE, 0);
    DWORD file = 0;
    EXPECT_TRUE(ReadDword("File", &file));
    EXPECT_EQ(1u, file);
    program.Kill();  // the system ends the process after the session ends
}

// A global hot key this test holds, as another program would, until this goes.
struct HeldHotKey {
    HeldHotKey(UINT modifiers, UINT key) : held(RegisterHotKey(nullptr, kId, modifiers, key) != FALSE) {}
    ~HeldHotKey() {
        if (held) UnregisterHotKey(nullptr, kId);
    }
    HeldHotKey(const HeldHotKey&) = delete;
    HeldHotKey& operator=(const HeldHotKey&) = delete;
    static constexpr int kId = 0x2001;
    bool held;
};

TEST_F(StartupTest, HotKeyTakenByAnotherProgramIsReportedOnceAndStartUpGoesOn) {
    HeldHotKey other(MOD_CONTROL | MOD_ALT, VK_F9);
    ASSERT_TRUE(other.held);
    SetDword("HotKeyLo", VK_F9);
    SetDword("HotKeyHi", 6);  // Ctrl+Alt as the hot-key control stores it
    Program program;
    ASSERT_TRUE(program.Start());
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("ホットキーの設定に失敗しました。\r\n既に他のアプリケーションで使われているかもしれません。",
              MessageBoxText(box));
    DismissMessageBox(box);
    EXPECT_TRUE(program.WaitForMainWindow());
    ASSERT_TRUE(program.CatchUp());
    EXPECT_EQ(nullptr, program.WaitForMessageBox(0)) << "the message comes once";
    EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace e2e
