// Searching the history, the recent search texts, and the About box's Windows description.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/find.h"
#include "history/windows_version.h"
#include "tests/support/iconv_code_page.h"

namespace zurimo {
namespace {

TEST(FindTest, SearchesFromTheSelectionWithoutWrappingAndOnCharactersOnly) {
    PortableCaseFolding folding;
    IconvCodePage codePage;
    const std::vector<HistoryEntry> entries = {"alpha", "one\r\nBETA line", "beta", "gamma \x82\x60"};
    auto find = [&](int selected, const std::string& text, bool down, bool matchCase) {
        return FindInHistory(entries, selected, text, down, matchCase, folding, codePage);
    };
    EXPECT_EQ(1, find(0, "beta", true, false).index) << "the second line, any case";
    EXPECT_EQ(2, find(0, "beta", true, true).index) << "with case, the exact bytes";
    EXPECT_EQ(FindOutcome::kNotFound, find(2, "beta", true, true).outcome)
        << "the selected entry itself is never looked at, and the search does not wrap";
    EXPECT_EQ(FindOutcome::kNotFound, find(0, "alpha", false, false).outcome) << "up from the top";
    EXPECT_EQ(FindOutcome::kNotFound, find(3, "x", true, false).outcome) << "down from the bottom";
    EXPECT_EQ(FindOutcome::kNothing, find(-1, "alpha", false, false).outcome);
    EXPECT_EQ(0, find(-1, "alpha", true, false).index) << "down with none selected: from entry 0";
    EXPECT_EQ(0, find(3, "ALPHA", false, false).index);
    EXPECT_EQ(3, find(0, "\x82\x81", true, false).index) << "a full-width small a finds Ａ";
    EXPECT_EQ(FindOutcome::kNotFound, find(0, "\x82\x81", true, true).outcome);
    EXPECT_EQ(FindOutcome::kNotFound,
              FindInHistory(std::vector<HistoryEntry>{}, -1, "x", true, false, folding, codePage).outcome)
        << "an empty history";

    // Folding eight bytes at a time agrees with one at a time, and steps over ＡＢ's bytes.
    std::string ascii, lower;
    for (int c = 0x20; c < 0x7F; ++c) {
        ascii += static_cast<char>(c);
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    std::string mixed = ascii + "\x82\x60\x82\x61" + ascii + "\x8aZ";  // 0x8A 'Z' is one character
    folding.Lower(mixed.data(), mixed.size());
    EXPECT_EQ(lower + "\x82\x81\x82\x82" + lower + "\x8aZ", mixed);

    // 表 is 0x95 0x5C: its second byte must not match a backslash.
    EXPECT_EQ(std::string::npos, FindOnCharacter("\x95\x5c", "\\"));
    EXPECT_EQ(2u, FindOnCharacter("\x95\x5c\\", "\\"));
    EXPECT_EQ(std::string::npos, FindOnCharacter("\x81\x81\x81\x81x", "\x81x"))
        << "0x81 x would start on a second byte";
    EXPECT_EQ(1u, FindOnCharacter("A\x81\x81\x81\x81", "\x81\x81"));
}

TEST(FindTest, TextOutsideTheCodePageIsFoundInTheEntriesThatKeepTheirOriginal) {
    PortableCaseFolding folding;
    IconvCodePage codePage;
    const std::u16string cafe = u"café ☕", korean = u"한국";
    const std::vector<HistoryEntry> entries = {"plain cafe", EntryFromWide(cafe, codePage),
                                               EntryFromWide(korean, codePage), "\x82\x60 CAFE"};
    ASSERT_TRUE(entries[1].HasWide() && entries[2].HasWide());
    auto find = [&](int selected, const std::u16string& typed, bool matchCase) {
        return FindInHistory(entries, selected, EntryFromWide(typed, codePage), true, matchCase,
                             folding, codePage);
    };
    const std::u16string typedCafe = u"CAFé", typedKorean = u"한";
    EXPECT_EQ(1, find(-1, typedCafe, false).index) << "ASCII letters in any case";
    EXPECT_EQ(FindOutcome::kNotFound, find(-1, typedCafe, true).outcome);
    EXPECT_EQ(2, find(-1, typedKorean, false).index)
        << "its ANSI form (?) is not looked for in the ANSI texts";
    // A text that fits is looked for in the originals too, as UTF-16.
    EXPECT_EQ(0, find(-1, u"cafe", false).index);
    EXPECT_EQ(3, find(0, u"cafe", false).index) << "an accented e is no e; the full-width line has CAFE";
    EXPECT_EQ(FindOutcome::kNotFound, find(-1, u"?", false).outcome)
        << "the ? that stands for what the code page lacks is no character of the original";
}

TEST(FindTest, RecentTextsKeepTheFiveNewestAndMoveARepeatToTheTop) {
    PortableCaseFolding folding;
    std::vector<HistoryEntry> recent;
    for (const char* text : {"one", "two", "three", "four", "five", "six"}) {
        recent = UpdateRecentTexts(recent, text, folding);
    }
    EXPECT_EQ((std::vector<HistoryEntry>{"six", "five", "four", "three", "two"}), recent);
    recent = UpdateRecentTexts(recent, "FOUR", folding);
    EXPECT_EQ((std::vector<HistoryEntry>{"FOUR", "six", "five", "three", "two"}), recent)
        << "moved, in its new case, and the list does not grow";
    EXPECT_EQ(recent, UpdateRecentTexts(recent, "four", folding)) << "already at the top";
    EXPECT_EQ("FindHistory4", RecentTextValueName(4));

    // Texts that do not fit the code page are told apart by their originals.
    const std::u16string cafe = u"café", cafeUpper = u"CAFé";
    recent = UpdateRecentTexts(recent, HistoryEntry("caf?", cafe), folding);
    recent = UpdateRecentTexts(recent, "caf?", folding);  // not the same as that original
    recent = UpdateRecentTexts(recent, HistoryEntry("CAF?", cafeUpper), folding);
    EXPECT_EQ((std::vector<HistoryEntry>{HistoryEntry("CAF?", cafeUpper), "caf?", "FOUR", "six",
                                         "five"}),
              recent);
}

TEST(WindowsVersionTest, NamesAndFormsByFamilyAndVersion) {
    EXPECT_EQ("Windows 7 Version 6.1 Build 7601 Service Pack 1",
              WindowsVersionDescription({2, 6, 1, 7601, "Service Pack 1"}));
    EXPECT_EQ("Windows  Version 6.2 Build 9200 ", WindowsVersionDescription({2, 6, 2, 9200, ""}));
    EXPECT_EQ("", WindowsVersionDescription({2, 10, 0, 19045, ""}));
    EXPECT_EQ("Windows XP Version 5.1 Build 2600 Service Pack 3",
              WindowsVersionDescription({2, 5, 1, 2600, "Service Pack 3"}));
    EXPECT_EQ("Windows NT Version 4.0 Build 1381 ", WindowsVersionDescription({2, 4, 0, 1381, ""}));
    EXPECT_EQ("Windows 98 Version 4.10 Build 2222.1034 A",
              WindowsVersionDescription({1, 4, 10, (1034u << 16) | 2222u, "A"}));
    EXPECT_EQ("", WindowsVersionDescription({1, 4, 5, 0, ""}));
    EXPECT_EQ("", WindowsVersionDescription({3, 6, 1, 0, ""}));
}

}  // namespace
}  // namespace zurimo
