// The Explorer menu of ZurimoEx.dll and the texts its commands put on the clipboard, seen
// from outside: real files in a folder of the test, settings and user strings in the
// registry, the menu read back from a menu of this process.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "host.h"

namespace shellext_test {
namespace {

using Lines = std::vector<std::string>;
using WideLines = std::vector<std::wstring>;

constexpr UINT kFirst = 100;
constexpr UINT kLast = 0x7FFF;
constexpr char kRoot[] = "C:\\zxtest";
const std::string kRule = " " + std::string(68, '-') + "\r\n";
const std::string kHeader =
    "MS-DOS 名           サイズ  最終更新日時         属性  名前 (種類)\r\n";

std::string Item(UINT offset, const char* caption) {
    return std::to_string(kFirst + offset) + " " + caption;
}

Lines operator+(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// The flat popup for a selection with a long folder, a long name, a shortcut in it.
Lines FlatPopup(bool longPath, bool longName, bool url) {
    Lines lines = {Item(0, longPath ? "長いフルパス(&L)" : "フルパス(&F)"),
                   Item(1, longPath ? "長いフルパス UNIX (&O)" : "フルパス(&U) UNIX")};
    if (longPath) {
        lines = lines + Lines{Item(2, "短いフルパス(&S)"), Item(3, "短いフルパス UNIX (&T)")};
    }
    lines.push_back(Item(4, longName ? "長い名前(&O)" : "名前のみ(&N)"));
    if (longName) lines.push_back(Item(5, "短い名前(&N)"));
    lines = lines + Lines{Item(6, "プロパティ詳細(&F)"), Item(7, "プロパティ簡易(&E)")};
    if (!url) return lines;
    return lines + Lines{Item(8, "URL(&U)"), Item(9, "URL 表示名付き(&N)"),
                         Item(10, "URL HTML アンカー(&H)")};
}

std::string ShortPath(const std::string& path) {
    char buffer[1024];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string NamePart(const std::string& asciiPath) {
    return asciiPath.substr(asciiPath.rfind('\\') + 1);
}

// What the file system and the shell say of an item on this machine.
struct Facts {
    WIN32_FIND_DATAA find = {};
    SHFILEINFOA shell = {};
};

AssertionResult Gather(const std::string& path, Facts* facts) {
    HANDLE find = FindFirstFileA(path.c_str(), &facts->find);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    if (find != INVALID_HANDLE_VALUE &&
        SHGetFileInfoA(path.c_str(), 0, &facts->shell, sizeof facts->shell,
                       SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "nothing known of " << path;
}

// A file time in the user's regional style: its date with `dateFlags`, or with 0 its time.
std::string Local(const FILETIME& utc, DWORD dateFlags) {
    FILETIME local;
    SYSTEMTIME time = {};
    char text[128] = {};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &time);
    if (dateFlags) GetDateFormatA(LOCALE_USER_DEFAULT, dateFlags, &time, nullptr, text, 128);
    if (!dateFlags) GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, 128);
    return text;
}

std::string When(const FILETIME& utc) { return Local(utc, DATE_LONGDATE) + " " + Local(utc, 0); }

std::string Upper(std::string text) {
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string PadLeft(const std::string& text, size_t width) {
    return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

std::string DosName(const Facts& facts) {
    return facts.find.cAlternateFileName[0] ? facts.find.cAlternateFileName
                                            : facts.shell.szDisplayName;
}

// The detailed block of a file (with a `size`) or a folder (without one) in kRoot.
std::string Detailed(const Facts& facts, const std::string& size, const std::string& attributes,
                     const std::string& version = "", const std::string& rights = "") {
    bool file = !size.empty();
    std::string text = "● " + std::string(facts.shell.szDisplayName) + "\r\n" + kRule +
                       "    種類             : " + facts.shell.szTypeName + "\r\n" +
                       "    場所             : " + kRoot + "\r\n";
    if (file) text += "    サイズ           : " + size + " bytes\r\n";
    text += kRule + "    MS-DOSファイル名 : " + Upper(DosName(facts)) + "\r\n";
    if (file) text += "    作成日時         : " + When(facts.find.ftCreationTime) + "\r\n";
    text += "    更新日時         : " + When(facts.find.ftLastWriteTime) + "\r\n";
    if (file) text += "    アクセス日時     : " + When(facts.find.ftLastAccessTime) + "\r\n";
    text += kRule + "    属性             : " + attributes + "\r\n" + kRule;
    if (version.empty()) return text;
    return text + "    バージョン       : " + version + "\r\n    著作権           : " + rights +
           "\r\n" + kRule;
}

std::string Simple(const Facts& facts, const std::string& size, const std::string& attributes) {
    const FILETIME& written = facts.find.ftLastWriteTime;
    std::string name = DosName(facts);
    return Upper(name + std::string(name.size() < 12 ? 12 - name.size() : 0, ' ')) + "  " +
           PadLeft(size, 12) + "  " + Local(written, DATE_SHORTDATE) +
           PadLeft(Local(written, 0), 10) + "  " + PadLeft(attributes, 5) + "  " +
           facts.shell.szDisplayName + " (" + facts.shell.szTypeName + ")\r\n";
}

// A text in the code page as Windows makes it for CF_TEXT (best fit, default character), and
// back.
std::string Narrow(const std::wstring& wide) {
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n,
                        nullptr, nullptr);
    return text;
}

std::wstring Widen(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::wstring WideShortPath(const std::wstring& path) {
    wchar_t buffer[1024];
    DWORD n = GetShortPathNameW(path.c_str(), buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

std::wstring WideNamePart(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

// CF_TEXT for a selection in UTF-16: what the selection in ANSI gave (`before`) or, where
// that gave nothing, the ANSI form of CF_UNICODETEXT.
std::string TextBeside(const std::string& before, const std::wstring& wide) {
    return before.rfind("<command", 0) == 0 ? Narrow(wide) : before;
}

// The simple properties line of an item named in UTF-16: its name column takes 12 bytes of
// the code page, as the ANSI line's does.
std::wstring WideSimple(const std::wstring& path, const std::string& size,
                        const std::string& attributes) {
    WIN32_FIND_DATAW find = {};
    SHFILEINFOW shell = {};
    HANDLE found = FindFirstFileW(path.c_str(), &find);
    if (found == INVALID_HANDLE_VALUE) return L"<not found>";
    FindClose(found);
    SHGetFileInfoW(path.c_str(), 0, &shell, sizeof shell, SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    std::wstring name = find.cAlternateFileName[0] ? find.cAlternateFileName : shell.szDisplayName;
    size_t width = Narrow(name).size();
    name.append(width < 12 ? 12 - width : 0, L' ');
    CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
    const FILETIME& written = find.ftLastWriteTime;
    return name +
           Widen("  " + PadLeft(size, 12) + "  " + Local(written, DATE_SHORTDATE) +
                 PadLeft(Local(written, 0), 10) + "  " + PadLeft(attributes, 5) + "  ") +
           shell.szDisplayName + L" (" + shell.szTypeName + L")\r\n";
}

// Times long past (UTC), so that the current time cannot pass for them.
AssertionResult SetTimes(const std::string& path, SYSTEMTIME created, SYSTEMTIME written,
                         SYSTEMTIME accessed) {
    FILETIME times[3];
    SystemTimeToFileTime(&created, &times[0]);
    SystemTimeToFileTime(&accessed, &times[1]);
    SystemTimeToFileTime(&written, &times[2]);
    zurimo::UniqueFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    if (file && SetFileTime(file.get(), &times[0], &times[1], &times[2])) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "cannot set the times of " << path;
}

struct Menu {
    HRESULT result = E_UNEXPECTED;
    Lines host;   // the host menu's entries; the popup is "> Zurimo!"
    Lines popup;  // the popup's entries
};

class ShellExtTest : public testing::Test {
protected:
    void SetUp() override {
        ResetUser();
        ASSERT_TRUE(PutSettings(32, 0, 0, 0));
        ASSERT_TRUE(library.Load());
        ASSERT_TRUE(tree.Create());
    }
    void TearDown() override { ResetUser(); }

    std::string P(const std::string& relative) const { return tree.Path(relative); }

    // Builds the menu for `paths` into a host menu with the entries A to E (1 to 5) and reads
    // it; then releases the object and checks that its popup and references went with it.
    AssertionResult BuildMenu(const Lines& paths, Menu* menu, UINT index = 0, UINT last = kLast,
                              UINT flags = CMF_NORMAL) {
        zurimo::UniqueHMenu host(CreatePopupMenu());
        for (UINT id = 1; id <= 5; ++id) {
            AppendMenuA(host.get(), MF_STRING, id, std::string(1, 'A' + id - 1).c_str());
        }
        DataObject data(paths);
        {
            Extension extension;
            AssertionResult made = extension.Create(library);
            if (!made) return made;
            HRESULT hr = extension.Initialize(&data);
            if (hr != S_OK) return testing::AssertionFailure() << "Initialize gave " << Hr(hr);
            menu->result = extension.Query(host.get(), index, kFirst, last, flags);
            menu->host.clear();
            menu->popup.clear();
            for (const std::string& line : MenuLines(host.get())) {
                if (line[0] == ' ') menu->popup.push_back(line.substr(2));
                if (line[0] != ' ') menu->host.push_back(line);
            }
        }
        for (const std::string& line : MenuLines(host.get())) {
            if (line[0] == '>' || line[0] == ' ') {
                return testing::AssertionFailure() << "released, the host still has " << line;
            }
        }
        if (data.references() == 1) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "released, the data object still has "
                                           << data.references() - 1 << " references of it";
    }

    // Runs command `offset` for `paths` as Explorer does (Initialize, QueryContextMenu,
    // InvokeCommand) over a clipboard holding kBefore: the clipboard's text when it returned
    // S_OK, else a note of what it returned.
    std::string Copied(const Lines& paths, UINT offset) {
        DataObject data(paths);
        return Copied(data, offset);
    }
    std::string Copied(DataObject& data, UINT offset) {
        zurimo::UniqueHMenu host(CreatePopupMenu());
        Extension extension;
        if (!extension.Create(library)) return "<no object>";
        HRESULT hr = extension.Initialize(&data);
        if (hr != S_OK) return "<Initialize gave " + Hr(hr) + ">";
        extension.Query(host.get(), 0, kFirst, kLast);
        if (!SetClipboardText(kBefore)) return "<the clipboard cannot be set>";
        hr = extension.Invoke(offset);
        if (hr != S_OK) return "<command " + std::to_string(offset) + " gave " + Hr(hr) + ">";
        return ClipboardText();
    }

    // The command returns E_FAIL and leaves the clipboard as it was.
    AssertionResult Fails(const Lines& paths, UINT offset) {
        std::string text = Copied(paths, offset);
        if (text != "<command " + std::to_string(offset) + " gave 0x80004005>") {
            return testing::AssertionFailure() << "command " << offset << " gave " << text;
        }
        if (ClipboardText() == kBefore) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "E_FAIL, but the clipboard holds " << ClipboardText();
    }

    struct Both {
        std::string text;   // CF_TEXT, or a note of what the command returned
        std::wstring wide;  // CF_UNICODETEXT when the command put it
    };
    // The same for paths in UTF-16, as Explorer hands them over.
    Both CopiedBoth(const WideLines& paths, UINT offset) {
        DataObject data(paths);
        Both both{Copied(data, offset), L"<not put>"};
        if (UnicodeTextPut()) both.wide = ClipboardWideText();
        return both;
    }

    zurimo::OleInitialization ole;
    Library library;
    TempTree tree{kRoot};
};

TEST_F(ShellExtTest, FlatMenuShowsWhatTheSelectionNeedsAndGoesWithTheObject) {
    ASSERT_TRUE(tree.File("a.txt", "x"));
    ASSERT_TRUE(tree.File("LongFileName.txt", "x"));
    Menu menu;
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu));
    EXPECT_EQ(11, menu.result);
    EXPECT_EQ((Lines{"> Zurimo!", "1 A", "2 B", "3 C", "4 D", "5 E"}), menu.host);
    EXPECT_EQ(FlatPopup(false, false, false), menu.popup);

    // 8.3 is judged in bytes, a double-byte character whole (the trail byte of 表 is a
    // backslash); a shortcut is a path ending in .url in any case.
    struct Case {
        Lines paths;
        bool longPath, longName, url;
    };
    const Case cases[] = {
        {{"C:\\zxtest\\abcdefgh.txt"}, false, false, false},
        {{"C:\\zxtest\\abcdefghi.tx"}, true, true, false},
        {{"C:\\zxtest\\abcdefgh.text"}, true, true, false},
        {{"C:\\zxtest\\abcdefghij"}, true, true, false},
        {{"C:\\zxtest\\ab.cd.efg"}, false, false, false},
        {{"C:\\zxtest\\ab.cd.efg\\x.txt"}, true, false, false},
        {{"C:\\Program Files\\x.txt"}, true, false, false},
        {{P("LongFileName.txt")}, true, true, false},
        {{"C:\\zxtest\\表表表表.txt"}, false, false, false},
        {{"C:\\zxtest\\表表表表表.txt"}, true, true, false},
        {{"C:\\zxtest\\abcdefghijk表.c"}, true, true, false},
        {{"C:\\zxtest\\sub", "C:\\zxtest\\LINK.URL"}, false, false, true},
        {{"C:\\zxtest\\a.url.txt"}, false, false, false},
        {{"C:\\zxtest\\a.txt", "C:\\Work Files\\b.txt", "C:\\zxtest\\Taro.url"}, true, false, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(BuildMenu(c.paths, &menu));
        EXPECT_EQ(FlatPopup(c.longPath, c.longName, c.url), menu.popup) << c.paths.back();
        EXPECT_EQ(11, menu.result) << c.paths.back();
    }

    // The marks stay with the object: a later selection of 8.3 names keeps the long items.
    {
        DataObject first({P("LongFileName.txt")}), second({P("a.txt")});
        zurimo::UniqueHMenu host(CreatePopupMenu());
        Extension extension;
        ASSERT_TRUE(extension.Create(library));
        ASSERT_EQ(S_OK, extension.Initialize(&first));
        ASSERT_EQ(S_OK, extension.Initialize(&second));
        EXPECT_EQ(11, extension.Query(host.get(), 0, kFirst, kLast));
        EXPECT_EQ(FlatPopup(true, true, false), MenuLines(GetSubMenu(host.get(), 0)));
        ASSERT_TRUE(SetClipboardText(kBefore));
        EXPECT_EQ(S_OK, extension.Invoke(0));
        EXPECT_EQ(P("a.txt"), ClipboardText()) << "the list is the later selection";
        EXPECT_EQ(1, extension.Query(nullptr, 0, kFirst, kLast)) << "no menu";
    }

    // The separator setting puts the popup one place down, above a separator of its own.
    ASSERT_TRUE(PutSettings(32, 1, 0, 0));
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu, 3));
    EXPECT_EQ((Lines{"1 A", "2 B", "3 C", "4 D", "> Zurimo!", "-", "5 E"}), menu.host);
    EXPECT_EQ(11, menu.result);
    ASSERT_TRUE(PutSettings(1, 0, 0, 0));
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu, 3));
    EXPECT_EQ((Lines{"1 A", "2 B", "3 C", "> Zurimo!", "4 D", "5 E"}), menu.host);
    // A menu for the default verb only gets nothing.
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu, 0, kLast, CMF_DEFAULTONLY));
    EXPECT_EQ(1, menu.result);
    EXPECT_EQ((Lines{"1 A", "2 B", "3 C", "4 D", "5 E"}), menu.host);
}

TEST_F(ShellExtTest, HierarchicalMenuAndUserStringsWithinTheGrantedIdentifiers) {
    ASSERT_TRUE(PutSettings(32, 0, 1, 0));
    Menu menu;
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu));
    EXPECT_EQ(11, menu.result);
    EXPECT_EQ((Lines{Item(0, "フルパス(&F)"), Item(1, "フルパス(&U) UNIX"), Item(4, "名前のみ(&N)"),
                     "> プロパティ(&P)", "  " + Item(6, "詳細(&F)"), "  " + Item(7, "簡易(&E)")}),
              menu.popup);
    ASSERT_TRUE(BuildMenu({P("Long Folder\\LongFileName.txt"), P("x.url")}, &menu));
    EXPECT_EQ((Lines{"> フルパス(&F)", "  " + Item(0, "長いフルパス(&L)"),
                     "  " + Item(1, "長いフルパス UNIX (&O)"), "  " + Item(2, "短いフルパス(&S)"),
                     "  " + Item(3, "短いフルパス UNIX (&T)"), "> 名前のみ(&N)",
                     "  " + Item(4, "長い名前(&O)"), "  " + Item(5, "短い名前(&N)"),
                     "> プロパティ(&P)", "  " + Item(6, "詳細(&F)"), "  " + Item(7, "簡易(&E)"),
                     "> URL(&U)", "  " + Item(8, "URL のみ(&O)"), "  " + Item(9, "表示名付き(&N)"),
                     "  " + Item(10, "HTML アンカー(&H)")}),
              menu.popup);

