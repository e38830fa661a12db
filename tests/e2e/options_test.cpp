// The options sheet, driven as a user would: keys typed into its fields, its buttons pressed.
#include <gtest/gtest.h>

#include "harness.h"

#include <commctrl.h>
#include <prsht.h>

namespace e2e {
namespace {

constexpr char kSheetTitle[] = "Zurimo! オプション";

class OptionsTest : public FreshUserTest {
protected:

    // Opens the sheet from the tray menu's command and waits for it.
    AssertionResult Open() {
        PostMessageA(s.program.mainWindow(), WM_COMMAND, 32770, 0);
        if (WaitUntil([&] {
                sheet = FindWindowA("#32770", kSheetTitle);
                return sheet && IsWindowVisible(sheet);
            })) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "no visible sheet \"" << kSheetTitle << "\" (found "
                                           << sheet << ")";
    }
    HWND Page(int index) {
        SendMessageA(sheet, PSM_SETCURSEL, index, 0);
        EXPECT_TRUE(s.program.CatchUp());
        return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    // Puts the keyboard focus on a control of the sheet, in front.
    AssertionResult Focus(HWND control) {
        AssertionResult front = BringToFront(sheet);
        if (!front) return front;
        SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        if (WaitUntil([&] { return FocusOf(sheet) == control; }, 3000)) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "the focus is on " << FocusOf(sheet) << ", not "
                                           << control;
    }
    void Press(int button) { PostMessageA(sheet, PSM_PRESSBUTTON, button, 0); }
    AssertionResult Closed() {
        // What the program does once the sheet is gone is done when it has caught up.
        if (WaitUntil([&] { return !IsWindow(sheet); })) return s.program.CatchUp();
        AssertionResult failure = testing::AssertionFailure() << "the sheet stays open";
        if (HWND box = s.program.WaitForMessageBox(0)) {
            failure << ", with the message \"" << MessageBoxText(box) << "\"";
        }
        return failure;
    }
    WORD HotKey(HWND page, int id) {
        return static_cast<WORD>(SendDlgItemMessageA(page, id, HKM_GETHOTKEY, 0, 0));
    }
    DWORD SettingAfterExit(const char* name) {
        if (IsWindow(sheet)) Press(PSBTN_CANCEL);
        Closed();
        s.program.Close();
        DWORD value = 0xDEADBEEF;
        ReadDword(name, &value);
        return value;
    }

    Session s;
    HWND sheet = nullptr;
};

TEST_F(OptionsTest, TheSheetHasItsPagesInOrderWithTheirControls) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    EXPECT_EQ("キャンセル", ControlText(GetDlgItem(sheet, IDCANCEL)));
    EXPECT_EQ("ヘルプ", ControlText(GetDlgItem(sheet, IDHELP)));
    struct PageInfo {
        const char* caption;
        std::vector<int> ids;
    } pages[] = {
        {"一般", {1020, 1019, 1021, 1048, 1049, 1076, 1081, 1050}},
        {"表示", {1014, 1015, 1016, 1017, 1018}},
        {"キー割り当て", {1013, 1077, 1073, 1074, 1075, 1023}},
        {"コンテキストメニュー", {1027, 1028, 1025, 1024, 1026}},
    };
    for (int i = 0; i < 4; ++i) {
        HWND page = Page(i);
        ASSERT_NE(nullptr, page) << i;
        EXPECT_EQ(pages[i].caption, ControlText(page)) << i;
        for (int id : pages[i].ids) EXPECT_NE(nullptr, GetDlgItem(page, id)) << "page " << i << " id " << id;
    }
    HWND key = Page(2);
    EXPECT_EQ(9, SendDlgItemMessageA(key, 1077, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("Ctrl+数字キーで取り出し(&N)", ControlText(GetDlgItem(key, 1023)));
    EXPECT_EQ("決定(&S)", ControlText(GetDlgItem(key, 1074)));
    HWND general = Page(0);
    EXPECT_EQ("終了時に履歴を保存(&F)", ControlText(GetDlgItem(general, 1020)));
    EXPECT_EQ("Windows 起動 (ログオン) 時に自動実行する (&A)", ControlText(GetDlgItem(general, 1081)));
    EXPECT_EQ(">", ControlText(GetDlgItem(general, 1021)));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(general, 1048, BM_GETCHECK, 0, 0));
    HWND contextMenu = Page(3);
    for (auto [id, text] : {std::pair<int, const char*>{1027, "&1 フォルダのパスが上"},
                            {1028, "&2 ユーザーメニューが上"},
                            {1025, "ユーザーメニュー編集(&U)"},
                            {1024, "パスの末尾に &\\を追加\r\n(次回起動時か、メニュー編集後に有効)"},
                            {1026, "メニュー編集(&E)"}}) {
        EXPECT_EQ(text, ControlText(GetDlgItem(contextMenu, id))) << id;
    }
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(contextMenu, 1027, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(contextMenu, 1024, BM_GETCHECK, 0, 0));
    Press(PSBTN_CANCEL);
    EXPECT_TRUE(Closed());
}

TEST_F(OptionsTest, ADigitIsRefusedForAnOperationWhileNumberIsOn) {
    SetDword("Number", 1);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, 1073)));
    PressKeys("ctrl+5");
    EXPECT_EQ("[数字キーで取り出し] が有効なので、1 ～ 9 の数字キーは使えません。", s.program.TakeMessage());
    EXPECT_EQ(MAKEWORD('C', HOTKEYF_CONTROL), HotKey(key, 1073));
}

