// The history store and the list that mirrors it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_list.h"

namespace zurimo {
namespace {

std::vector<std::string> Entries(const HistoryList& list) {
    std::vector<std::string> texts;
    for (const HistoryEntry& entry : list.entries()) texts.push_back(entry.text);
    return texts;
}

// A list box stand-in: the lines it was given, in order. It can be told to run out of
// memory after a number of further insertions.
class FakeView : public HistoryView {
public:
    int LineCount() const override { return static_cast<int>(lines.size()); }
    void InsertLine(int index, std::string_view line) override {
        Insert(index, std::string(line), std::u16string());
    }
    void InsertWideLine(int index, std::u16string_view line) override {
        Insert(index, std::string(), std::u16string(line));
    }
    void RemoveLine(int index) override {
        lines.erase(lines.begin() + index);
        wideLines.erase(wideLines.begin() + index);
    }

    std::vector<std::string> lines;
    std::vector<std::u16string> wideLines;  // at the same index; empty for an ANSI line
    int insertsLeft = -1;  // negative: never fails

private:
    void Insert(int index, std::string line, std::u16string wide) {
        if (insertsLeft == 0) throw std::bad_alloc();
        if (insertsLeft > 0) --insertsLeft;
        lines.insert(lines.begin() + index, std::move(line));
        wideLines.insert(wideLines.begin() + index, std::move(wide));
    }
};

std::vector<HistoryEntry> Numbered(const std::string& prefix, int from, int to) {
    std::vector<HistoryEntry> texts;
    for (int i = from; i < to; ++i) texts.push_back(prefix + std::to_string(i));
    return texts;
}

class HistoryListTest : public ::testing::Test {
protected:
    // Index i of the view must always show entry i of the store.
    void ExpectInStep() {
        ASSERT_EQ(view.LineCount(), list.Count());
        for (int i = 0; i < list.Count(); ++i) {
            const HistoryEntry& entry = list.At(i);
            EXPECT_EQ(view.lines[i], entry.HasWide() ? "" : DisplayLine(entry.text)) << i;
            EXPECT_EQ(view.wideLines[i], WideDisplayLineView(entry.wide)) << "index " << i;
        }
    }
    void Fill(const std::vector<HistoryEntry>& oldestFirst, int capacity) {
        for (const HistoryEntry& entry : oldestFirst) list.Add(entry, capacity);
    }

    FakeView view;
    HistoryList list{&view};
};

TEST_F(HistoryListTest, AddPutsTheNewestFirst) {
    Fill({"one", "two\r\nsecond line", "three"}, 10);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"three", "two\r\nsecond line", "one"}));
    EXPECT_EQ(view.lines, (std::vector<std::string>{"three", "two", "one"}));
}

TEST_F(HistoryListTest, AFullListDropsItsOldestEntry) {
    Fill(Numbered("text ", 0, 10), 10);
    ASSERT_EQ(list.Count(), 10);
    list.Add("eleventh", 10);
    EXPECT_EQ(list.Count(), 10);
    EXPECT_EQ(list.At(0), "eleventh");
    EXPECT_EQ(list.At(1), "text 9");
    EXPECT_EQ(list.At(9), "text 1") << "text 0 was the oldest";
    ExpectInStep();
}

TEST_F(HistoryListTest, TheSameTextStandsTwice) {
    Fill({"other", "same", "same"}, 10);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"same", "same", "other"}));
    ExpectInStep();
}

TEST_F(HistoryListTest, AListAboveCapacityKeepsItsSurplusUntilTrimmed) {
    // A loaded file or a lowered setting may leave more entries than the capacity: adding
    // drops nothing then; TrimTo brings the list back to the capacity.
    list.Assign(Numbered("loaded ", 0, 12));
    list.Add("new", 10);
    EXPECT_EQ(list.Count(), 13);
    ExpectInStep();
    list.TrimTo(10);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"new", "loaded 0", "loaded 1", "loaded 2",
                                                         "loaded 3", "loaded 4", "loaded 5",
                                                         "loaded 6", "loaded 7", "loaded 8"}));
    ExpectInStep();
    list.TrimTo(20);
    EXPECT_EQ(list.Count(), 10);
}

TEST_F(HistoryListTest, RemoveAndInsertKeepTheViewInStep) {
    Fill({"a\nA", "b\rB", "c", "d"}, 10);
    list.Remove(1);
    list.Remove(2);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"d", "b\rB"}));
    list.Insert(1, "middle\r\n");
    EXPECT_EQ(view.lines, (std::vector<std::string>{"d", "middle", "b"}));
    ExpectInStep();
}

TEST_F(HistoryListTest, AssignRebuildsTheView) {
    Fill({"stale 1", "stale 2"}, 10);
    list.Assign({"first\r\nmore", "\r\nblank first line", "second"});
    EXPECT_EQ(view.lines, (std::vector<std::string>{"first", "", "second"}));
    ExpectInStep();
    list.Assign({});
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(view.lines.empty());
}

TEST_F(HistoryListTest, AViewOutOfMemoryLeavesTheStoreAsItWas) {
    Fill({"one", "two"}, 10);
    const std::vector<std::string> before = Entries(list);
    view.insertsLeft = 0;
    EXPECT_THROW(list.Add("three", 10), std::bad_alloc);
    EXPECT_EQ(Entries(list), before);
    ExpectInStep();

    // The list can take the text once memory is back.
    view.insertsLeft = -1;
    list.Add("three", 10);
    EXPECT_EQ(list.At(0), "three");
    ExpectInStep();
}