    // User strings follow a separator at 11 + k whatever their Show and Content; a key whose
    // caption does not read keeps its number; the list ends at the first missing key.
    const std::string user = std::string(kAppKey) + "\\User";
    ASSERT_TRUE(PutSettings(32, 0, 0, 1));
    ASSERT_TRUE(PutUser(0, "Mail", "me@example.jp"));
    ASSERT_TRUE(PutDword(user + "1", "Caption", 7));
    ASSERT_TRUE(PutUser(2, "署名", ""));
    ASSERT_TRUE(PutDword(user + "2", "Show", 0));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, user + "3", "Caption", REG_EXPAND_SZ,
                         std::string("Expand", 7)));
    ASSERT_TRUE(PutUser(5, "Beyond", "x"));
    const Lines users = {"-", Item(11, "Mail"), Item(13, "署名"), Item(14, "Expand")};
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu));
    EXPECT_EQ(FlatPopup(false, false, false) + users, menu.popup);
    EXPECT_EQ(15, menu.result);

    // Never an identifier above idCmdLast: user items that do not fit are left out, and
    // without room for the eleven commands nothing at all is added.
    const Lines flat = FlatPopup(false, false, false);
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu, 0, kFirst + 13));
    EXPECT_EQ(flat + Lines(users.begin(), users.begin() + 3), menu.popup);
    EXPECT_EQ(14, menu.result);
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu, 0, kFirst + 11));
    EXPECT_EQ(flat + Lines(users.begin(), users.begin() + 2), menu.popup);
    EXPECT_EQ(12, menu.result);
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu, 0, kFirst + 10));
    EXPECT_EQ(flat, menu.popup);
    EXPECT_EQ(11, menu.result);
    ASSERT_TRUE(PutSettings(32, 1, 1, 1));
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu, 0, kFirst + 9));
    EXPECT_EQ((Lines{"1 A", "2 B", "3 C", "4 D", "5 E"}), menu.host);
    EXPECT_EQ(1, menu.result);

    // Without User0 there are no user items at all.
    ASSERT_TRUE(PutSettings(32, 0, 0, 1));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_CURRENT_USER, (user + "0").c_str()));
    ASSERT_TRUE(BuildMenu({P("a.txt")}, &menu));
    EXPECT_EQ(flat, menu.popup);
    EXPECT_EQ(11, menu.result);
}

