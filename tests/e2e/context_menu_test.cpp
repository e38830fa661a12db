// The history window's context menu, the folder and user-string lists behind it, and the
// dialogs and options page that edit them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

constexpr char kAppKey[] = "Software\\Kestro!\\Zurimo!";

// The default folder table: caption, and whether it is shown at first.
const std::vector<std::pair<std::string, bool>> kDefaultFolders = {
    {"Application Data", false}, {"Desktop", true},         {"Desktop (共通)", false},
    {"Favorites", false},        {"Fonts", false},          {"NetFood", false},
    {"My Document", true},       {"PrintHood", false},      {"Program Files", true},
    {"Programs", false},         {"Programs (共通)", false}, {"Recent", false},
    {"SendTo", false},           {"StartMenu", true},       {"StartMenu (共通)", false},
    {"StartUp", true},           {"StartUp (共通)", false},  {"System", true},
    {"Temporary", true},         {"Templates", false},      {"Windows", true}};

struct Stored {
    std::string caption, content;
    DWORD other = 0, flags = 0, show = 0;
};

// Folder<n> or User<n> keys as they are stored, up to the first missing number.
std::vector<Stored> ReadList(const char* prefix) {
    std::vector<Stored> list;
    for (int n = 0;; ++n) {
        HKEY opened = nullptr;
        std::string path = std::string(kAppKey) + "\\" + prefix + std::to_string(n);
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &opened)) break;
        UniqueHKey key(opened);
        Stored entry;
        auto text = [&](const char* name) {
            char buffer[2048] = {};
            DWORD size = sizeof buffer - 1;
            RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
            return std::string(buffer);
        };
        auto number = [&](const char* name) {
            DWORD value = 0xDEAD, size = sizeof value;
            RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
            return value;
        };
        entry.caption = text("Caption");
        entry.content = text("Content");
        entry.other = number("Other");
        entry.flags = number("Flags");
        entry.show = number("Show");
        list.push_back(entry);
    }
    return list;
}

void PutUser(int n, const std::string& caption, const std::string& content) {
    UniqueHKey key = CreateUserKey((std::string(kAppKey) + "\\User" + std::to_string(n)).c_str());
    RegSetValueExA(key.get(), "Caption", 0, REG_SZ, reinterpret_cast<const BYTE*>(caption.c_str()),
                   static_cast<DWORD>(caption.size() + 1));
    RegSetValueExA(key.get(), "Content", 0, REG_SZ, reinterpret_cast<const BYTE*>(content.c_str()),
                   static_cast<DWORD>(content.size() + 1));
    DWORD one = 1;
    RegSetValueExA(key.get(), "Show", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
}

// The menu lines the probe reports for a list of records: identifier index + 1, shown only.
std::vector<std::string> MenuLines(const std::vector<Stored>& records, int firstId) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].show) lines.push_back(std::to_string(firstId + i) + " " + records[i].caption);
    }
    return lines;
}

std::string WindowsFolder() {
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}

class ContextMenuTest : public FreshUserTest {
protected:
    // A button of a dialog of the program, clicked; waits until the program has handled it.
    AssertionResult Click(HWND dialog, int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        return s.program.CatchUp();
    }

    // Opens the menu with `how` and gives the probe's report of it.
    AssertionResult OpenMenu(MenuProbe& probe, const char* keys, std::vector<std::string>* lines) {
        PressKeys(keys);
        return probe.NextMenu(lines);
    }
    // Opens the options sheet on its context-menu page.
    AssertionResult OpenContextMenuPage() {
        AssertionResult opened = OpenOptionsSheet(s.program, &sheet);
        if (!opened) return opened;
        SendMessageA(sheet, PSM_SETCURSEL, 3, 0);
        AssertionResult shown = s.program.CatchUp();
        if (!shown) return shown;
        page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        if (ControlText(page) == "コンテキストメニュー") return testing::AssertionSuccess();
        return testing::AssertionFailure() << "page 3 is \"" << ControlText(page) << "\"";
    }

    Session s;
    HWND sheet = nullptr;
    HWND page = nullptr;
};

