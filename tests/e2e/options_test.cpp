// The options sheet, driven as a user would: keys typed into its fields, its buttons pressed.
#include <gtest/gtest.h>

#include "harness.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <prsht.h>

namespace e2e {
namespace {

class OptionsTest : public FreshUserTest {
protected:

    // Opens the sheet from the tray menu's command and waits for it.
    AssertionResult Open() { return OpenOptionsSheet(s.program, &sheet); }
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
        {"一般", {IDC_FILE, IDC_PASTE, IDC_QUOTE_TEXT, IDC_LONG_DATE, IDC_SHORT_DATE, IDC_WORD,
                  IDC_AUTO_EXEC, IDC_REGIONAL}},
        {"表示", {IDC_HISTORY_COUNT, IDC_HISTORY_SPIN, IDC_TAB_STANDARD, IDC_TAB_4, IDC_TAB_8}},
        {"キー割り当て", {IDC_GLOBAL_HOT_KEY, IDC_OPERATION, IDC_OPERATION_KEY, IDC_ASSIGN,
                          IDC_DUPLICATE, IDC_NUMBER}},
        {"コンテキストメニュー", {IDC_FOLDERS_FIRST, IDC_USERS_FIRST, IDC_EDIT_USER_MENU,
                                  IDC_ADD_YEN, IDC_EDIT_FOLDER_MENU}},
    };
    for (int i = 0; i < 4; ++i) {
        HWND page = Page(i);
        ASSERT_NE(nullptr, page) << i;
        EXPECT_EQ(pages[i].caption, ControlText(page)) << i;
        for (int id : pages[i].ids) EXPECT_NE(nullptr, GetDlgItem(page, id)) << "page " << i << " id " << id;
    }
    HWND key = Page(2);
    EXPECT_EQ(9, SendDlgItemMessageA(key, IDC_OPERATION, CB_GETCOUNT, 0, 0));
    EXPECT_EQ("Ctrl+数字キーで取り出し(&N)", ControlText(GetDlgItem(key, IDC_NUMBER)));
    EXPECT_EQ("決定(&S)", ControlText(GetDlgItem(key, IDC_ASSIGN)));
    HWND general = Page(0);
    EXPECT_EQ("終了時に履歴を保存(&F)", ControlText(GetDlgItem(general, IDC_FILE)));
    EXPECT_EQ("Windows 起動 (ログオン) 時に自動実行する (&A)", ControlText(GetDlgItem(general, IDC_AUTO_EXEC)));
    EXPECT_EQ(">", ControlText(GetDlgItem(general, IDC_QUOTE_TEXT)));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(general, IDC_LONG_DATE, BM_GETCHECK, 0, 0));
    HWND contextMenu = Page(3);
    for (auto [id, text] : {std::pair<int, const char*>{IDC_FOLDERS_FIRST, "&1 フォルダのパスが上"},
                            {IDC_USERS_FIRST, "&2 ユーザーメニューが上"},
                            {IDC_EDIT_USER_MENU, "ユーザーメニュー編集(&U)"},
                            {IDC_ADD_YEN, "パスの末尾に &\\を追加\r\n(次回起動時か、メニュー編集後に有効)"},
                            {IDC_EDIT_FOLDER_MENU, "メニュー編集(&E)"}}) {
        EXPECT_EQ(text, ControlText(GetDlgItem(contextMenu, id))) << id;
    }
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(contextMenu, IDC_FOLDERS_FIRST, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(contextMenu, IDC_ADD_YEN, BM_GETCHECK, 0, 0));
    Press(PSBTN_CANCEL);
    EXPECT_TRUE(Closed());
}

TEST_F(OptionsTest, ADigitIsRefusedForAnOperationWhileNumberIsOn) {
    SetDword("Number", 1);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, IDC_OPERATION_KEY)));
    PressKeys("ctrl+5");
    EXPECT_EQ("[数字キーで取り出し] が有効なので、1 ～ 9 の数字キーは使えません。", s.program.TakeMessage());
    EXPECT_EQ(MAKEWORD('C', HOTKEYF_CONTROL), HotKey(key, IDC_OPERATION_KEY));
}

