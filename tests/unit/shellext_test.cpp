// The Explorer extension's core: the selection and its three facts, the menu, the path,
// name, properties and URL texts, the registry reads and the server's registration.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/reg_key.h"
#include "base/text.h"
#include "shellext/commands.h"
#include "shellext/path_format.h"
#include "shellext/properties.h"
#include "shellext/registration.h"
#include "shellext/selection.h"
#include "shellext/shell_menu.h"
#include "shellext/shell_settings.h"
#include "shellext/url_format.h"
#include "shellext/wide_text.h"
#include "tests/support/iconv_code_page.h"
#include "tests/support/memory_registry.h"
#include "tests/support/reg_change_printer.h"

namespace zurimo {
namespace {

constexpr char kApp[] = "Software\\Kestro!\\Zurimo!";

// A path in `noShort` has no short form; others get "~" in front of their name.
template <typename Text>
std::optional<Text> FakeShortPath(const Text& path, const std::vector<Text>& noShort) {
    for (const Text& p : noShort) {
        if (p == path) return std::nullopt;
    }
    std::size_t slash = FindLastChar(path, '\\');
    return path.substr(0, slash + 1) + Text(1, '~') + path.substr(slash + 1);
}

template <typename Map>
auto Found(const Map& map, const typename Map::key_type& key) {
    auto it = map.find(key);
    return it == map.end() ? std::nullopt : std::optional<typename Map::mapped_type>(it->second);
}

// Items the tests describe, by ANSI and by UTF-16 path; dates format as "D<time>" (long:
// "LD<time>") and times as "T<time>"; see FakeShortPath for the short forms.
struct FakeFacts : ShellFacts {
    std::map<std::string, ItemFacts> items;
    std::map<std::u16string, WideItemFacts> wideItems;
    std::map<std::string, std::string> files;
    std::map<std::u16string, std::string> wideFiles;
    std::vector<std::string> noShort;
    std::vector<std::u16string> wideNoShort;
    std::optional<std::string> ShortPath(const std::string& path) override {
        return FakeShortPath(path, noShort);
    }
    std::optional<std::u16string> ShortPath(const std::u16string& path) override {
        return FakeShortPath(path, wideNoShort);
    }
    std::optional<ItemFacts> Gather(const std::string& path) override { return Found(items, path); }
    std::optional<WideItemFacts> Gather(const std::u16string& path) override {
        return Found(wideItems, path);
    }
    std::optional<std::string> FormatDate(std::uint64_t t, bool longForm) override {
        if (t == 0) return std::nullopt;
        return (longForm ? "LD" : "D") + std::to_string(t);
    }
    std::optional<std::string> FormatTime(std::uint64_t t) override { return "T" + std::to_string(t); }
    std::string UpperCase(const std::string& text) override {  // stepping over trail bytes
        std::string upper = text;
        for (std::size_t i = 0; i < upper.size(); i += CharLength(upper, i)) {
            if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
        }
        return upper;
    }
    std::u16string UpperCase(const std::u16string& text) override {  // ASCII letters only
        std::u16string upper = text;
        for (char16_t& c : upper) {
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        }
        return upper;
    }
    std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit) override {
        std::optional<std::string> file = Found(files, path);
        return file && file->size() <= limit ? file : std::nullopt;
    }
    std::optional<std::string> ReadSmallFile(const std::u16string& path, std::size_t limit) override {
        std::optional<std::string> file = Found(wideFiles, path);
        return file && file->size() <= limit ? file : std::nullopt;
    }
};

Selection Select(std::vector<std::string> paths) {
    Selection selection;
    selection.Take(static_cast<unsigned>(paths.size()), paths);
    return selection;
}

std::optional<std::string> Command(int offset, const Selection& selection, FakeFacts& facts,
                               Registry& registry) {
    return CommandText(offset, selection, facts, registry);
}

TEST(ShellSelectionTest, NamesPathsUrlsAndTheListForm) {
    EXPECT_FALSE(IsLongName("C:\\a\\abcdefgh.txt"));
    EXPECT_TRUE(IsLongName("C:\\a\\abcdefghi.tx"));
    EXPECT_TRUE(IsLongName("C:\\a\\abcdefgh.text"));
    EXPECT_TRUE(IsLongName("C:\\a\\LongFileName"));
    EXPECT_FALSE(IsLongName("no backslash at all.txt"));
    EXPECT_FALSE(IsLongName("C:\\a\\ab.cd.efg")) << "only the last dot counts for a name";
    EXPECT_TRUE(HasLongFolder("C:\\ab.cd.efg\\x")) << "every dot counts for a folder";
    EXPECT_TRUE(HasLongFolder("C:\\Program Files\\x.txt"));
    EXPECT_FALSE(HasLongFolder("C:\\a\\LongFileName.txt")) << "the final name is not a folder";
    EXPECT_TRUE(IsUrlPath("C:\\a\\Site.URL"));
    EXPECT_FALSE(IsUrlPath("C:\\a.url\\x"));

    Selection one = Select({"C:\\a\\b.txt"});
    EXPECT_EQ("C:\\a\\b.txt", one.list());
    EXPECT_FALSE(one.hasLongPath || one.hasLongName || one.hasUrlItem);
    Selection three;
    three.Take(4, {"C:\\Program Files\\x.txt", "C:\\y", "C:\\z.Url"});  // one not fetched
    EXPECT_EQ("C:\\Program Files\\x.txt\r\nC:\\y\r\nC:\\z.Url\r\n", three.list());
    EXPECT_EQ(3u, three.Entries().size());
    EXPECT_TRUE(three.hasLongPath);
    EXPECT_FALSE(three.hasLongName);
    EXPECT_TRUE(three.hasUrlItem);
    three.Take(1, {"C:\\a\\b.txt"});
    EXPECT_TRUE(three.hasLongPath && three.hasUrlItem) << "the facts stay for the object's life";
    EXPECT_EQ(1u, three.Entries().size());
}

TEST(ShellPathTest, UnixStylesAndNames) {
    const std::string path = "C:\\Work\\a b;c\\\x95\x5c.txt";  // 表 ends in 0x5C
    EXPECT_EQ("C:/Work/a b:c/\x95\x5c.txt", ToUnixPath(path, UnixStyle::kStandard));
    EXPECT_EQ("/C/Work/a b:c/\x95\x5c.txt", ToUnixPath(path, UnixStyle::kMinGW));
    EXPECT_EQ("/cygdrive/C/Work/a b:c/\x95\x5c.txt", ToUnixPath(path, UnixStyle::kCygwin));
    EXPECT_EQ("/dev/fs/C/Work/a b:c/\x95\x5c.txt", ToUnixPath(path, UnixStyle::kSfu));
    EXPECT_EQ("D:/a/b", ToUnixPath("D:\\a\\b", UnixStyle::kStandard));
    EXPECT_EQ("//server/share/x", ToUnixPath("\\\\server\\share\\x", UnixStyle::kStandard));
    EXPECT_EQ("//server/share/x", ToUnixPath("\\\\server\\share\\x", UnixStyle::kMinGW));
    EXPECT_EQ("/cygdrive//server/share/x", ToUnixPath("\\\\server\\share\\x", UnixStyle::kCygwin));
    EXPECT_EQ(UnixStyle::kCygwin, UnixStyleFrom("CYGWIN"));
    EXPECT_EQ(UnixStyle::kStandard, UnixStyleFrom("posix"));
    EXPECT_EQ("Sub", FileNamePart("C:\\Work\\Sub"));
    EXPECT_EQ("", FileNamePart("C:\\Work\\"));
    EXPECT_EQ(std::nullopt, FileNamePart("Work"));
    EXPECT_EQ("x\x95\x5c", FileNamePart("C:\\x\x95\x5c")) << "a trail byte is no backslash";
}

TEST(ShellCommandsTest, PathAndNameCommandsOverOneAndSeveralItems) {
    MemoryRegistry registry;
    FakeFacts facts;
    registry.PutString(std::string(kApp) + "\\ShellExt", "DriveType", "mingw");
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\file.txt";  // past 259 bytes
    Selection one = Select({deep});
    EXPECT_EQ(deep, Command(kCopyLongPath, one, facts, registry)) << "a long path stays whole";
    EXPECT_EQ("/C/" + std::string(300, 'd') + "/file.txt", Command(kCopyLongPathUnix, one, facts, registry));
    EXPECT_EQ("~file.txt", Command(kCopyShortName, one, facts, registry));
    EXPECT_EQ("file.txt", Command(kCopyLongName, one, facts, registry));
    facts.noShort = {deep};
    EXPECT_EQ(std::nullopt, Command(kCopyShortPath, one, facts, registry));

    Selection three = Select({"C:\\x\\a.txt", "C:\\x\\b.txt", "C:\\x\\c.txt"});
    facts.noShort = {"C:\\x\\b.txt"};
    EXPECT_EQ("C:\\x\\a.txt\r\nC:\\x\\b.txt\r\nC:\\x\\c.txt\r\n", Command(kCopyLongPath, three, facts, registry));
    EXPECT_EQ("C:\\x\\~a.txt\r\nC:\\x\\~c.txt\r\n", Command(kCopyShortPath, three, facts, registry));
    EXPECT_EQ("/C/x/~a.txt\r\n/C/x/~c.txt\r\n", Command(kCopyShortPathUnix, three, facts, registry));
    EXPECT_EQ("a.txt\r\nb.txt\r\nc.txt\r\n", Command(kCopyLongName, three, facts, registry));
    facts.noShort = {"C:\\x\\a.txt", "C:\\x\\b.txt", "C:\\x\\c.txt"};
    EXPECT_EQ("", Command(kCopyShortName, three, facts, registry)) << "several items: put even empty";

    Selection none = Select({});
    EXPECT_EQ("", Command(kCopyLongPath, none, facts, registry));
    EXPECT_EQ(std::nullopt, Command(kCopyLongName, none, facts, registry));
}

TEST(ShellCommandsTest, PropertiesLayouts) {
    MemoryRegistry registry;
    FakeFacts facts;
    ItemFacts dll;
    dll.attributes = kAttributeReadOnly | kAttributeHidden | kAttributeArchive;
    dll.created = 1;
    dll.written = 2;
    dll.accessed = 3;
    dll.sizeLow = 3000000000u;
    dll.alternateName = "";
    dll.displayName = "lib.dll";
    dll.typeName = "アプリケーション拡張";
    dll.shellAttributes = 0x40000000;
    dll.version = "1, 33, 0, 1";
    dll.copyright = "(C) K";
    facts.items["C:\\Work\\lib.dll"] = dll;
    ItemFacts folder;
    folder.attributes = kAttributeDirectory;
    folder.written = 0;  // cannot be formatted
    folder.alternateName = "LONGFO~1";
    folder.displayName = "Long folder";
    folder.typeName = "ファイル フォルダ";
    folder.shellAttributes = kShellFolder;
    facts.items["C:\\Long folder"] = folder;

    const std::string line = " --------------------------------------------------------------------\r\n";
    std::optional<std::string> text = Command(kCopyPropertiesDetailed, Select({"C:\\Work\\lib.dll"}), facts, registry);
    EXPECT_EQ("● lib.dll\r\n" + line +
                  "    種類             : アプリケーション拡張\r\n"
                  "    場所             : C:\\Work\r\n"
                  "    サイズ           : 3,000,000,000 bytes\r\n" + line +
                  "    MS-DOSファイル名 : LIB.DLL\r\n"
                  "    作成日時         : LD1 T1\r\n"
                  "    更新日時         : LD2 T2\r\n"
                  "    アクセス日時     : LD3 T3\r\n" + line +
                  "    属性             : RHA\r\n" + line +
                  "    バージョン       : 1, 33, 0, 1\r\n"
                  "    著作権           : (C) K\r\n" + line,
              text);
    text = Command(kCopyPropertiesDetailed, Select({"C:\\Long folder"}), facts, registry);
    EXPECT_EQ("● Long folder\r\n" + line +
                  "    種類             : ファイル フォルダ\r\n"
                  "    場所             : C:\r\n" + line +
                  "    MS-DOSファイル名 : LONGFO~1\r\n"
                  "    更新日時         : Unknown\r\n" + line +
                  "    属性             : \r\n" + line,
              text);

    text = Command(kCopyPropertiesSimple, Select({"C:\\Work\\lib.dll", "C:\\gone", "C:\\Long folder"}),
               facts, registry);
    EXPECT_EQ(std::string(kSimpleHeader) +
                  "LIB.DLL      " " 3,000,000,000  D2        T2    RHA  lib.dll (アプリケーション拡張)\r\n"
                  "LONGFO~1                    Unknown         Long folder (ファイル フォルダ)\r\n",
              text);
    EXPECT_EQ(std::nullopt, Command(kCopyPropertiesSimple, Select({"C:\\gone"}), facts, registry));
    EXPECT_EQ("1,234", GroupedNumber(1234));
    EXPECT_EQ("999", GroupedNumber(999));
    ItemFacts huge = dll;
    huge.sizeHigh = 1;
    facts.items["C:\\huge"] = huge;
    EXPECT_NE(std::string::npos, Command(kCopyPropertiesDetailed, Select({"C:\\huge"}), facts, registry)
                                     ->find("サイズ           : Unknown bytes"));
}

TEST(ShellCommandsTest, UrlFormsAndUserStrings) {
    MemoryRegistry registry;
    FakeFacts facts;
    facts.files["C:\\a\\Example.url"] = "[InternetShortcut]\r\nURL=http://example.jp/\r\n";
    facts.files["C:\\a\\My Site.url"] = "[other]\nURL=wrong\n[internetshortcut]\n url = \"http://my.site/\" \n";
    facts.files["C:\\a\\Taro.url"] = "[InternetShortcut]\nURL=mailto:taro@example.jp\n";
    facts.files["C:\\a\\\x95\x5c.url"] = "[InternetShortcut]\nURL=http://jp/\n";
    facts.files["C:\\a\\bad.url"] = "URL=http://no.section/\n";
    facts.files["C:\\a\\failed.url"] = "[InternetShortcut]\nURL=Failed!\n";

    Selection example = Select({"C:\\a\\Example.url"});
    EXPECT_EQ("http://example.jp/", Command(kCopyUrl, example, facts, registry));
    EXPECT_EQ("Example <http://example.jp/>", Command(kCopyUrlWithName, example, facts, registry));
    EXPECT_EQ("<a href=\"http://example.jp/\">Example</a>", Command(kCopyUrlAnchor, example, facts, registry));
    EXPECT_EQ("\"My Site\" <http://my.site/>",
              Command(kCopyUrlWithName, Select({"C:\\a\\My Site.url"}), facts, registry));
    EXPECT_EQ("Taro <taro@example.jp>", Command(kCopyUrlWithName, Select({"C:\\a\\Taro.url"}), facts, registry));
    EXPECT_EQ("<a href=\"mailto:taro@example.jp\">Taro</a>",
              Command(kCopyUrlAnchor, Select({"C:\\a\\Taro.url"}), facts, registry));
    EXPECT_EQ("\"\x95\x5c\" <http://jp/>", Command(kCopyUrlWithName, Select({"C:\\a\\\x95\x5c.url"}), facts, registry));
    EXPECT_EQ(std::nullopt, Command(kCopyUrl, Select({"C:\\a\\bad.url"}), facts, registry));
    EXPECT_EQ(std::nullopt, Command(kCopyUrl, Select({"C:\\a\\failed.url"}), facts, registry));
    EXPECT_EQ("a.url", ShortcutName("C:\\x\\a.url.url"));
    EXPECT_EQ("http://example.jp/\r\nhttp://my.site/\r\n",
              Command(kCopyUrl, Select({"C:\\a", "C:\\a\\Example.url", "C:\\a\\t.txt", "C:\\a\\bad.url",
                                    "C:\\a\\My Site.url"}), facts, registry));
    std::string longAddress(2000, 'x');
    EXPECT_EQ(1023u, FormatUrl(UrlForm::kAnchor, "n", longAddress).size());

    const std::string user = std::string(kApp) + "\\User";
    registry.PutString(user + "0", "Content", "abc");
    registry.PutRaw(user + "1", "Content", kRegMultiSz, std::string("first\0second\0\0", 14));
    registry.PutString(user + "2", "Content", std::string(1024, 'c'));
    registry.PutDword(user + "3", "Content", 5);
    EXPECT_EQ("abc", Command(kUserStringOffset, example, facts, registry));
    EXPECT_EQ("first", Command(kUserStringOffset + 1, example, facts, registry));
    EXPECT_EQ(std::nullopt, Command(kUserStringOffset + 2, example, facts, registry)) << "too long";
    EXPECT_EQ(std::nullopt, Command(kUserStringOffset + 3, example, facts, registry));
    EXPECT_EQ(std::nullopt, Command(kUserStringOffset + 9, example, facts, registry));
}

// CF_TEXT as today, CF_UNICODETEXT beside it for a selection the code page cannot hold.
// Inside the checks é, ☕ and 😀 are escapes: a check's own text is compiled to the code page.
TEST(ShellWideTest, PathAndNameCommandsOfASelectionThatDoesNotFit) {
    IconvCodePage cp;
    MemoryRegistry registry;
    FakeFacts facts;
    registry.PutString(std::string(kApp) + "\\ShellExt", "DriveType", "cygwin");
    const std::u16string cafe = u"C:\\zt\\café☕.txt", hyo = u"C:\\zt\\表\\ソ;1.txt",
                         plain = u"C:\\zt\\a.txt";
    // What the ANSI calls give for them: stand-ins for what the code page lacks.
    const std::vector<std::string> ansi = {cp.ToAnsi(cafe), "C:\\zt\\表\\ソ;1.txt", "C:\\zt\\a.txt"};
    ASSERT_EQ(std::string("C:\\zt\\caf"), ansi[0].substr(0, 9));

    Selection fits;
    fits.Take(2, {ansi[1], ansi[2]}, {hyo, plain}, cp);
    EXPECT_FALSE(fits.hasWide());
    EXPECT_TRUE(fits.wideList().empty() && fits.WideEntries().empty());
    auto texts = CommandTexts(kCopyLongPathUnix, fits, facts, registry, cp);
    ASSERT_TRUE(texts);
    EXPECT_EQ(CommandText(kCopyLongPathUnix, fits, facts, registry), texts->ansi);
    EXPECT_EQ(u"", texts->wide) << "a selection that fits puts CF_TEXT only";

    Selection all;
    all.Take(4, ansi, {cafe, hyo, plain}, cp);  // one item could not be fetched
    ASSERT_TRUE(all.hasWide());
    EXPECT_EQ(cafe + u"\r\n" + hyo + u"\r\n" + plain + u"\r\n", all.wideList());
    EXPECT_EQ((std::vector<std::u16string_view>{cafe, hyo, plain}), all.WideEntries());
    EXPECT_EQ(ansi[0] + "\r\n" + ansi[1] + "\r\n" + ansi[2] + "\r\n", all.list());
    EXPECT_TRUE(all.hasLongName && all.hasLongPath) << "a name outside the code page is long";
    EXPECT_FALSE(all.hasUrlItem);
    EXPECT_FALSE(fits.hasLongName || fits.hasLongPath) << "the ANSI paths decide for the rest";

    struct Case {
        int offset;
        std::u16string wide;
    };
    facts.noShort = {ansi[0]};  // the stand-ins reach no file
    facts.wideNoShort = {hyo};
    const Case cases[] = {
        {kCopyLongPath, all.wideList()},
        {kCopyLongPathUnix, u"/cygdrive/C/zt/café☕.txt\r\n/cygdrive/C/zt/表/ソ:1.txt\r\n"
                            u"/cygdrive/C/zt/a.txt\r\n"},
        {kCopyShortPath, u"C:\\zt\\~café☕.txt\r\nC:\\zt\\~a.txt\r\n"},
        {kCopyShortPathUnix, u"/cygdrive/C/zt/~café☕.txt\r\n/cygdrive/C/zt/~a.txt\r\n"},
        {kCopyLongName, u"café☕.txt\r\nソ;1.txt\r\na.txt\r\n"},
        {kCopyShortName, u"~café☕.txt\r\n~a.txt\r\n"},
    };
    for (const Case& c : cases) {
        texts = CommandTexts(c.offset, all, facts, registry, cp);
        ASSERT_TRUE(texts) << c.offset;
        EXPECT_EQ(c.wide, texts->wide) << c.offset;
        EXPECT_EQ(CommandText(c.offset, all, facts, registry), texts->ansi) << c.offset;
    }
    EXPECT_EQ("C:\\zt\\表\\~ソ;1.txt\r\nC:\\zt\\~a.txt\r\n",
              CommandText(kCopyShortPath, all, facts, registry))
        << "each list has the items its own paths reach";

    // One item: the ANSI text as it was; when only the UTF-16 one can be had, CF_TEXT is its
    // ANSI form; when neither, the command fails.
    Selection one;
    one.Take(1, {ansi[0]}, {cafe}, cp);
    texts = CommandTexts(kCopyLongName, one, facts, registry, cp);
    ASSERT_TRUE(texts);
    EXPECT_EQ(*FileNamePart(ansi[0]), texts->ansi);
    EXPECT_EQ(u"caf\u00e9\u2615.txt", texts->wide);
    texts = CommandTexts(kCopyShortName, one, facts, registry, cp);
    ASSERT_TRUE(texts);
    EXPECT_EQ(u"~caf\u00e9\u2615.txt", texts->wide);
    EXPECT_EQ(cp.ToAnsi(u"~caf\u00e9\u2615.txt"), texts->ansi);
    facts.wideNoShort = {cafe};
    EXPECT_EQ(std::nullopt, CommandTexts(kCopyShortPath, one, facts, registry, cp));
    registry.PutString(std::string(kApp) + "\\User0", "Content", "abc");
    texts = CommandTexts(kUserStringOffset, one, facts, registry, cp);
    ASSERT_TRUE(texts);
    EXPECT_EQ("abc", texts->ansi);
    EXPECT_EQ(u"", texts->wide) << "user strings are the code page's own";
    one.Take(1, {"C:\\a.txt"}, {u"C:\\a.txt"}, cp);
    EXPECT_FALSE(one.hasWide()) << "a later selection that fits drops the UTF-16 paths";
    EXPECT_EQ(std::nullopt, WideCommandText(kCopyLongPath, one, facts, registry, cp));

    // UTF-16 needs no stepping, but a pair stays whole as the drive part.
    EXPECT_EQ(u"//srv/share/\u00e9:x", ToUnixPath(u"\\\\srv\\share\\\u00e9;x", UnixStyle::kMinGW));
    EXPECT_EQ(u"/dev/fs/\U0001F600/x", ToUnixPath(u"\U0001F600:\\x", UnixStyle::kSfu));
    EXPECT_EQ(std::nullopt, FileNamePart(u"caf\u00e9"));
    EXPECT_TRUE(IsUrlPath(u"C:\\a\\\u00dc.URL"));
}

TEST(ShellWideTest, PropertiesAlignAsTheAnsiTextAndUrlsKeepTheirNames) {
    IconvCodePage cp;
    MemoryRegistry registry;
    FakeFacts facts;
    const std::u16string cafe = u"C:\\zt\\café☕.txt", hyo = u"C:\\zt\\表ソ.txt";
    WideItemFacts item;
    item.attributes = kAttributeArchive;
    item.created = 1;
    item.written = 2;
    item.accessed = 3;
    item.sizeLow = 1234;
    item.displayName = u"café☕.txt";
    item.typeName = u"テキスト文書";
    item.shellAttributes = 0x40000000;
    item.version = "1.0";
    facts.wideItems[cafe] = item;
    // 表ソ.txt fits: the same facts both ways.
    item.displayName = u"表ソ.txt";
    item.version.reset();
    facts.wideItems[hyo] = item;
    ItemFacts hyoAnsi;
    hyoAnsi.attributes = kAttributeArchive;
    hyoAnsi.written = 2;
    hyoAnsi.sizeLow = 1234;
    hyoAnsi.displayName = "表ソ.txt";
    hyoAnsi.typeName = "テキスト文書";
    hyoAnsi.shellAttributes = 0x40000000;
    facts.items["C:\\zt\\表ソ.txt"] = hyoAnsi;

    // The name column counts bytes of the code page: café☕.txt takes 9, 表ソ.txt 8.
    const std::u16string cafeLine =
        u"CAFé☕.TXT            1,234  D2        T2      A  café☕.txt (テキスト文書)\r\n";
    const std::string hyoLine = *SimpleLine("C:\\zt\\表ソ.txt", facts);
    EXPECT_EQ(cafeLine, SimpleLine(cafe, facts, cp));
    EXPECT_EQ(cp.ToWide(hyoLine), SimpleLine(hyo, facts, cp)) << "a fitting item, as in ANSI";
    EXPECT_EQ(hyoLine.find("1,234"), cp.ToAnsi(cafeLine).find("1,234")) << "columns line up";

    Selection both;
    both.Take(2, {cp.ToAnsi(cafe), "C:\\zt\\表ソ.txt"}, {cafe, hyo}, cp);
    auto texts = CommandTexts(kCopyPropertiesSimple, both, facts, registry, cp);
    ASSERT_TRUE(texts);
    EXPECT_EQ(kSimpleHeader + hyoLine, texts->ansi) << "the stand-in path reaches nothing";
    EXPECT_EQ(cp.ToWide(kSimpleHeader) + cafeLine + cp.ToWide(hyoLine), texts->wide);

    Selection one;
    one.Take(1, {cp.ToAnsi(cafe)}, {cafe}, cp);
    texts = CommandTexts(kCopyPropertiesDetailed, one, facts, registry, cp);
    ASSERT_TRUE(texts);
    const std::u16string rule = cp.ToWide(
        " --------------------------------------------------------------------\r\n");
    EXPECT_EQ(u"● caf\u00e9\u2615.txt\r\n" + rule +
                  u"    種類             : テキスト文書\r\n"
                  u"    場所             : C:\\zt\r\n"
                  u"    サイズ           : 1,234 bytes\r\n" + rule +
                  u"    MS-DOSファイル名 : CAF\u00e9\u2615.TXT\r\n"
                  u"    作成日時         : LD1 T1\r\n"
                  u"    更新日時         : LD2 T2\r\n"
                  u"    アクセス日時     : LD3 T3\r\n" + rule +
                  u"    属性             : A\r\n" + rule +
                  u"    バージョン       : 1.0\r\n" + rule,
              texts->wide);
    EXPECT_EQ(cp.ToAnsi(texts->wide), texts->ansi) << "only the UTF-16 text could be had";

    // The location is cut at 255 units, never inside a surrogate pair.
    const std::u16string deepFolder = u"C:\\" + std::u16string(251, u'd');
    facts.wideItems[deepFolder + u"😀\\x.txt"] = facts.wideItems[cafe];
    std::optional<std::u16string> deep = DetailedText(deepFolder + u"😀\\x.txt", facts, cp);
    ASSERT_TRUE(deep);
    EXPECT_NE(std::u16string::npos, deep->find(u"場所             : " + deepFolder + u"\r\n"));

    // Shortcuts: the name as the file system has it, the address read in the code page.
    const std::u16string link = u"C:\\zt\\café☕.url";
    facts.wideFiles[link] = "[InternetShortcut]\r\nURL=http://example.jp/表\r\n";
    facts.files["C:\\zt\\Taro.url"] = "[InternetShortcut]\r\nURL=mailto:taro@example.jp\r\n";
    facts.wideFiles[u"C:\\zt\\Taro.url"] = facts.files["C:\\zt\\Taro.url"];
    one.Take(1, {cp.ToAnsi(link)}, {link}, cp);
    texts = CommandTexts(kCopyUrlWithName, one, facts, registry, cp);
    ASSERT_TRUE(texts);
    EXPECT_EQ(u"\"caf\u00e9\u2615\" <http://example.jp/表>", texts->wide);
    EXPECT_EQ(cp.ToAnsi(texts->wide), texts->ansi);
    EXPECT_EQ(u"<a href=\"http://example.jp/表\">caf\u00e9\u2615</a>",
              WideCommandText(kCopyUrlAnchor, one, facts, registry, cp));
    Selection links;
    links.Take(3, {cp.ToAnsi(link), "C:\\zt\\a.txt", "C:\\zt\\Taro.url"},
               {link, u"C:\\zt\\a.txt", u"C:\\zt\\Taro.url"}, cp);
    texts = CommandTexts(kCopyUrlWithName, links, facts, registry, cp);
    ASSERT_TRUE(texts);
    EXPECT_EQ("Taro <taro@example.jp>\r\n", texts->ansi);
    EXPECT_EQ(u"\"caf\u00e9\u2615\" <http://example.jp/表>\r\nTaro <taro@example.jp>\r\n", texts->wide);
    std::u16string formed = FormatUrl(UrlForm::kAnchor, u"n", std::u16string(1013, u'x') + u"😀");
    EXPECT_EQ(u"<a href=\"" + std::u16string(1013, u'x'), formed) << "cut before the pair";
}

std::vector<std::string> Describe(const std::vector<ShellMenuEntry>& entries) {
    std::vector<std::string> lines;
    for (const ShellMenuEntry& e : entries) {
        if (e.kind == ShellMenuEntry::Kind::kSeparator) {
            lines.push_back("-");
        } else if (e.kind == ShellMenuEntry::Kind::kSubmenu) {
            std::string line = ">" + std::to_string(e.captionId) + "[";
            for (const std::string& child : Describe(e.children)) line += child + " ";
            lines.push_back(line + "]");
        } else {
            lines.push_back(std::to_string(e.offset) + ":" +
                            (e.captionId ? std::to_string(e.captionId) : e.caption));
        }
    }
    return lines;
}

TEST(ShellMenuTest, LayoutsUserStringsAndTheIdentifierRange) {
    Selection plain = Select({"C:\\a\\b.txt"});
    ShellMenuPlan plan = PlanShellMenu(plain, false, {}, 100);
    EXPECT_EQ((std::vector<std::string>{"0:112", "1:113", "4:114", "6:108", "7:109"}), Describe(plan.entries));
    EXPECT_EQ(11, plan.idsUsed);

    Selection all = Select({"C:\\Program Files\\LongFileName.txt", "C:\\x.url"});
    plan = PlanShellMenu(all, false, {std::string("Mail"), std::nullopt, std::string("Sign")}, 100);
    EXPECT_EQ((std::vector<std::string>{"0:102", "1:103", "2:104", "3:105", "4:106", "5:107", "6:108",
                                        "7:109", "8:117", "9:110", "10:111", "-", "11:Mail", "13:Sign"}),
              Describe(plan.entries));
    EXPECT_EQ(14, plan.idsUsed);
    plan = PlanShellMenu(all, true, {std::nullopt, std::string("Sign")}, 100);
    EXPECT_EQ((std::vector<std::string>{">112[0:102 1:103 2:104 3:105 ]", ">114[4:106 5:107 ]",
                                        ">115[6:118 7:119 ]", ">117[8:120 9:121 10:122 ]", "12:Sign"}),
              Describe(plan.entries))
        << "no separator when User0's caption does not read";

    plan = PlanShellMenu(plain, true, {std::string("A"), std::string("B")}, 12);
    EXPECT_EQ(12, plan.idsUsed) << "only the user string that fits";
    EXPECT_EQ("11:A", Describe(plan.entries).back());
    EXPECT_TRUE(PlanShellMenu(plain, false, {}, 10).entries.empty()) << "not even the commands fit";
    EXPECT_EQ(125, HelpTextId(kCopyShortPath));
    EXPECT_EQ(131, HelpTextId(kCopyPropertiesSimple));
    EXPECT_EQ(135, HelpTextId(kCopyUrlAnchor));
    EXPECT_EQ(0, HelpTextId(11));
}

TEST(ShellSettingsTest, FourDwordsAndTheUserCaptions) {
    MemoryRegistry registry;
    const std::string settings = std::string(kApp) + "\\Settings";
    EXPECT_EQ(std::nullopt, ReadShellSettings(registry));
    registry.PutDword(settings, "ShellLimit", 32);
    registry.PutDword(settings, "ShellSep", 1);
    registry.PutDword(settings, "ShellHierarchy", 0);
    registry.PutRaw(settings, "ShellUserMenu", kRegDword, std::string("\x01\x00", 2));
    EXPECT_EQ(std::nullopt, ReadShellSettings(registry)) << "a two-byte value";
    registry.PutDword(settings, "ShellUserMenu", 7);
    std::optional<ShellSettings> read = ReadShellSettings(registry);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->separator && read->userMenu && !read->hierarchy);
    registry.PutDword(settings, "ShellLimit", 0);
    EXPECT_EQ(std::nullopt, ReadShellSettings(registry));