TEST_F(ContextMenuTest, FirstUseStoresTheFoldersThatResolveAndAChosenPathIsTakenOut) {
    ASSERT_TRUE(s.Start());
    std::vector<Stored> folders = ReadList("Folder");
    // The default table's rows, in its order, as far as they resolve here.
    size_t row = 0;
    for (const Stored& folder : folders) {
        while (row < kDefaultFolders.size() && kDefaultFolders[row].first != folder.caption) ++row;
        ASSERT_LT(row, kDefaultFolders.size()) << folder.caption << " out of order";
        EXPECT_EQ(kDefaultFolders[row].second ? 1u : 0u, folder.show) << folder.caption;
        EXPECT_EQ(0u, folder.flags);
        EXPECT_EQ("", folder.content) << "no path is stored";
    }
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ("Windows", folders.back().caption);
    EXPECT_EQ(0x24u, folders.back().other);

    ASSERT_TRUE(s.Capture({"entry"}));
    ASSERT_TRUE(s.Show());
    MenuProbe probe(s.program.threadId());
    ASSERT_TRUE(probe.installed());
    std::vector<std::string> menu;
    ASSERT_TRUE(OpenMenu(probe, "shift+f10", &menu));
    EXPECT_EQ(MenuLines(folders, 1), menu) << "no user strings: no separator";

    // From the keyboard the menu opens at the window's centre.
    HWND popup = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (popup = FindWindowA("#32768", nullptr)) && IsWindowVisible(popup); }));
    RECT window = {}, shown = {};
    GetWindowRect(s.history, &window);
    GetWindowRect(popup, &shown);
    EXPECT_NEAR((window.left + window.right) / 2, shown.left, 2);
    EXPECT_NEAR((window.top + window.bottom) / 2, shown.top, 2);

    PressKeys("up");  // the last entry, Windows
    PressKeys("enter");
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == WindowsFolder(); })) << ClipboardText();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.history); }));
    ASSERT_TRUE(WaitForLineCount(s.list, 2)) << "the history stays, the path comes back by capture";
    EXPECT_EQ((std::vector<std::string>{WindowsFolder(), "entry"}), s.Lines());
}

TEST_F(ContextMenuTest, UserStringsComeFirstWithMenuOneAndFolderPathsEndWithABackslash) {
    SetDword("Menu", 1);
    SetDword("AddYen", 1);
    PutUser(0, "Mail", "me@example.jp");
    PutUser(1, "Empty", "");
    PutUser(2, "Sign", "--\r\nZurimo");
    ASSERT_TRUE(s.Start());
    std::vector<Stored> folders = ReadList("Folder");
    ASSERT_TRUE(s.Show());
    MenuProbe probe(s.program.threadId());
    ASSERT_TRUE(probe.installed());

    std::vector<std::string> menu;
    ASSERT_TRUE(OpenMenu(probe, "ctrl+m", &menu));  // the operation key of the menu
    std::vector<std::string> expected = {"1 Mail", "2 Sign", "-"};
    for (const std::string& line : MenuLines(folders, 4)) expected.push_back(line);
    EXPECT_EQ(expected, menu);
    PressKeys("down");
    PressKeys("down");
    PressKeys("enter");
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == "--\r\nZurimo"; })) << ClipboardText();

    // A right click on the list opens it where the pointer is.
    ASSERT_TRUE(s.Show());
    RECT list = {};
    GetWindowRect(s.list, &list);
    POINT at = {list.left + 20, list.top + 10};
    MouseTo(at);
    MouseTo(at, MOUSEEVENTF_RIGHTDOWN);
    MouseTo(at, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(probe.NextMenu(&menu));
    HWND popup = FindWindowA("#32768", nullptr);
    RECT shown = {};
    GetWindowRect(popup, &shown);
    EXPECT_NEAR(at.x, shown.left, 2);
    EXPECT_NEAR(at.y, shown.top, 2);
    PressKeys("up");
    PressKeys("enter");
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == WindowsFolder() + "\\"; })) << ClipboardText();
}