TEST_F(ShellExtTest, HelpTextsAndVerbs) {
    DataObject data({P("a.txt")});
    zurimo::UniqueHMenu host(CreatePopupMenu());
    Extension extension;
    ASSERT_TRUE(extension.Create(library));
    ASSERT_EQ(S_OK, extension.Initialize(&data));
    ASSERT_EQ(11, extension.Query(host.get(), 0, kFirst, kLast));
    const char* const texts[] = {
        "オブジェクト名をフルパスで取得してクリップボードに送ります。",
        "オブジェクト名をフルパスで取得してクリップボードに送ります。(UNIX 型式)",
        "オブジェクト名を短いフルパスで取得してクリップボードに送ります。",
        "オブジェクト名を短いフルパスで取得してクリップボードに送ります。(UNIX 型式)",
        "オブジェクトの名前を取得してクリップボードに送ります。",
        "オブジェクトの短い名前を取得してクリップボードに送ります。",
        "オブジェクトの詳細なプロパティを取得してクリップボードに送ります。",
        "オブジェクトの簡易なプロパティを取得してクリップボードに送ります。",
        "URL を取得して、クリップボードに送ります。",
        "名前付きで URL を取得して、クリップボードに送ります。",
        "HTML のアンカー形式で URL を取得して、クリップボードに送ります。"};
    for (UINT offset = 0; offset < 11; ++offset) {
        EXPECT_EQ(texts[offset], extension.HelpText(offset)) << offset;
    }
    EXPECT_EQ("", extension.HelpText(11)) << "user strings have no help text";
    EXPECT_EQ("オブジェク", extension.HelpText(0, 11)) << "cut to the buffer with its NUL";
    // No verbs and no wide help texts: E_NOTIMPL, and nothing written (16 wide characters
    // fill the 32 bytes of the buffer).
    for (UINT type : {GCS_VERBA, GCS_VERBW, GCS_HELPTEXTW, GCS_VERBICONW}) {
        HRESULT hr = E_UNEXPECTED;
        EXPECT_EQ("<untouched>", extension.HelpText(0, 16, type, &hr)) << type;
        EXPECT_EQ(E_NOTIMPL, hr) << type;
    }
    // Validation answers S_OK for the popup's commands only: a file of an 8.3 name offers
    // no short forms and no addresses, and the user menu is off.
    for (UINT type : {GCS_VALIDATEA, GCS_VALIDATEW}) {
        for (UINT offset : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 10u, 11u, 12u, 0x10000u}) {
            bool command = offset == 0 || offset == 1 || offset == 4 || offset == 6 || offset == 7;
            HRESULT hr = E_UNEXPECTED;
            EXPECT_EQ("<untouched>", extension.HelpText(offset, 16, type, &hr)) << offset;
            EXPECT_EQ(command ? S_OK : S_FALSE, hr) << type << ", " << offset;
        }
    }
    Extension fresh;
    ASSERT_TRUE(fresh.Create(library));
    HRESULT hr = E_UNEXPECTED;
    fresh.HelpText(0, 16, GCS_VALIDATEA, &hr);
    EXPECT_EQ(S_FALSE, hr) << "no popup, no commands";
    // A verb given as text runs nothing.
    ASSERT_TRUE(SetClipboardText(kBefore));
    EXPECT_EQ(E_FAIL, extension.InvokeVerb("copy"));
    EXPECT_EQ(kBefore, ClipboardText());
}

