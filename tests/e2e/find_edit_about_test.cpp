// Find, the editor and the About box, driven from outside.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

int CountWindows(const char* title) {
    int count = 0;
    for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, "#32770", title));) ++count;
    return count;
}

// A string of the program file's own version block, read as any program can read it.
std::string ProgramVersionString(const char* name) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(ProgramPath().c_str(), &ignored);
    std::vector<char> block(size);
    void* value = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoA(ProgramPath().c_str(), 0, size, block.data()) ||
        !VerQueryValueA(block.data(), (std::string("\\StringFileInfo\\041104b0\\") + name).c_str(),
                        &value, &length)) {
        return "<none>";
    }
    return static_cast<const char*>(value);
}

class FindEditAboutTest : public FreshUserTest {
protected:
    // A button of a dialog of the program, clicked; waits until the program has handled it.
    AssertionResult Click(HWND dialog, int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        return s.program.CatchUp();
    }

    Session s;
};

TEST_F(FindEditAboutTest, FindSearchesBothWaysAndKeepsItsRecentTexts) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"e4 \x82\x60\x82\x61", "e3 Two\r\nline two", "e2 three", "e1", "e0"}));
    ASSERT_TRUE(s.Show());
    ASSERT_TRUE(s.Click(IDC_FIND));
    HWND find = WaitForDialog("Zurimo! 検索");
    ASSERT_NE(nullptr, find);
    EXPECT_EQ(s.history, GetWindow(find, GW_OWNER));
    RECT history = {}, placed = {};
    GetWindowRect(s.history, &history);
    GetWindowRect(find, &placed);
    EXPECT_EQ(history.left, placed.left);
    LONG expectedTop = history.top - (placed.bottom - placed.top) / 4 * 3;
    EXPECT_EQ(expectedTop < 0 ? 0 : expectedTop, placed.top);
    for (auto [id, text] : {std::pair<int, const char*>{IDC_FIND_LABEL, "検索する文字列(&S)"},
                            {IDC_MATCH_CASE, "大文字と小文字を区別する(&C)"}, {IDC_FIND_NEXT, "次を検索(&N)"},
                            {IDC_FIND_PREVIOUS, "前を検索(&P)"}, {2, "閉じる"}}) {
        EXPECT_EQ(text, ControlText(GetDlgItem(find, id))) << id;
    }

    HWND text = GetDlgItem(find, IDC_FIND_TEXT);
    SetText(text, "two");
    ASSERT_TRUE(Click(find, IDC_FIND_NEXT));
    EXPECT_TRUE(WaitUntil([&] { return s.Selection() == 3; })) << "its second line, any case";
    EXPECT_EQ("e3 Two\r\nline two", ControlText(s.preview));

    SendDlgItemMessageA(find, IDC_MATCH_CASE, BM_SETCHECK, BST_CHECKED, 0);
    SetText(text, "Two");
    ASSERT_TRUE(Click(find, IDC_FIND_PREVIOUS));  // up from entry 3: e2, e1, e0 have no "Two"
    EXPECT_EQ("『Two』 が見つかりません", s.program.TakeMessage());
    // The search that showed the message ends only now: it gives the search box the focus.
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_EQ(3, s.Selection());
    SendDlgItemMessageA(find, IDC_MATCH_CASE, BM_SETCHECK, BST_UNCHECKED, 0);
    SetText(text, "\x82\x81\x82\x82");  // full-width small a, b
    ASSERT_TRUE(Click(find, IDC_FIND_NEXT));
    EXPECT_TRUE(WaitUntil([&] { return s.Selection() == 4; })) << "finds the full-width capitals";

    // F3 in the list brings the same window back; there is never a second one.
    ASSERT_TRUE(s.Show() || IsWindowVisible(s.history));
    SetForegroundWindow(s.history);
    SettleFocus();
    PressKeys("f3");
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == find; }, 3000));
    EXPECT_EQ(1, CountWindows("Zurimo! 検索"));

    // Hiding the history window closes Find and keeps its texts, the newest first.
    PostMessageA(s.history, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(find); }));
    std::string recent;
    EXPECT_TRUE(ReadString("FindHistory0", &recent));
    EXPECT_EQ("\x82\x81\x82\x82", recent);
    EXPECT_TRUE(ReadString("FindHistory1", &recent));
    EXPECT_EQ("two", recent) << "Two was the same text, already at the top";
    EXPECT_FALSE(ValueExists("FindHistory2"));

    ASSERT_TRUE(s.Show());
    ASSERT_TRUE(s.Click(IDC_FIND));
    find = WaitForDialog("Zurimo! 検索");
    ASSERT_NE(nullptr, find);
    EXPECT_EQ("\x82\x81\x82\x82", ControlText(GetDlgItem(find, IDC_FIND_TEXT))) << "the newest text again";
    EXPECT_EQ(2, SendDlgItemMessageA(find, IDC_FIND_TEXT, CB_GETCOUNT, 0, 0));

    // Hiding the history window while the not-found message is up closes both.
    SetText(GetDlgItem(find, IDC_FIND_TEXT), "absent");
    ASSERT_TRUE(Click(find, IDC_FIND_NEXT));
    HWND box = s.program.WaitForMessageBox();
    ASSERT_NE(nullptr, box);
    PostMessageA(s.history, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(find) && !IsWindow(box); }));
    ASSERT_TRUE(s.Capture({"still running"}));
}