TEST_F(HistoryListTest, AViewOutOfMemoryOnAFullListAddsNothing) {
    Fill(Numbered("e", 0, 3), 3);
    view.insertsLeft = 0;
    EXPECT_THROW(list.Add("new", 3), std::bad_alloc);
    // The oldest entry was dropped before the insertion failed; that drop stands.
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"e2", "e1"}));
    ExpectInStep();
}

TEST_F(HistoryListTest, AViewOutOfMemoryDuringAssignLeavesBothEmpty) {
    Fill({"old"}, 10);
    view.insertsLeft = 2;
    EXPECT_THROW(list.Assign(Numbered("loaded ", 0, 5)), std::bad_alloc);
    EXPECT_EQ(list.Count(), 0);
    ExpectInStep();
}

TEST_F(HistoryListTest, AnEntryWithAWideOriginalIsShownInItsRealCharactersAndCountedAsAnyOther) {
    // "café ☕" and "한국어" as the code page gave them, and their originals.
    // (Kept out of the assertions: their text is spelt out in the code page.)
    const std::u16string cafeLine = u"café ☕", koreanText = u"한국어";
    const HistoryEntry cafe("cafe ?\r\nline 2", cafeLine + u"\r\nline 2");
    const HistoryEntry korean("???", koreanText);
    Fill({"old 1", "old 2", cafe, "plain", korean}, 4);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"???", "plain", "cafe ?\r\nline 2", "old 2"}))
        << "the capacity counts every entry alike";
    EXPECT_EQ(view.wideLines[0], koreanText);
    EXPECT_EQ(view.wideLines[2], cafeLine) << "the first line of the original, by the same rule";
    EXPECT_EQ(view.lines[1], "plain");
    EXPECT_EQ(list.At(2), cafe);
    EXPECT_NE(list.At(2), HistoryEntry("cafe ?\r\nline 2")) << "an entry is its text and its original";
    ExpectInStep();

    list.Remove(0);
    const std::u16string emoji = u"\r\n😀";
    list.Insert(1, HistoryEntry("\r\n?", emoji));
    list.Assign({list.At(0), list.At(1), list.At(2)});
    EXPECT_EQ(view.wideLines[1], u"") << "an original that begins with a line break shows nothing";
    ExpectInStep();
}

TEST(HistoryListWithoutView, CountsItsOwnEntries) {
    HistoryList list;
    for (const HistoryEntry& entry : Numbered("t", 0, 4)) list.Add(entry, 3);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"t3", "t2", "t1"}));
}

// --- Display line -----------------------------------------------------------------------

TEST(DisplayLineTest, EndsAtTheFirstLineBreak) {
    EXPECT_EQ(DisplayLine("abc\r\ndef"), "abc");
    EXPECT_EQ(DisplayLine("abc\ndef\r\n"), "abc");
    EXPECT_EQ(DisplayLine("abc\rdef"), "abc");
    EXPECT_EQ(DisplayLine("\r\nabc"), "");
    EXPECT_EQ(DisplayLine("\nabc"), "");
    EXPECT_EQ(DisplayLine("one line"), "one line");
    EXPECT_EQ(DisplayLine(""), "");
    EXPECT_EQ(DisplayLine("word\tword\r\nnext"), "word\tword");
    EXPECT_EQ(DisplayLine(std::string("nul\0inside\nx", 12)), std::string("nul\0inside", 10));
}

TEST(DisplayLineTest, StepsOverDoubleByteCharactersWhole) {
    // Trail bytes that look like ASCII letters and a backslash.
    EXPECT_EQ(DisplayLine("\x82\x61\x82\x62\r\nx"), "\x82\x61\x82\x62");
    EXPECT_EQ(DisplayLine("\x83\x5C\x95\x5C\n"), "\x83\x5C\x95\x5C");
    EXPECT_EQ(DisplayLine("履歴の表示\r\n二行目"), "履歴の表示");
    // "＝" is 81 81: its trail byte is itself a lead byte value, so the byte after it
    // starts a new character.
    EXPECT_EQ(DisplayLine("\x81\x81\rX"), "\x81\x81");
    // Half-width katakana are single bytes: the break after them is found.
    EXPECT_EQ(DisplayLine("ｱｲｳ\r\n"), "ｱｲｳ");
    // A lead byte takes the byte after it, whatever it is.
    EXPECT_EQ(DisplayLine("\x82\n" "def"), "\x82\n" "def");
}

TEST(DisplayLineTest, KnowsWhichBytesLeadADoubleByteCharacter) {
    // Lead bytes of the Japanese code page: 81-9F and E0-FC. A lead byte takes the CR
    // after it; any other byte lets the scan stop there.
    for (int b = 0x80; b <= 0xFF; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        const std::string text = {static_cast<char>(b), '\r', 'x'};
        EXPECT_EQ(DisplayLine(text), lead ? text : text.substr(0, 1)) << std::hex << "byte " << b;
    }
}

TEST(DisplayLineTest, ALoneLeadByteAtTheEndStaysInBounds) {
    for (const std::string& text : {std::string("abc\x82"), std::string("\x82"),
                                    std::string("\x82\x61\x9F")}) {
        // An exact-size heap copy, so reading one byte past the end is caught.
        std::unique_ptr<char[]> exact(new char[text.size()]);
        std::copy(text.begin(), text.end(), exact.get());
        EXPECT_EQ(DisplayLine(std::string_view(exact.get(), text.size())), text);
    }
}

}  // namespace
}  // namespace zurimo