TEST_F(ShellExtTest, PathsAndNamesOfOneItemInEveryUnixStyle) {
    ASSERT_TRUE(tree.File("a.txt", "x"));
    ASSERT_TRUE(tree.File("LongFileName.txt", "x"));
    ASSERT_TRUE(tree.File("a b;c.txt", "x"));
    ASSERT_TRUE(tree.Folder("表"));
    ASSERT_TRUE(tree.File("表\\ソ.txt", "x"));
    const std::string a = P("a.txt"), longFile = P("LongFileName.txt"), sjis = P("表\\ソ.txt");
    const std::string shortLong = ShortPath(longFile);
    ASSERT_NE("", shortLong);
    EXPECT_EQ(a, Copied({a}, 0));
    EXPECT_EQ("C:/zxtest/a.txt", Copied({a}, 1));
    EXPECT_EQ(ShortPath(a), Copied({a}, 2));
    EXPECT_EQ("a.txt", Copied({a}, 4));
    EXPECT_EQ(longFile, Copied({longFile}, 0));
    EXPECT_EQ(shortLong, Copied({longFile}, 2));
    EXPECT_EQ("C:/zxtest/" + NamePart(shortLong), Copied({longFile}, 3));
    EXPECT_EQ("LongFileName.txt", Copied({longFile}, 4));
    EXPECT_EQ(NamePart(shortLong), Copied({longFile}, 5));
    // The trail bytes 0x5C of 表 and ソ are never taken for separators.
    EXPECT_EQ(sjis, Copied({sjis}, 0));
    EXPECT_EQ("C:/zxtest/表/ソ.txt", Copied({sjis}, 1));
    EXPECT_EQ("ソ.txt", Copied({sjis}, 4));
    // No short form, no name: nothing is put.
    for (UINT offset : {2u, 3u, 5u}) EXPECT_TRUE(Fails({P("missing.txt")}, offset)) << offset;
    EXPECT_TRUE(Fails({"a.txt"}, 4));

    // DriveType picks the style without regard to case; anything else is the standard one.
    struct Style {
        const char* driveType;  // null: no ShellExt key
        DWORD type;
        const char* file;
        const char* network;
    };
    const Style styles[] = {
        {"std", REG_SZ, "C:/zxtest/a b:c.txt", "//server/share/x"},
        {"mingw", REG_SZ, "/C/zxtest/a b:c.txt", "//server/share/x"},
        {"cygwin", REG_SZ, "/cygdrive/C/zxtest/a b:c.txt", "/cygdrive//server/share/x"},
        {"sfu", REG_SZ, "/dev/fs/C/zxtest/a b:c.txt", "/dev/fs//server/share/x"},
        {"CYGWIN", REG_SZ, "/cygdrive/C/zxtest/a b:c.txt", "/cygdrive//server/share/x"},
        {"Sfu", REG_EXPAND_SZ, "/dev/fs/C/zxtest/a b:c.txt", "/dev/fs//server/share/x"},
        {"mingw", REG_MULTI_SZ, "/C/zxtest/a b:c.txt", "//server/share/x"},
        {"posix", REG_SZ, "C:/zxtest/a b:c.txt", "//server/share/x"},
        {"cygwin12", REG_SZ, "C:/zxtest/a b:c.txt", "//server/share/x"},  // too long to read
        {nullptr, REG_SZ, "C:/zxtest/a b:c.txt", "//server/share/x"},
    };
    const std::string shellExt = std::string(kAppKey) + "\\ShellExt";
    for (const Style& style : styles) {
        RegDeleteTreeA(HKEY_CURRENT_USER, shellExt.c_str());
        if (style.driveType) {
            std::string value = std::string(style.driveType) + '\0';
            if (style.type == REG_MULTI_SZ) value += '\0';
            ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, shellExt, "DriveType", style.type, value));
        }
        const char* name = style.driveType ? style.driveType : "(none)";
        EXPECT_EQ(style.file, Copied({P("a b;c.txt")}, 1)) << name;
        EXPECT_EQ(style.network, Copied({"\\\\server\\share\\x"}, 1)) << name;
    }
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, shellExt, "DriveType", REG_SZ,
                         std::string("mingw", 6)));
    EXPECT_EQ("/c/zxtest/a.txt", Copied({"c:\\zxtest\\a.txt"}, 1)) << "the drive as it stands";
    EXPECT_EQ("/C/zxtest/" + NamePart(shortLong), Copied({longFile}, 3));
    EXPECT_EQ("/C/zxtest/表/ソ.txt", Copied({sjis}, 1));
}