    registry.PutString(std::string(kApp) + "\\User0", "Caption", "Mail");
    registry.PutString(std::string(kApp) + "\\User1", "Caption", std::string(260, 'c'));
    registry.PutString(std::string(kApp) + "\\User2", "Caption", "Sign");
    registry.PutString(std::string(kApp) + "\\User4", "Caption", "after the gap");
    std::vector<std::optional<std::string>> captions = ReadUserCaptions(registry);
    ASSERT_EQ(3u, captions.size());
    EXPECT_EQ("Mail", captions[0]);
    EXPECT_EQ(std::nullopt, captions[1]) << "260 bytes and its zero do not fit";
    EXPECT_EQ(UnixStyle::kStandard, ReadUnixStyle(registry));
    registry.PutString(std::string(kApp) + "\\ShellExt", "DriveType", "Cygwin");
    EXPECT_EQ(UnixStyle::kCygwin, ReadUnixStyle(registry));
    EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST(ShellRegistrationTest, KeysInOrderRemovedWhereTheyAreAndTheUsersClassesWhenDenied) {
    const std::string clsid = "CLSID\\{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";
    RegChanges changes = ServerRegistration("C:\\Z\\ZurimoEx.dll");
    ASSERT_EQ(22u, changes.size());
    EXPECT_EQ(CreateKeyChange(kHkeyClassesRoot, clsid), changes[0]);
    EXPECT_EQ(SetStringChange(kHkeyClassesRoot, clsid + "\\InprocServer32", "", "C:\\Z\\ZurimoEx.dll"),
              changes[3]);
    EXPECT_EQ(SetStringChange(kHkeyClassesRoot, "ZurimoShellExt.ZurimoShellExt\\CurVer", "",
                              "ZurimoShellExt.ZurimoShellExt.1"),
              changes[13]);
    EXPECT_EQ(SetStringChange(kHkeyClassesRoot, clsid + "\\InprocServer32", "ThreadingModel", "Apartment"),
              changes[18]);
    EXPECT_EQ(CreateKeyChange(kHkeyClassesRoot,
                              "InternetShortcut\\shellex\\ContextMenuHandlers\\{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}"),
              changes[21]);

    MemoryRegistry registry;
    ASSERT_EQ(kErrorSuccess, RegisterServer(registry, "C:\\Z\\ZurimoEx.dll"));
    CRegKey handler(registry);
    EXPECT_EQ(kErrorSuccess, handler.Open(kHkeyClassesRoot, "Directory\\shellex\\ContextMenuHandlers\\"
                                                            "{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}"));
    handler.Close();
    // One key already gone: the keys before it are removed, the call stops there and
    // reports it, and the keys after it stay.
    ApplyRegChanges(registry, {DeleteTreeChange(kHkeyClassesRoot, "ZurimoShellExt.ZurimoShellExt")});
    EXPECT_FALSE(UnregisterServer(registry));
    EXPECT_NE(kErrorSuccess, handler.Open(kHkeyClassesRoot, clsid));
    EXPECT_EQ(kErrorSuccess, handler.Open(kHkeyClassesRoot, "ZurimoShellExt.ZurimoShellExt.1"));
    handler.Close();
    EXPECT_EQ(kErrorSuccess, handler.Open(kHkeyClassesRoot, "*\\shellex\\ContextMenuHandlers\\"
                                                            "{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}"));
    handler.Close();
    EXPECT_FALSE(UnregisterServer(registry)) << "the first key is gone now";

    // A machine that refuses HKEY_CLASSES_ROOT: the user's classes take the keys.
    MemoryRegistry denied;
    int writes = 0;
    denied.failSetValue = [&](const std::string&) { return writes++ == 0 ? kErrorAccessDenied : 0; };
    ASSERT_EQ(kErrorSuccess, RegisterServer(denied, "C:\\Z\\ZurimoEx.dll"));
    EXPECT_TRUE(denied.HasValue("Software\\Classes\\" + clsid + "\\InprocServer32", "ThreadingModel"));
    EXPECT_TRUE(UnregisterServer(denied));
    EXPECT_FALSE(denied.HasKey("Software\\Classes\\" + clsid));
}

}  // namespace
}  // namespace zurimo