TEST_F(OptionsTest, TheHotKeyCannotBeGivenToAnOperation) {
    // A registered hot key never reaches a field, so the new one is typed into the page.
    SetDword("Key05", 'W');  // 閉じる gives up Q
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, 1013)));
    PressKeys("ctrl+q");
    EXPECT_TRUE(WaitUntil([&] { return HotKey(key, 1013) == MAKEWORD('Q', HOTKEYF_CONTROL); }))
        << HotKey(key, 1013);
    ASSERT_TRUE(Focus(GetDlgItem(key, 1073)));
    PressKeys("ctrl+q");
    EXPECT_EQ("ホットキーと重複しています\r\n他のキーを割り当ててください", s.program.TakeMessage());
    EXPECT_EQ(MAKEWORD('C', HOTKEYF_CONTROL), HotKey(key, 1073));
}

TEST_F(OptionsTest, AcceptingADuplicateTakesTheKeyFromTheOtherOperation) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, 1073)));
    PressKeys("ctrl+d");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(key, 1075)) == "削除"; }))
        << ControlText(GetDlgItem(key, 1075));
    PostMessageA(key, WM_COMMAND, MAKEWPARAM(1074, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(key, 1074)));
    EXPECT_EQ("キーが重複していますが、よろしいですか？\r\n重複しているキーは無効になります。", s.program.TakeMessage());
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(key, 1075)).empty(); }));
    // 削除 shows its key, none now, with Ctrl as ever.
    HWND operations = GetDlgItem(key, 1077);
    SendMessageA(operations, CB_SETCURSEL, 1, 0);
    SendMessageA(key, WM_COMMAND, MAKEWPARAM(1077, CBN_SELCHANGE), reinterpret_cast<LPARAM>(operations));
    EXPECT_EQ(MAKEWORD(0, HOTKEYF_CONTROL), HotKey(key, 1073));
    Press(PSBTN_OK);
    ASSERT_TRUE(Closed());
    ASSERT_TRUE(s.program.Close());
    DWORD value = 0;
    EXPECT_TRUE(ReadDword("Key00", &value));
    EXPECT_EQ(DWORD{'D'}, value);
    EXPECT_TRUE(ReadDword("Key01", &value));
    EXPECT_EQ(0u, value) << "削除 has no key now";
}

TEST_F(OptionsTest, AFreeKeyTypedAfterADuplicateIsStoredWithoutAQuestion) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, 1073)));
    PressKeys("ctrl+d");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(key, 1075)) == "削除"; }))
        << ControlText(GetDlgItem(key, 1075));
    PressKeys("ctrl+x");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(key, 1075)).empty(); }))
        << ControlText(GetDlgItem(key, 1075));
    PostMessageA(key, WM_COMMAND, MAKEWPARAM(1074, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(key, 1074)));
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_EQ(nullptr, s.program.WaitForMessageBox(0));
    Press(PSBTN_OK);
    ASSERT_TRUE(Closed());
    ASSERT_TRUE(s.program.Close());
    DWORD value = 0;
    EXPECT_TRUE(ReadDword("Key00", &value));
    EXPECT_EQ(DWORD{'X'}, value);
    EXPECT_TRUE(ReadDword("Key01", &value));
    EXPECT_EQ(DWORD{'D'}, value);
}