TEST_F(ShellExtTest, SeveralItemsAndPathsLongerThanMaxPathBytes) {
    ASSERT_TRUE(tree.File("a.txt", "x"));
    ASSERT_TRUE(tree.File("LongFileName.txt", "x"));
    ASSERT_TRUE(tree.Folder("sub"));
    ASSERT_TRUE(tree.Folder("表"));
    ASSERT_TRUE(tree.File("表\\ソ.txt", "x"));
    // Double-byte names make a path of over 400 bytes in well under MAX_PATH characters.
    std::string part, deep = kRoot;
    for (int i = 0; i < 13; ++i) part += "表ソ能";
    for (int level = 0; level < 4; ++level) {
        deep += "\\" + part;
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << GetLastError();
    }
    const std::string name = part + ".txt";
    deep += "\\" + name;
    ASSERT_TRUE(tree.File(deep.substr(sizeof kRoot), "x"));
    ASSERT_GT(deep.size(), 400u);
    std::string deepUnix = "/cygdrive/C/zxtest/";
    for (int level = 0; level < 4; ++level) deepUnix += part + "/";
    deepUnix += name;
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, std::string(kAppKey) + "\\ShellExt", "DriveType",
                         REG_SZ, std::string("cygwin", 7)));
    EXPECT_EQ(deep, Copied({deep}, 0));
    EXPECT_EQ(deepUnix, Copied({deep}, 1));
    EXPECT_EQ(name, Copied({deep}, 4));
    EXPECT_EQ(ShortPath(deep), Copied({deep}, 2));
    Menu menu;
    ASSERT_TRUE(BuildMenu({deep}, &menu));
    EXPECT_EQ(FlatPopup(true, true, false), menu.popup);

    const std::string a = P("a.txt"), longFile = P("LongFileName.txt"), sub = P("sub");
    const Lines paths = {a, longFile, sub, P("表\\ソ.txt"), deep};
    EXPECT_EQ(a + "\r\n" + longFile + "\r\n" + sub + "\r\n" + P("表\\ソ.txt") + "\r\n" + deep +
                  "\r\n",
              Copied(paths, 0));
    EXPECT_EQ("/cygdrive/C/zxtest/a.txt\r\n/cygdrive/C/zxtest/LongFileName.txt\r\n"
              "/cygdrive/C/zxtest/sub\r\n/cygdrive/C/zxtest/表/ソ.txt\r\n" + deepUnix + "\r\n",
              Copied(paths, 1));
    EXPECT_EQ("a.txt\r\nLongFileName.txt\r\nsub\r\nソ.txt\r\n" + name + "\r\n", Copied(paths, 4));

    // Items without a short form are left out.
    std::string shortPaths, shortUnix, shortNames;
    for (const std::string& path : {a, longFile, sub}) {
        shortPaths += ShortPath(path) + "\r\n";
        shortUnix += "/cygdrive/C/zxtest/" + NamePart(ShortPath(path)) + "\r\n";
        shortNames += NamePart(ShortPath(path)) + "\r\n";
    }
    const Lines mixed = {a, P("missing.txt"), longFile, sub};
    EXPECT_EQ(shortPaths, Copied(mixed, 2));
    EXPECT_EQ(shortUnix, Copied(mixed, 3));
    EXPECT_EQ(shortNames, Copied(mixed, 5));
    EXPECT_EQ("", Copied({P("missing.txt"), P("gone.txt")}, 2)) << "put even when empty";

    // Nothing selected: the empty list, and nothing for the other path, name and properties
    // commands.
    EXPECT_EQ("", Copied({}, 0));
    for (UINT offset = 1; offset <= 7; ++offset) EXPECT_TRUE(Fails({}, offset)) << offset;
}

