// Text outside the code page, copied by a Unicode program: captured, shown, taken out,
// quoted, edited, saved and loaded again exactly as it was copied; text that fits keeps
// every byte of its CF_TEXT.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

std::string Utf16Le(const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

std::string CodePageForm(const std::u16string& text) {
    char ansi[256] = {};
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text.c_str()), -1, ansi,
                        sizeof ansi, nullptr, nullptr);
    return ansi;
}

int IndexOfLine(HWND list, const std::u16string& line) {
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (WideListLine(list, i) == line) return i;
    }
    return -1;
}

class WideTextTest : public FreshUserTest {
protected:
    // Shows the history window, selects the entry whose line is `line` and clicks `button`.
    void ClickOnEntry(Session& s, const std::u16string& line, int button) {
        ASSERT_TRUE(s.Show());
        int index = IndexOfLine(s.list, line);
        ASSERT_GE(index, 0);
        SendMessageA(s.list, LB_SETCURSEL, index, 0);
        ASSERT_TRUE(s.Click(button));
    }
    AssertionResult WaitForClipboard(const std::u16string& wide, const std::string& ansi) {
        if (WaitUntil([&] { return ClipboardWideText() == wide && ClipboardText() == ansi; })) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "the clipboard holds " << Hex(ClipboardText());
    }

    Session s;
};

TEST_F(WideTextTest, TextOutsideTheCodePageComesBackExactlyAsItWasCopied) {
    const std::u16string cafe = u"café ☕ 𠮷野家 한국어", copied = cafe + u"\r\n二行目";
    const std::u16string waveDash = u"\u301C", editedLine = u"편집: " + cafe;
    SetDword("File", 1);
    ASSERT_TRUE(WriteBytes(HistoryFilePath(), std::string(2, '\0')));
    ASSERT_TRUE(s.Start());

    // A Unicode program's copies; the entry's ANSI text is the CF_TEXT the system made.
    ASSERT_TRUE(SetClipboardWide(copied));
    ASSERT_TRUE(WaitForLineCount(s.list, 1));
    const std::string copiedAnsi = ClipboardText();
    ASSERT_TRUE(s.Capture({"\xFA\x59 fits"}));  // a text that fits, as CF_TEXT alone
    ASSERT_TRUE(SetClipboardWide(waveDash));
    ASSERT_TRUE(WaitForLineCount(s.list, 3));
    const std::string waveDashAnsi = ClipboardText();

    // The list and the preview show the real characters.
    EXPECT_EQ(WideListLine(s.list, 0), waveDash);
    EXPECT_EQ(WideListLine(s.list, 2), cafe) << "the first line of the original";
    ASSERT_TRUE(s.Show());
    EXPECT_EQ(WideControlText(s.preview), waveDash);

    // Take-out puts the exact original beside the ANSI text; capture adds it again whole.
    ClickOnEntry(s, cafe, IDC_TAKE_OUT);
    EXPECT_TRUE(WaitForClipboard(copied, copiedAnsi));
    EXPECT_TRUE(WaitUntil([&] { return WideListLine(s.list, 0) == cafe; }));
    EXPECT_EQ(3, static_cast<int>(SendMessageA(s.list, LB_GETCOUNT, 0, 0)));
    ClickOnEntry(s, waveDash, IDC_TAKE_OUT);
    EXPECT_TRUE(WaitForClipboard(waveDash, waveDashAnsi));
    // A text that fits comes back byte for byte (its UTF-16 form would give 87 82).
    wchar_t fitsLine[16] = {};
    MultiByteToWideChar(CP_ACP, 0, "\xFA\x59 fits", -1, fitsLine, 16);
    ClickOnEntry(s, reinterpret_cast<const char16_t*>(fitsLine), IDC_TAKE_OUT);
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == "\xFA\x59 fits"; }))
        << Hex(ClipboardText());

    // Quoting quotes the original line by line.
    ASSERT_TRUE(s.Show());
    CheckDlgButton(s.history, IDC_QUOTE, BST_CHECKED);
    ASSERT_TRUE(s.Click(IDC_QUOTE));
    ClickOnEntry(s, cafe, IDC_TAKE_OUT);
    EXPECT_TRUE(WaitForClipboard(u">" + cafe + u"\r\n>二行目",
                                 ">" + copiedAnsi.substr(0, copiedAnsi.find('\n') + 1) + ">" +
                                     copiedAnsi.substr(copiedAnsi.find('\n') + 1)));

    // The editor shows the original and delivers what the user made of it.
    ClickOnEntry(s, cafe, IDC_EDIT);
    HWND editor = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (editor = FindWindowA("#32770", "Zurimo! 履歴の編集")) && IsWindowVisible(editor);
    }));
    HWND edit = GetDlgItem(editor, IDC_EDIT_TEXT);
    EXPECT_EQ(WideControlText(edit), copied);
    const std::u16string edited = editedLine + u"\r\n二行目";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(edited.c_str()));
    SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(editor, IDOK)));
    EXPECT_TRUE(WaitUntil([&] { return ClipboardWideText() == edited; }));
    EXPECT_TRUE(WaitUntil([&] { return WideListLine(s.list, 0) == editedLine; }));

    // Find reads real characters and finds them in the originals; the search text is kept
    // in UTF-16, so that an ANSI reader sees only the code page's form.
    ClickOnEntry(s, editedLine, IDC_FIND);
    HWND find = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (find = FindWindowA("#32770", "Zurimo! 検索")) && IsWindowVisible(find);
    }));
    const std::u16string searched = u"CAFé";
    SendDlgItemMessageW(find, IDC_FIND_TEXT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(searched.c_str()));
    PostMessageA(find, WM_COMMAND, MAKEWPARAM(IDC_FIND_NEXT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(find, IDC_FIND_NEXT)));
    const std::u16string lowerCafe = u"café";
    EXPECT_TRUE(WaitUntil([&] {
        return s.Selection() > 0 && WideListLine(s.list, s.Selection()).find(lowerCafe) == 1;
    })) << "down from the edited entry to the quoted one, in any case";
    PostMessageA(s.history, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(find); }));
    wchar_t stored[16] = {};
    DWORD size = sizeof stored;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Kestro!\\Zurimo!\\Settings",
                                          L"FindHistory0", RRF_RT_REG_SZ, nullptr, stored, &size));
    EXPECT_EQ(searched, reinterpret_cast<const char16_t*>(stored));
    std::string storedAnsi;
    EXPECT_TRUE(ReadString("FindHistory0", &storedAnsi));
    EXPECT_EQ(CodePageForm(searched), storedAnsi);

    // Saved in the wide form; after a restart every original is there again.
    ASSERT_TRUE(s.program.Close());
    std::string saved;
    ASSERT_TRUE(ReadBytes(HistoryFilePath(), &saved));
    EXPECT_NE(saved.find("\xFF\xFE\xFF" + std::string(1, static_cast<char>(copied.size())) +
                         Utf16Le(copied)),
              std::string::npos);
    EXPECT_NE(saved.find("\x07\xFA\x59 fits"), std::string::npos) << "a text that fits as before";

    Session again;
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(WideListLine(again.list, 0), editedLine);
    ClickOnEntry(again, cafe, IDC_TAKE_OUT);
    EXPECT_TRUE(WaitForClipboard(copied, copiedAnsi));
    ClickOnEntry(again, waveDash, IDC_TAKE_OUT);
    EXPECT_TRUE(WaitForClipboard(waveDash, waveDashAnsi));
}

}  // namespace
}  // namespace e2e