TEST_F(OptionsTest, ACtrlKeyOfAnOperationIsRefusedAsTheHotKey) {
    SetDword("HotKeyLo", 'Z');
    SetDword("HotKeyHi", 6);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, 1013)));
    PressKeys("ctrl+c");
    EXPECT_EQ("[取り出し] と重複しています\r\n他のキーを割り当ててください", s.program.TakeMessage());
    EXPECT_EQ(0, HotKey(key, 1013));
    Press(PSBTN_APPLYNOW);
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_EQ(0u, SettingAfterExit("HotKeyLo"));
    DWORD modifiers = 1;
    EXPECT_TRUE(ReadDword("HotKeyHi", &modifiers));
    EXPECT_EQ(0u, modifiers);
}

TEST_F(OptionsTest, ApplyWithAHistoryCountOutOfRangeChangesNothing) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND view = Page(1);
    SetText(GetDlgItem(view, 1014), "5000");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ("10 から 1000 までの整数を入力してください。", s.program.TakeMessage());
    SetText(GetDlgItem(view, 1014), "abc");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ("整数を入力してください。", s.program.TakeMessage());
    EXPECT_EQ(100u, SettingAfterExit("History"));
}

TEST_F(OptionsTest, ApplyTakesThePageInFrontAndCancelAfterApplyKeepsIt) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND apply = GetDlgItem(sheet, 12321);
    SetText(GetDlgItem(Page(0), 1021), "| ");
    HWND view = Page(1);
    SetText(GetDlgItem(view, 1014), "250");
    SendDlgItemMessageA(view, 1018, BM_CLICK, 0, 0);
    Press(PSBTN_APPLYNOW);
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_TRUE(IsWindowEnabled(apply)) << "the General page is still modified";
    Page(0);
    Press(PSBTN_APPLYNOW);
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_FALSE(IsWindowEnabled(apply));

    // ZurimoApply reads the page's fields again before applying them.
    SetText(GetDlgItem(view, 1014), "300");
    SendMessageA(s.program.mainWindow(), RegisterWindowMessageA("ZurimoApply"), 1,
                 reinterpret_cast<LPARAM>(sheet));
    SetText(GetDlgItem(view, 1014), "400");
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(300u, SettingAfterExit("History"));
    DWORD tab = 0;
    EXPECT_TRUE(ReadDword("Tab", &tab));
    EXPECT_EQ(2u, tab);
    std::string quote;
    EXPECT_TRUE(ReadString("Quote", &quote));
    EXPECT_EQ("| ", quote);
}

TEST_F(OptionsTest, OkAppliesEveryPage) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND general = Page(0);
    SendDlgItemMessageA(general, 1020, BM_CLICK, 0, 0);  // File on
    SendDlgItemMessageA(general, 1049, BM_CLICK, 0, 0);  // short date
    SetText(GetDlgItem(general, 1021), "| ");
    HWND view = Page(1);
    SetText(GetDlgItem(view, 1014), "10");
    Press(PSBTN_OK);
    ASSERT_TRUE(Closed());
    ASSERT_TRUE(s.program.Close());
    DWORD value = 0;
    EXPECT_TRUE(ReadDword("File", &value));
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(ReadDword("DateTime", &value));
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(ReadDword("History", &value));
    EXPECT_EQ(10u, value);
    std::string quote;
    EXPECT_TRUE(ReadString("Quote", &quote));
    EXPECT_EQ("| ", quote);
}