TEST_F(ShellExtTest, PropertiesOfFilesFoldersAndALibrary) {
    ASSERT_TRUE(tree.File("a.txt", std::string(1234, 'x')));
    ASSERT_TRUE(SetTimes(P("a.txt"), {2009, 12, 0, 20, 8, 5, 9, 0},
                         {2009, 12, 0, 22, 13, 50, 43, 0}, {2010, 1, 0, 2, 7, 0, 0, 0}));
    ASSERT_TRUE(SetFileAttributesA(P("a.txt").c_str(), FILE_ATTRIBUTE_READONLY |
                                                           FILE_ATTRIBUTE_HIDDEN |
                                                           FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(tree.File("LongFileName.txt", ""));
    ASSERT_TRUE(tree.Folder("sub"));
    ASSERT_TRUE(CopyFileA(LibraryPath().c_str(), P("zex.dll").c_str(), FALSE));
    ASSERT_TRUE(tree.File("big.bin", "", 3000000000ull));
    ASSERT_TRUE(tree.File("huge.bin", "", 5ull << 30));
    for (const char* file : {"LongFileName.txt", "zex.dll", "big.bin", "huge.bin"}) {
        ASSERT_TRUE(SetFileAttributesA(P(file).c_str(), FILE_ATTRIBUTE_ARCHIVE));
    }
    // Reading a file may move its access time: what is read here is read before the facts.
    const std::string rights = VersionString(P("zex.dll"), "LegalCopyright");
    Facts a, longFile, sub, dll, big, huge;
    ASSERT_TRUE(Gather(P("a.txt"), &a));
    ASSERT_TRUE(Gather(P("LongFileName.txt"), &longFile));
    ASSERT_TRUE(Gather(P("sub"), &sub));
    ASSERT_TRUE(Gather(P("zex.dll"), &dll));
    ASSERT_TRUE(Gather(P("big.bin"), &big));
    ASSERT_TRUE(Gather(P("huge.bin"), &huge));
    ASSERT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
              a.find.dwFileAttributes);
    ASSERT_EQ(FILE_ATTRIBUTE_DIRECTORY, sub.find.dwFileAttributes);

    EXPECT_EQ(Detailed(a, "1,234", "RHA"), Copied({P("a.txt")}, 6));
    EXPECT_EQ(kHeader + Simple(a, "1,234", "RHA"), Copied({P("a.txt")}, 7));
    EXPECT_EQ(Detailed(sub, "", ""), Copied({P("sub")}, 6));
    EXPECT_EQ(kHeader + Simple(sub, "", ""), Copied({P("sub")}, 7));
    EXPECT_EQ(Detailed(big, "3,000,000,000", "A"), Copied({P("big.bin")}, 6));
    EXPECT_EQ(Detailed(huge, "Unknown", "A"), Copied({P("huge.bin")}, 6));
    EXPECT_EQ(kHeader + Simple(huge, "Unknown", "A"), Copied({P("huge.bin")}, 7));
    // A library with a version resource: its FileVersion text and copyright, and a third rule.
    std::string size = std::to_string(dll.find.nFileSizeLow);
    for (int at = static_cast<int>(size.size()) - 3; at > 0; at -= 3) size.insert(at, ",");
    EXPECT_EQ(Detailed(dll, size, "A", "1, 33, 0, 1", rights), Copied({P("zex.dll")}, 6));

    // Several items: one header, then each item that exists, the last one included.
    EXPECT_EQ(kHeader + Simple(a, "1,234", "RHA") + Simple(longFile, "0", "A") +
                  Simple(sub, "", ""),
              Copied({P("a.txt"), P("missing.txt"), P("LongFileName.txt"), P("sub")}, 7));
    // The commands above read a.txt, which may have moved its access time: take it again.
    ASSERT_TRUE(Gather(P("a.txt"), &a));
    EXPECT_EQ(Detailed(sub, "", "") + Detailed(a, "1,234", "RHA"),
              Copied({P("sub"), P("gone"), P("a.txt")}, 6));
    EXPECT_TRUE(Fails({P("missing.txt")}, 6));
    EXPECT_TRUE(Fails({P("missing.txt")}, 7));
}

TEST_F(ShellExtTest, InternetShortcutsGiveTheirAddressInThreeForms) {
    auto shortcut = [&](const std::string& name, const std::string& url) {
        return tree.File(name, "[InternetShortcut]\r\nURL=" + url + "\r\n");
    };
    ASSERT_TRUE(shortcut("Example.url", "http://example.com/a?b=1&c=2"));
    ASSERT_TRUE(shortcut("My Site.url", "https://my.example.jp/"));
    ASSERT_TRUE(shortcut("Taro.url", "mailto:taro@example.jp"));
    ASSERT_TRUE(shortcut("表示.URL", "http://example.jp/表"));
    ASSERT_TRUE(shortcut("a.url.url", "http://a.example/"));
    ASSERT_TRUE(shortcut("failed.url", "Failed!"));
    ASSERT_TRUE(tree.File("nosection.url", "[Other]\r\nURL=http://other.example/\r\n"));
    ASSERT_TRUE(tree.File("nokey.url", "[InternetShortcut]\r\nIconIndex=0\r\n"));
    std::string binary("MZ\x90\0\x03\0\0\0\x04\0\0\0\xff\xff\0\0", 16);
    for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
    ASSERT_TRUE(shortcut("binary.url", "http://binary.example/\r\n" + binary));
    ASSERT_TRUE(tree.File("binary2.url", binary + "\r\n[InternetShortcut]\r\n"
                                                  "URL=http://binary.example/\r\n"));
    std::string filler;
    while (filler.size() < (16u << 20)) filler += "; a line of an oversized shortcut file\r\n";
    ASSERT_TRUE(shortcut("huge.url", "http://huge.example/\r\n" + filler));
    ASSERT_TRUE(tree.File("a.txt", "x"));
    ASSERT_TRUE(tree.Folder("sub"));

    struct Case {
        const char *file, *url, *withName, *anchor;
    };
    const Case cases[] = {
        {"Example.url", "http://example.com/a?b=1&c=2", "Example <http://example.com/a?b=1&c=2>",
         "<a href=\"http://example.com/a?b=1&c=2\">Example</a>"},
        {"My Site.url", "https://my.example.jp/", "\"My Site\" <https://my.example.jp/>",
         "<a href=\"https://my.example.jp/\">My Site</a>"},
        {"Taro.url", "mailto:taro@example.jp", "Taro <taro@example.jp>",
         "<a href=\"mailto:taro@example.jp\">Taro</a>"},
        {"表示.URL", "http://example.jp/表", "\"表示\" <http://example.jp/表>",
         "<a href=\"http://example.jp/表\">表示</a>"},
        {"a.url.url", "http://a.example/", "\"a.url\" <http://a.example/>",
         "<a href=\"http://a.example/\">a.url</a>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.url, Copied({P(c.file)}, 8)) << c.file;
        EXPECT_EQ(c.withName, Copied({P(c.file)}, 9)) << c.file;
        EXPECT_EQ(c.anchor, Copied({P(c.file)}, 10)) << c.file;
    }
    // No address: "Failed!", no section or key, binary or oversized files.
    for (const char* file :
         {"failed.url", "nosection.url", "nokey.url", "binary.url", "binary2.url", "huge.url"}) {
        for (UINT offset : {8u, 9u, 10u}) EXPECT_TRUE(Fails({P(file)}, offset)) << file;
    }

    // Several items: a line for each shortcut with an address, the last item included.
    const Lines several = {P("sub"),           P("Example.url"), P("a.txt"),
                           P("nosection.url"), P("huge.url"),    P("Taro.url")};
    EXPECT_EQ("http://example.com/a?b=1&c=2\r\nmailto:taro@example.jp\r\n", Copied(several, 8));
    EXPECT_EQ("Example <http://example.com/a?b=1&c=2>\r\nTaro <taro@example.jp>\r\n",
              Copied(several, 9));
    EXPECT_EQ("<a href=\"http://example.com/a?b=1&c=2\">Example</a>\r\n"
              "<a href=\"mailto:taro@example.jp\">Taro</a>\r\n",
              Copied(several, 10));
    EXPECT_EQ("", Copied({P("sub"), P("a.txt")}, 8)) << "put even when empty";
}

TEST_F(ShellExtTest, NamesTheCodePageCannotHoldGetCfUnicodeTextBesideTheSameCfText) {
    const std::wstring cafe = L"C:\\zxtest\\caf\u00e9\u2615.txt";
    const std::wstring link = L"C:\\zxtest\\caf\u00e9\u2615.url";
    ASSERT_TRUE(tree.File(WideNamePart(cafe), "x"));
    ASSERT_TRUE(tree.File(WideNamePart(link), "[InternetShortcut]\r\nURL=http://example.jp/表\r\n"));
    ASSERT_TRUE(tree.File("a.txt", "x"));
    ASSERT_TRUE(tree.File("Taro.url", "[InternetShortcut]\r\nURL=mailto:taro@example.jp\r\n"));
    ASSERT_TRUE(tree.Folder("表"));
    ASSERT_TRUE(tree.File("表\\ソ.txt", "x"));
    ASSERT_TRUE(SetFileAttributesW(cafe.c_str(), FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(SetFileAttributesA(P("a.txt").c_str(), FILE_ATTRIBUTE_ARCHIVE));
    const std::string a = P("a.txt"), sjis = P("表\\ソ.txt"), ansiCafe = Narrow(cafe);
    ASSERT_NE(cafe, Widen(ansiCafe)) << "the name does not fit the code page";
    const std::wstring shortCafe = WideShortPath(cafe);
    ASSERT_NE(L"", shortCafe);

    // One item: CF_TEXT as the ANSI path gives it (C:\zxtest\cafe?.txt on Windows and Wine);
    // where that reaches no file, the ANSI form of the real text.
    struct Case {
        UINT offset;
        std::wstring wide;
    };
    const Case cases[] = {
        {0, cafe},
        {1, L"C:/zxtest/caf\u00e9\u2615.txt"},
        {2, shortCafe},
        {3, L"C:/zxtest/" + WideNamePart(shortCafe)},
        {4, L"caf\u00e9\u2615.txt"},
        {5, WideNamePart(shortCafe)},
    };
    for (const Case& c : cases) {
        Both both = CopiedBoth({cafe}, c.offset);
        EXPECT_EQ(c.wide, both.wide) << c.offset;
        EXPECT_EQ(TextBeside(Copied({ansiCafe}, c.offset), c.wide), both.text) << c.offset;
    }
    EXPECT_EQ(ansiCafe, CopiedBoth({cafe}, 0).text) << "what DragQueryFileA gives";

    // Several: each list holds the items its own paths reach.
    const WideLines three = {cafe, Widen(a), Widen(sjis)};
    const Lines threeAnsi = {ansiCafe, a, sjis};
    Both both = CopiedBoth(three, 0);
    EXPECT_EQ(cafe + L"\r\n" + Widen(a + "\r\n" + sjis + "\r\n"), both.wide);
    EXPECT_EQ(Copied(threeAnsi, 0), both.text);
    both = CopiedBoth(three, 2);
    EXPECT_EQ(shortCafe + L"\r\n" + Widen(ShortPath(a) + "\r\n" + ShortPath(sjis) + "\r\n"),
              both.wide);
    EXPECT_EQ(Copied(threeAnsi, 2), both.text);

    // Properties: the real names, the columns as wide as in the ANSI text.
    Facts aFacts;
    ASSERT_TRUE(Gather(a, &aFacts));
    both = CopiedBoth({cafe, Widen(a)}, 7);
    EXPECT_EQ(Widen(kHeader) + WideSimple(cafe, "1", "A") + Widen(Simple(aFacts, "1", "A")),
              both.wide);
    EXPECT_EQ(Copied({ansiCafe, a}, 7), both.text);
    both = CopiedBoth({cafe}, 6);
    EXPECT_EQ(0u, both.wide.find(L"\u25CF caf\u00e9\u2615.txt\r\n")) << both.text;
    std::wstring dosName = WideNamePart(shortCafe);
    CharUpperBuffW(&dosName[0], static_cast<DWORD>(dosName.size()));
    for (const std::wstring& line : {Widen("    場所             : C:\\zxtest\r\n"),
                                     Widen("    サイズ           : 1 bytes\r\n"),
                                     Widen("    MS-DOSファイル名 : ") + dosName + L"\r\n",
                                     Widen("    属性             : A\r\n")}) {
        EXPECT_NE(std::wstring::npos, both.wide.find(line)) << Narrow(line);
    }
    EXPECT_EQ(TextBeside(Copied({ansiCafe}, 6), both.wide), both.text);

    // Shortcuts: the name as the file system has it; several give a line each.
    both = CopiedBoth({link}, 9);
    EXPECT_EQ(L"\"caf\u00e9\u2615\" " + Widen("<http://example.jp/表>"), both.wide);
    EXPECT_EQ(TextBeside(Copied({Narrow(link)}, 9), both.wide), both.text);
    both = CopiedBoth({link, Widen(P("Taro.url"))}, 10);
    EXPECT_EQ(Widen("<a href=\"http://example.jp/表\">") + L"caf\u00e9\u2615</a>\r\n" +
                  L"<a href=\"mailto:taro@example.jp\">Taro</a>\r\n",
              both.wide);
    EXPECT_EQ(Copied({Narrow(link), P("Taro.url")}, 10), both.text);

    // A selection that fits, though handed over in UTF-16, puts CF_TEXT alone, as before.
    for (UINT offset = 0; offset <= 7; ++offset) {
        both = CopiedBoth({Widen(a), Widen(sjis)}, offset);
        EXPECT_EQ(L"<not put>", both.wide) << offset;
        // The detailed text shows the access time, which the first run's reads may move.
        if (offset != 6) {
            EXPECT_EQ(Copied({a, sjis}, offset), both.text) << offset;
        }
    }
    EXPECT_EQ(a + "\r\n" + sjis + "\r\n", CopiedBoth({Widen(a), Widen(sjis)}, 0).text);
}

TEST_F(ShellExtTest, UserStringsReachTheClipboardUnchanged) {
    ASSERT_TRUE(PutSettings(32, 0, 0, 1));
    const std::string user = std::string(kAppKey) + "\\User";
    ASSERT_TRUE(PutUser(0, "Mail", "me@example.jp"));
    ASSERT_TRUE(PutUser(1, "Sign", "--\r\nZurimo 表"));
    ASSERT_TRUE(PutUser(2, "Path", ""));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, user + "2", "Content", REG_EXPAND_SZ,
                         std::string("%WINDIR%\\abc\0", 13)));
    ASSERT_TRUE(PutUser(3, "Multi", ""));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, user + "3", "Content", REG_MULTI_SZ,
                         std::string("first\0second\0\0", 14)));
    ASSERT_TRUE(PutUser(4, "Longest", std::string(1023, 'x')));
    ASSERT_TRUE(PutUser(5, "Too long", std::string(1024, 'x')));
    ASSERT_TRUE(PutUser(6, "Number", ""));
    ASSERT_TRUE(PutDword(user + "6", "Content", 42));
    ASSERT_TRUE(PutDword(user + "7", "Show", 1));  // no Caption, no Content

    const Lines selection = {P("x.txt")};
    EXPECT_EQ("me@example.jp", Copied(selection, 11));
    EXPECT_EQ("--\r\nZurimo 表", Copied(selection, 12));
    EXPECT_EQ("%WINDIR%\\abc", Copied(selection, 13)) << "not expanded";
    EXPECT_EQ("first", Copied(selection, 14));
    EXPECT_EQ(std::string(1023, 'x'), Copied(selection, 15));
    for (UINT offset : {16u, 17u, 18u, 19u}) EXPECT_TRUE(Fails(selection, offset)) << offset;
}