TEST_F(OptionsTest, TheHotKeyCannotBeGivenToAnOperation) {
    // A registered hot key never reaches a field, so the new one is typed into the page.
    SetDword("Key05", 'W');  // 閉じる gives up Q
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, IDC_GLOBAL_HOT_KEY)));
    PressKeys("ctrl+q");
    EXPECT_TRUE(WaitUntil([&] { return HotKey(key, IDC_GLOBAL_HOT_KEY) == MAKEWORD('Q', HOTKEYF_CONTROL); }))
        << HotKey(key, IDC_GLOBAL_HOT_KEY);
    ASSERT_TRUE(Focus(GetDlgItem(key, IDC_OPERATION_KEY)));
    PressKeys("ctrl+q");
    EXPECT_EQ("ホットキーと重複しています\r\n他のキーを割り当ててください", s.program.TakeMessage());
    EXPECT_EQ(MAKEWORD('C', HOTKEYF_CONTROL), HotKey(key, IDC_OPERATION_KEY));
}

TEST_F(OptionsTest, AcceptingADuplicateTakesTheKeyFromTheOtherOperation) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, IDC_OPERATION_KEY)));
    PressKeys("ctrl+d");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(key, IDC_DUPLICATE)) == "削除"; }))
        << ControlText(GetDlgItem(key, IDC_DUPLICATE));
    PostMessageA(key, WM_COMMAND, MAKEWPARAM(IDC_ASSIGN, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(key, IDC_ASSIGN)));
    EXPECT_EQ("キーが重複していますが、よろしいですか？\r\n重複しているキーは無効になります。", s.program.TakeMessage());
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(key, IDC_DUPLICATE)).empty(); }));
    // 削除 shows its key, none now, with Ctrl as ever.
    HWND operations = GetDlgItem(key, IDC_OPERATION);
    SendMessageA(operations, CB_SETCURSEL, 1, 0);
    SendMessageA(key, WM_COMMAND, MAKEWPARAM(IDC_OPERATION, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(operations));
    EXPECT_EQ(MAKEWORD(0, HOTKEYF_CONTROL), HotKey(key, IDC_OPERATION_KEY));
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
    ASSERT_TRUE(Focus(GetDlgItem(key, IDC_OPERATION_KEY)));
    PressKeys("ctrl+d");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(key, IDC_DUPLICATE)) == "削除"; }))
        << ControlText(GetDlgItem(key, IDC_DUPLICATE));
    PressKeys("ctrl+x");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(key, IDC_DUPLICATE)).empty(); }))
        << ControlText(GetDlgItem(key, IDC_DUPLICATE));
    PostMessageA(key, WM_COMMAND, MAKEWPARAM(IDC_ASSIGN, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(key, IDC_ASSIGN)));
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
    ASSERT_TRUE(Focus(GetDlgItem(key, IDC_GLOBAL_HOT_KEY)));
    PressKeys("ctrl+c");
    EXPECT_EQ("[取り出し] と重複しています\r\n他のキーを割り当ててください", s.program.TakeMessage());
    EXPECT_EQ(0, HotKey(key, IDC_GLOBAL_HOT_KEY));
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
    SetText(GetDlgItem(view, IDC_HISTORY_COUNT), "5000");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ("10 から 1000 までの整数を入力してください。", s.program.TakeMessage());
    SetText(GetDlgItem(view, IDC_HISTORY_COUNT), "abc");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ("整数を入力してください。", s.program.TakeMessage());
    EXPECT_EQ(100u, SettingAfterExit("History"));
}