TEST_F(ContextMenuTest, TheFolderMenuDialogOrdersTheFoldersAndResetsThem) {
    ASSERT_TRUE(s.Start());
    std::vector<Stored> before = ReadList("Folder");
    ASSERT_TRUE(OpenContextMenuPage());
    ASSERT_TRUE(Click(page, IDC_EDIT_FOLDER_MENU));
    HWND dialog = WaitForDialog("Zurimo! メニューに表示するフォルダ");
    ASSERT_NE(nullptr, dialog);
    HWND shown = GetDlgItem(dialog, IDC_SHOWN_LIST), hidden = GetDlgItem(dialog, IDC_HIDDEN_LIST);
    std::vector<std::string> shownLines, hiddenLines;
    for (const Stored& folder : before) (folder.show ? shownLines : hiddenLines).push_back(folder.caption);
    EXPECT_EQ(shownLines, ListBoxLines(shown));
    EXPECT_EQ(hiddenLines, ListBoxLines(hidden)) << "the not-shown captions are sorted";
    for (auto [id, text] : {std::pair<int, const char*>{IDC_SHOW_ITEM, "&<<"}, {IDC_HIDE_ITEM, "&>>"},
                            {IDC_FOLDER_UP, "上へ(&U)"}, {IDC_FOLDER_DOWN, "下へ(&D)"}, {1, "OK"},
                            {2, "キャンセル"}, {IDC_FOLDER_RESET, "初期化"}, {IDC_FOLDER_HELP, "ヘルプ"}}) {
        EXPECT_EQ(text, ControlText(GetDlgItem(dialog, id))) << id;
    }

    // The first shown entry goes out to its sorted place; the first hidden one comes in
    // above the selection; the selection moves down once.
    SendMessageA(shown, LB_SETCURSEL, 0, 0);
    ASSERT_TRUE(Click(dialog, IDC_HIDE_ITEM));
    std::string first = shownLines[0];
    std::vector<std::string> lines = ListBoxLines(hidden);
    int at = static_cast<int>(SendMessageA(hidden, LB_GETCURSEL, 0, 0));
    ASSERT_GE(at, 0);
    EXPECT_EQ(first, lines[at]);
    EXPECT_EQ(0, SendMessageA(shown, LB_GETCURSEL, 0, 0)) << "the same place is selected again";
    SendMessageA(hidden, LB_SETCURSEL, 0, 0);
    SendMessageA(shown, LB_SETCURSEL, 1, 0);
    std::string comingIn = ListBoxLines(hidden)[0];
    ASSERT_TRUE(Click(dialog, IDC_SHOW_ITEM));
    EXPECT_EQ(comingIn, ListBoxLines(shown)[1]);
    EXPECT_EQ(1, SendMessageA(shown, LB_GETCURSEL, 0, 0));
    ASSERT_TRUE(Click(dialog, IDC_FOLDER_DOWN));
    EXPECT_EQ(comingIn, ListBoxLines(shown)[2]);
    std::vector<std::string> newShown = ListBoxLines(shown), newHidden = ListBoxLines(hidden);
    ASSERT_TRUE(Click(dialog, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet, IDCANCEL))) << "the stored list changed";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheet, 0x3021))) << "Apply is available";

    std::vector<Stored> after = ReadList("Folder");
    ASSERT_EQ(newShown.size() + newHidden.size(), after.size());
    for (size_t i = 0; i < after.size(); ++i) {
        bool isShown = i < newShown.size();
        EXPECT_EQ(isShown ? newShown[i] : newHidden[i - newShown.size()], after[i].caption) << i;
        EXPECT_EQ(isShown ? 1u : 0u, after[i].show) << i;
    }

    // 初期化 stores the default table at once; Cancel can no longer undo it.
    ASSERT_TRUE(Click(page, IDC_EDIT_FOLDER_MENU));
    dialog = WaitForDialog("Zurimo! メニューに表示するフォルダ");
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(Click(dialog, IDC_FOLDER_RESET));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)));
    std::vector<Stored> reset = ReadList("Folder");
    ASSERT_EQ(before.size(), reset.size());
    for (size_t i = 0; i < reset.size(); ++i) {
        EXPECT_EQ(before[i].caption, reset[i].caption);
        EXPECT_EQ(before[i].show, reset[i].show);
    }
    EXPECT_EQ(shownLines, ListBoxLines(GetDlgItem(dialog, IDC_SHOWN_LIST)));
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
}