TEST_F(ShellExtTest, InitializeNeedsTheFourSettingsAndFileDrops) {
    Extension extension;
    ASSERT_TRUE(extension.Create(library));
    DataObject files({P("a.txt")}), virtualItems({P("a.txt")}, false);
    EXPECT_EQ(E_POINTER, extension.Initialize(nullptr));
    EXPECT_EQ(DV_E_FORMATETC, extension.Initialize(&virtualItems)) << "GetData's own failure";
    EXPECT_EQ(S_OK, extension.Initialize(&files));

    const std::string settings = std::string(kAppKey) + "\\Settings";
    struct Broken {
        const char* name;
        DWORD type;
        std::string bytes;  // empty: the value is removed
    };
    const Broken broken[] = {
        {"ShellLimit", REG_DWORD, std::string(4, '\0')},
        {"ShellSep", REG_SZ, std::string("1\0", 2)},
        {"ShellHierarchy", REG_BINARY, std::string(4, '\0')},
        {"ShellUserMenu", REG_QWORD, std::string(8, '\0')},
        {"ShellLimit", REG_DWORD, std::string("\x20\0", 2)},
        {"ShellUserMenu", REG_DWORD, ""},
    };
    for (const Broken& b : broken) {
        ASSERT_TRUE(PutSettings(32, 0, 0, 0));
        if (b.bytes.empty()) {
            ASSERT_EQ(ERROR_SUCCESS,
                      RegDeleteKeyValueA(HKEY_CURRENT_USER, settings.c_str(), b.name));
        } else {
            ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, settings, b.name, b.type, b.bytes));
        }
        EXPECT_EQ(E_FAIL, extension.Initialize(&files)) << b.name << ", type " << b.type;
    }
    ResetUser();
    EXPECT_EQ(E_FAIL, extension.Initialize(&files)) << "no Settings key";
    ASSERT_TRUE(PutSettings(1, 0, 0, 0));
    EXPECT_EQ(S_OK, extension.Initialize(&files));
    extension.Release();
    EXPECT_EQ(1, files.references());
    EXPECT_EQ(1, virtualItems.references());
}

// One right-click as Explorer makes it, call by call: what each call gave, as a line, and how
// many allocations the library had made by its end.
struct Click {
    std::vector<std::string> outcomes;
    std::vector<long> counts;
    bool reached = false;  // the allocation that was to fail was asked for
};

std::string Joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "|") + line;
    return text;
}

bool Succeeded(const std::string& outcome) { return outcome.rfind("0x0", 0) == 0; }

constexpr UINT kClickCommands = 12;  // the eleven commands and one user string
const std::string kOutOfMemory = Hr(E_OUTOFMEMORY);
const std::string kBareHost = "1 A|2 B|3 C|4 D|5 E";

// The outcome of call `step` of a click when the allocation that failed in it was given up:
// E_OUTOFMEMORY, and nothing changed (help texts 4 to 15, commands 16 to 27).
std::string GivenUp(size_t step) {
    if (step == 3) return kOutOfMemory + " host: " + kBareHost;
    if (step >= 4 && step < 4 + kClickCommands) return kOutOfMemory + " <untouched>";
    if (step >= 4 + kClickCommands) return kOutOfMemory + " " + kBefore;
    return kOutOfMemory;
}