TEST_F(OptionsTest, ApplyTakesThePageInFrontAndCancelAfterApplyKeepsIt) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(Open());
    HWND apply = GetDlgItem(sheet, 12321);
    SetText(GetDlgItem(Page(0), IDC_QUOTE_TEXT), "| ");
    HWND view = Page(1);
    SetText(GetDlgItem(view, IDC_HISTORY_COUNT), "250");
    SendDlgItemMessageA(view, IDC_TAB_8, BM_CLICK, 0, 0);
    Press(PSBTN_APPLYNOW);
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_TRUE(IsWindowEnabled(apply)) << "the General page is still modified";
    Page(0);
    Press(PSBTN_APPLYNOW);
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_FALSE(IsWindowEnabled(apply));

    // ZurimoApply reads the page's fields again before applying them.
    SetText(GetDlgItem(view, IDC_HISTORY_COUNT), "300");
    SendMessageA(s.program.mainWindow(), RegisterWindowMessageA("ZurimoApply"), 1,
                 reinterpret_cast<LPARAM>(sheet));
    SetText(GetDlgItem(view, IDC_HISTORY_COUNT), "400");
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
    SendDlgItemMessageA(general, IDC_FILE, BM_CLICK, 0, 0);  // File on
    SendDlgItemMessageA(general, IDC_SHORT_DATE, BM_CLICK, 0, 0);  // short date
    SetText(GetDlgItem(general, IDC_QUOTE_TEXT), "| ");
    HWND view = Page(1);
    SetText(GetDlgItem(view, IDC_HISTORY_COUNT), "10");
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
    HWND operations = GetDlgItem(key, IDC_OPERATION);
    SendMessageA(operations, CB_SETCURSEL, 3, 0);
    SendMessageA(key, WM_COMMAND, MAKEWPARAM(IDC_OPERATION, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(operations));
    EXPECT_EQ(MAKEWORD('E', HOTKEYF_CONTROL), HotKey(key, IDC_OPERATION_KEY));
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(Closed());

    ASSERT_TRUE(Open());
    key = Page(2);
    EXPECT_EQ(3, SendDlgItemMessageA(key, IDC_OPERATION, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(MAKEWORD('E', HOTKEYF_CONTROL), HotKey(key, IDC_OPERATION_KEY));
}

TEST_F(OptionsTest, TheHistoryWindowOpensTheSheetAndTheTrayBringsItForward) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Show());
    ASSERT_TRUE(s.Click(IDC_OPTIONS));
    ASSERT_TRUE(WaitUntil([&] { return (sheet = FindWindowA("#32770", kOptionsSheetTitle)) != nullptr; }));
    PostMessageA(s.program.mainWindow(), RegisterWindowMessageA("ZurimoTrayIcon"), 128, WM_RBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet; }, 3000));
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(Closed());
    EXPECT_TRUE(WaitUntil([&] {
        return SendMessageA(s.history, DM_GETDEFID, 0, 0) == MAKELONG(IDC_TAKE_OUT, DC_HASDEFID);
    }));
}

TEST_F(OptionsTest, ANewHotKeyWorksAtOnceAndAnOpenHelpWindowIsClosed) {
    ASSERT_TRUE(s.Start());
    TestWindow help("MS_WINHELP", "Zurimo!", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(Open());
    HWND key = Page(2);
    ASSERT_TRUE(Focus(GetDlgItem(key, IDC_GLOBAL_HOT_KEY)));
    PressKeys("ctrl+alt+y");
    EXPECT_TRUE(WaitUntil([&] {
        return HotKey(key, IDC_GLOBAL_HOT_KEY) == MAKEWORD('Y', HOTKEYF_CONTROL | HOTKEYF_ALT);
    })) << HotKey(key, IDC_GLOBAL_HOT_KEY);
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
        SendDlgItemMessageA(Page(0), IDC_AUTO_EXEC, BM_CLICK, 0, 0);
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
    PostMessageA(general, WM_COMMAND, MAKEWPARAM(IDC_REGIONAL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(general, IDC_REGIONAL)));
    EXPECT_TRUE(WaitUntil([&] { return regional.pageId == 106; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return regional.activated; }, 3000)) << "brought to the front";
}

TEST_F(OptionsTest, TurningPasteOnPastesTheNextTakeOut) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"pasted"}));
    ASSERT_TRUE(Open());
    SendDlgItemMessageA(Page(0), IDC_PASTE, BM_CLICK, 0, 0);
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