TEST_F(FindEditAboutTest, TheEditorTakesOutAChangedTextAndNothingElse) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"original"}));
    ASSERT_TRUE(s.Show());
    ASSERT_TRUE(s.Click(IDC_EDIT));
    HWND editor = WaitForDialog("Zurimo! 履歴の編集");
    ASSERT_NE(nullptr, editor);
    HWND text = GetDlgItem(editor, IDC_EDIT_TEXT);
    EXPECT_EQ("original", ControlText(text));
    EXPECT_EQ("&OK", ControlText(GetDlgItem(editor, IDOK)));
    // The buttons keep the top band; the text fills the rest, also after a resize.
    SetWindowPos(editor, nullptr, 0, 0, 100, 60, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(s.program.CatchUp());
    RECT frame = {}, client = {}, edit = {}, ok = {};
    GetWindowRect(editor, &frame);
    EXPECT_GE(frame.right - frame.left, 220);
    EXPECT_GE(frame.bottom - frame.top, 120);
    GetClientRect(editor, &client);
    GetWindowRect(text, &edit);
    GetWindowRect(GetDlgItem(editor, IDOK), &ok);
    EXPECT_EQ(client.right, edit.right - edit.left);
    EXPECT_EQ((ok.bottom - ok.top) + 3 * GetSystemMetrics(SM_CYBORDER),
              client.bottom - (edit.bottom - edit.top));

    // The editor opens with OK focused, so Enter confirms; unchanged, nothing goes out.
    EXPECT_EQ(GetDlgItem(editor, IDOK), FocusOf(editor));
    ASSERT_TRUE(BringToFront(editor));
    PressKeys("enter");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }));
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_TRUE(IsWindowVisible(s.history));
    EXPECT_EQ(MAKELONG(IDC_TAKE_OUT, DC_HASDEFID), SendMessageA(s.history, DM_GETDEFID, 0, 0));
    EXPECT_EQ(std::vector<std::string>{"original"}, s.Lines());

    ASSERT_TRUE(s.Click(IDC_EDIT));
    editor = WaitForDialog("Zurimo! 履歴の編集");
    ASSERT_NE(nullptr, editor);
    SetText(GetDlgItem(editor, IDC_EDIT_TEXT), "changed");
    SendDlgItemMessageA(editor, IDC_EDIT_TEXT, EM_SETMODIFY, TRUE, 0);  // as typing leaves it
    ASSERT_TRUE(Click(editor, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == "changed"; }));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.history); }));
    ASSERT_TRUE(WaitForLineCount(s.list, 2));
    EXPECT_EQ((std::vector<std::string>{"changed", "original"}), s.Lines());
}

TEST_F(FindEditAboutTest, TheAboutBoxShowsTheVersionBlockWindowsAndTheLinks) {
    // Wine tells the program it runs on Windows 7 with its first service pack.
    UniqueHKey wine = CreateUserKey("Software\\Wine\\AppDefaults\\zurimo.exe");
    ASSERT_TRUE(wine);
    RegSetValueExA(wine.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win7"), 5);
    struct Restore {
        ~Restore() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\zurimo.exe"); }
    } restore;
    ASSERT_TRUE(s.Start());
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_APP_ABOUT, 0);
    HWND about = WaitForDialog("Zurimo! バージョン情報");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(ProgramVersionString("ProductName"), ControlText(GetDlgItem(about, IDC_ABOUT_PRODUCT)));
    EXPECT_EQ(ProgramVersionString("FileVersion"), ControlText(GetDlgItem(about, IDC_ABOUT_VERSION)));
    EXPECT_EQ(ProgramVersionString("LegalCopyright"), ControlText(GetDlgItem(about, IDC_ABOUT_COPYRIGHT)));
    EXPECT_EQ("Windows 7 Version 6.1 Build 7601 Service Pack 1", ControlText(GetDlgItem(about, IDC_ABOUT_WINDOWS)));
    std::string web = ControlText(GetDlgItem(about, IDC_ABOUT_WEB));
    std::string mail = ControlText(GetDlgItem(about, IDC_ABOUT_MAIL));
    EXPECT_EQ(0u, web.find("http://")) << web;
    EXPECT_GT(web.size(), 7u);
    EXPECT_EQ(0u, mail.find("mailto:")) << mail;
    EXPECT_EQ("Version", ControlText(FindWindowExA(about, nullptr, "Static", "Version")));
    EXPECT_NE(nullptr, GetDlgItem(about, IDC_ABOUT_ICON));
    ASSERT_TRUE(Click(about, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    // On Windows 10 the program, which names no newer system it knows, is told 6.2: the
    // description has an empty name.
    ASSERT_TRUE(s.program.Close());
    RegSetValueExA(wine.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win10"), 6);
    Program second;
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.WaitForMainWindow());
    PostMessageA(second.mainWindow(), WM_COMMAND, ID_APP_ABOUT, 0);
    about = WaitForDialog("Zurimo! バージョン情報");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ("Windows  Version 6.2 Build 9200 ", ControlText(GetDlgItem(about, IDC_ABOUT_WINDOWS)));
    PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
}

}  // namespace
}  // namespace e2e