TEST_F(ContextMenuTest, UserStringsAreAddedCheckedEditedAndReachTheMenuAfterOk) {
    PutUser(0, "Mail", "me@example.jp");
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(OpenContextMenuPage());
    ASSERT_TRUE(Click(page, IDC_EDIT_USER_MENU));
    HWND dialog = WaitForDialog("Zurimo! ユーザーメニュー");
    ASSERT_NE(nullptr, dialog);
    HWND list = GetDlgItem(dialog, IDC_USER_LIST);
    EXPECT_EQ(std::vector<std::string>{"Mail"}, ListBoxLines(list));

    // Adding: the empty and duplicate checks keep the entry dialog open.
    ASSERT_TRUE(Click(dialog, IDC_USER_ADD));
    HWND entry = WaitForDialog("Zurimo! ユーザー定義文字列の追加");
    ASSERT_NE(nullptr, entry);
    ASSERT_TRUE(Click(entry, IDOK));
    EXPECT_EQ("表示名が無効です。", s.program.TakeMessage());
    SetText(GetDlgItem(entry, IDC_USER_CAPTION), "Mail");
    SetText(GetDlgItem(entry, IDC_USER_CONTENT), "x");
    ASSERT_TRUE(Click(entry, IDOK));
    EXPECT_EQ("Mail は既に登録されています。\r\n違う表示名を付けてください。", s.program.TakeMessage());
    SetText(GetDlgItem(entry, IDC_USER_CAPTION), "Sign");
    SetText(GetDlgItem(entry, IDC_USER_CONTENT), "");
    ASSERT_TRUE(Click(entry, IDOK));
    EXPECT_EQ("内容がありません。", s.program.TakeMessage());
    SetText(GetDlgItem(entry, IDC_USER_CONTENT), "--\r\nZurimo");
    ASSERT_TRUE(Click(entry, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(entry); }));
    EXPECT_EQ((std::vector<std::string>{"Mail", "Sign"}), ListBoxLines(list));
    EXPECT_EQ(-1, SendMessageA(list, LB_GETCURSEL, 0, 0)) << "added at the end, nothing selected";

    // Editing: the caption is read-only; the content changes.
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    ASSERT_TRUE(Click(dialog, IDC_USER_EDIT));
    entry = WaitForDialog("Zurimo! ユーザー定義文字列の編集");
    ASSERT_NE(nullptr, entry);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(entry, IDC_USER_CAPTION), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ("me@example.jp", ControlText(GetDlgItem(entry, IDC_USER_CONTENT)));
    SetText(GetDlgItem(entry, IDC_USER_CONTENT), "you@example.jp");
    ASSERT_TRUE(Click(entry, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(entry); }));
    ASSERT_TRUE(Click(dialog, IDC_USER_DOWN));  // Mail below Sign
    EXPECT_EQ((std::vector<std::string>{"Sign", "Mail"}), ListBoxLines(list));
    ASSERT_TRUE(Click(dialog, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));

    std::vector<Stored> users = ReadList("User");
    ASSERT_EQ(2u, users.size());
    EXPECT_EQ("Sign", users[0].caption);
    EXPECT_EQ("--\r\nZurimo", users[0].content);
    EXPECT_EQ("Mail", users[1].caption);
    EXPECT_EQ("you@example.jp", users[1].content);
    for (const Stored& user : users) {
        EXPECT_EQ(0u, user.other);
        EXPECT_EQ(0u, user.flags);
        EXPECT_EQ(1u, user.show);
    }

    // The sheet's OK rebuilds the menu: the user strings follow the folders.
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    ASSERT_TRUE(s.Show());
    MenuProbe probe(s.program.threadId());
    ASSERT_TRUE(probe.installed());
    std::vector<std::string> menu;
    ASSERT_TRUE(OpenMenu(probe, "apps", &menu));
    size_t folders = ReadList("Folder").size();
    ASSERT_GE(menu.size(), 3u);
    EXPECT_EQ("-", menu[menu.size() - 3]);
    EXPECT_EQ(std::to_string(folders + 3) + " Mail", menu.back());
    PressKeys("esc");
    PressKeys("esc");
}

}  // namespace
}  // namespace e2e