TEST_F(ShellExtTest, EveryAllocationOfAMenuAndItsCommandsMayFail) {
    ASSERT_TRUE(PutSettings(32, 1, 1, 1));
    ASSERT_TRUE(PutUser(0, "Mail", "me@example.jp"));
    ASSERT_TRUE(tree.File("LongFileName.txt", "x"));
    ASSERT_TRUE(tree.Folder("sub"));
    ASSERT_TRUE(tree.File("Site.url", "[InternetShortcut]\r\nURL=http://example.jp/\r\n"));
    const Lines paths = {P("LongFileName.txt"), P("sub"), P("Site.url")};

    // Each click in a freshly loaded library, so that its first DllGetClassObject is the
    // library's first too.
    auto rightClick = [&](long failAt) {
        Click click;
        library.module.reset();
        if (GetModuleHandleA("ZurimoEx.dll")) {
            click.outcomes.push_back("<the library stayed loaded>");
            return click;
        }
        if (!library.Load() || !allocation_faults::Attach(library.module.get())) {
            click.outcomes.push_back("<the library cannot be loaded and counted>");
            return click;
        }
        DataObject data(paths);
        zurimo::UniqueHMenu host(CreatePopupMenu());
        for (UINT id = 1; id <= 5; ++id) {
            AppendMenuA(host.get(), MF_STRING, id, std::string(1, 'A' + id - 1).c_str());
        }
        Com<IClassFactory> factory;
        Com<IShellExtInit> init;
        Com<IContextMenu> menu;
        allocation_faults::Arm(failAt);
        // A call of the library; an exception that leaves it is an outcome too.
        auto call = [&](auto body) {
            std::string outcome;
            try {
                outcome = body();
            } catch (...) {
                outcome = "<an exception left the library>";
            }
            click.outcomes.push_back(outcome);
            click.counts.push_back(allocation_faults::Count());
            return Succeeded(outcome);
        };
        bool menuShown =
            call([&] {
                return Hr(library.getClassObject(kClsid, IID_IClassFactory, factory.out()));
            }) &&
            call([&] {
                HRESULT hr = factory->CreateInstance(nullptr, IID_IShellExtInit, init.out());
                if (hr == S_OK) hr = init->QueryInterface(IID_IContextMenu, menu.out());
                factory.reset();
                return Hr(hr);
            }) &&
            call([&] { return Hr(init->Initialize(nullptr, &data, nullptr)); }) &&
            call([&] {
                HRESULT hr = menu->QueryContextMenu(host.get(), 0, kFirst, kLast, CMF_NORMAL);
                return Hr(hr) + " host: " + Joined(MenuLines(host.get()));
            });
        for (UINT offset = 0; menuShown && offset < kClickCommands; ++offset) {
            call([&] {
                std::string buffer(256, '\x7f');
                HRESULT hr = menu->GetCommandString(offset, GCS_HELPTEXTA, nullptr, &buffer[0],
                                                    static_cast<UINT>(buffer.size()));
                bool untouched = buffer.find_first_not_of('\x7f') == std::string::npos;
                return Hr(hr) + " " + (untouched ? "<untouched>" : buffer.c_str());
            });
        }
        for (UINT offset = 0; menuShown && offset < kClickCommands; ++offset) {
            if (!SetClipboardText(kBefore)) {
                click.outcomes.push_back("<the clipboard cannot be set>");
                return click;
            }
            call([&] {
                CMINVOKECOMMANDINFO info = {};
                info.cbSize = sizeof info;
                info.lpVerb = MAKEINTRESOURCEA(offset);
                HRESULT hr = menu->InvokeCommand(&info);
                return Hr(hr) + " " + ClipboardText() + (UnicodeTextPut() ? " +wide" : "");
            });
        }
        call([&] {
            menu.reset();
            init.reset();
            return Hr(library.canUnloadNow()) + " host: " + Joined(MenuLines(host.get())) +
                   ", data references " + std::to_string(data.references());
        });
        click.reached = allocation_faults::Reached();
        allocation_faults::Arm(0);
        return click;
    };

    // Counted twice without failures: the same calls, the same allocations.
    const Click counted = rightClick(0);
    const Click again = rightClick(0);
    ASSERT_EQ(counted.outcomes, again.outcomes);
    ASSERT_EQ(counted.counts, again.counts);
    ASSERT_EQ(5 + 2 * kClickCommands, counted.outcomes.size()) << counted.outcomes.back();
    for (const std::string& outcome : counted.outcomes) {
        ASSERT_TRUE(Succeeded(outcome)) << outcome;
    }
    EXPECT_EQ(0u, counted.outcomes[3].find("0x0000000c host: 1 A|> Zurimo!|  > フルパス(&F)|"))
        << counted.outcomes[3];
    EXPECT_EQ("0x00000000 " + P("LongFileName.txt") + "\r\n" + P("sub") + "\r\n" +
                  P("Site.url") + "\r\n",
              counted.outcomes[4 + kClickCommands]);
    EXPECT_EQ("0x00000000 me@example.jp", counted.outcomes[3 + 2 * kClickCommands]);
    // Released, the object takes its popup with it; the separator below it stays.
    EXPECT_EQ("0x00000000 host: 1 A|-|2 B|3 C|4 D|5 E, data references 1",
              counted.outcomes.back());
    const std::string released = "0x00000000 host: " + kBareHost + ", data references 1";
    const long total = counted.counts.back();
    ASSERT_GT(total, 0);
    std::string perCall;
    for (size_t i = 0; i < counted.counts.size(); ++i) {
        perCall += " " + std::to_string(counted.counts[i] - (i ? counted.counts[i - 1] : 0));
    }
    std::printf("allocations per call:%s (%ld in all)\n", perCall.c_str(), total);

    // Failing each in turn: the calls before the failing one go as before; that one goes as
    // before too or gives up with E_OUTOFMEMORY and changes nothing; a failed call that
    // Explorer needs for the next ends the click; the others after it go as before. The host
    // menu is whole, and every lock and reference is given back.
    for (long n = 1; n <= total; ++n) {
        const Click failed = rightClick(n);
        ASSERT_TRUE(failed.reached) << "allocation " << n << ": " << failed.outcomes.back();
        size_t step = 0;
        while (counted.counts[step] < n) ++step;
        bool gaveUp = false;
        for (size_t i = 0; i + 1 < failed.outcomes.size(); ++i) {
            const std::string& outcome = failed.outcomes[i];
            if (i == step && outcome != counted.outcomes[i]) {
                EXPECT_EQ(GivenUp(i), outcome) << "allocation " << n << " failed in call " << i;
                gaveUp = true;
            } else {
                EXPECT_EQ(counted.outcomes[i], outcome) << "allocation " << n << ", call " << i;
            }
        }
        size_t expectedCalls = counted.outcomes.size();
        if (gaveUp && step <= 3) expectedCalls = step + 2;  // then only the release
        EXPECT_EQ(expectedCalls, failed.outcomes.size()) << "allocation " << n;
        bool menuWasShown = !gaveUp || step > 3;
        EXPECT_EQ(menuWasShown ? counted.outcomes.back() : released, failed.outcomes.back())
            << "allocation " << n;
        if (testing::Test::HasFailure()) break;  // one failing allocation tells enough
    }
}

}  // namespace
}  // namespace shellext_test