TEST_F(OptionsTest, TheOperationLastChosenIsShownAgain) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    HWND operations = GetDlgItem(key, 1077);
    SendMessageA(operations, CB_SETCURSEL, 3, 0);
    SendMessageA(key, WM_COMMAND, MAKEWPARAM(1077, CBN_SELCHANGE), reinterpret_cast<LPARAM>(operations));
    EXPECT_EQ(MAKEWORD('E', HOTKEYF_CONTROL), HotKey(key, 1073));
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(Closed());

    ASSERT_TRUE(Open());
    key = Page(2);
    EXPECT_EQ(3, SendDlgItemMessageA(key, 1077, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(MAKEWORD('E', HOTKEYF_CONTROL), HotKey(key, 1073));
}

TEST_F(OptionsTest, TheHistoryWindowOpensTheSheetAndTheTrayBringsItForward) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Show());
    ASSERT_TRUE(s.Click(1011));
    ASSERT_TRUE(WaitUntil([&] { return (sheet = FindWindowA("#32770", kSheetTitle)) != nullptr; }));
    PostMessageA(s.program.mainWindow(), RegisterWindowMessageA("ZurimoTrayIcon"), 128, WM_RBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet; }, 3000));
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(Closed());
    EXPECT_TRUE(WaitUntil([&] {
        return SendMessageA(s.history, DM_GETDEFID, 0, 0) == MAKELONG(1007, DC_HASDEFID);
    }));
}

TEST_F(OptionsTest, ANewHotKeyWorksAtOnceAndAnOpenHelpWindowIsClosed) {
    ASSERT_TRUE(s.Start());
    TestWindow help("MS_WINHELP", "Zurimo!", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, 1013)));
    PressKeys("ctrl+alt+y");
    EXPECT_TRUE(WaitUntil([&] {
        return HotKey(key, 1013) == MAKEWORD('Y', HOTKEYF_CONTROL | HOTKEYF_ALT);
    })) << HotKey(key, 1013);
    Press(PSBTN_OK);
    ASSERT_TRUE(Closed());
    EXPECT_TRUE(WaitUntil([&] { return help.closeAsked; }, 3000));
    SettleFocus();
    PressKeys("ctrl+alt+y");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(s.history) != FALSE; }));
}

TEST_F(OptionsTest, AutostartFollowsTheCheckBox) {
    UniqueHKey key = CreateUserKey("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    ASSERT_TRUE(key);
    RegDeleteValueA(key.get(), "Zurimo!");
    ASSERT_TRUE(s.Start());
    for (DWORD on : {1u, 0u}) {
        ASSERT_TRUE(Open());
        SendDlgItemMessageA(Page(0), 1081, BM_CLICK, 0, 0);
        Press(PSBTN_OK);
        ASSERT_TRUE(Closed());
        char value[MAX_PATH] = {};
        DWORD size = sizeof value;
        LONG found = RegQueryValueExA(key.get(), "Zurimo!", nullptr, nullptr,
                                      reinterpret_cast<BYTE*>(value), &size);
        if (on) {
            EXPECT_EQ(ERROR_SUCCESS, found);
            EXPECT_NE(std::string::npos, std::string(value).find("zurimo.exe")) << value;
        } else {
            EXPECT_EQ(ERROR_FILE_NOT_FOUND, found);
        }
    }
    EXPECT_EQ(0u, SettingAfterExit("AutoExec"));
}

TEST_F(OptionsTest, TheRegionalSettingsButtonTurnsAnOpenRegionalDialogToItsPage) {
    ASSERT_TRUE(s.Start());
    TestWindow regional("#32770", "地域のプロパティ", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(Open());
    HWND general = Page(0);
    ASSERT_TRUE(BringToFront(sheet));  // the sheet's own activation is over
    regional.activated = false;
    PostMessageA(general, WM_COMMAND, MAKEWPARAM(1050, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(general, 1050)));
    EXPECT_TRUE(WaitUntil([&] { return regional.pageId == 106; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return regional.activated; }, 3000)) << "brought to the front";
}

TEST_F(OptionsTest, TurningPasteOnPastesTheNextTakeOut) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"pasted"}));
    ASSERT_TRUE(Open());
    SendDlgItemMessageA(Page(0), 1019, BM_CLICK, 0, 0);
    Press(PSBTN_OK);
    ASSERT_TRUE(Closed());

    TestWindow target("ZurimoTestPasteTarget", "target", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 150, 20,
                                target.hwnd, nullptr, nullptr, nullptr);
    target.focusChild = edit;
    ASSERT_TRUE(BringToFront(target.hwnd));
    ASSERT_TRUE(s.Show());
    PressKeys("enter");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(edit) == "pasted"; }, 3000)) << ControlText(edit);
}

}  // namespace
}  // namespace e2e
