// Which clipboard changes capture reads: MS Word's doubled changes and marked clipboards.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/capture_rules.h"

namespace zurimo {
namespace {

// Feeds a sequence of changes ('W' from Word, 'o' from elsewhere) to one filter and spells
// the outcome as 'r' (read) or '-' (skipped), one letter per change.
std::string Feed(WordFilter& filter, const std::string& changes) {
    std::string outcome;
    for (char change : changes) outcome += filter.Accept(change == 'W') ? 'r' : '-';
    return outcome;
}

TEST(WordFilterTest, ChangesFromWordAreReadEverySecondTime) {
    WordFilter filter;
    EXPECT_FALSE(filter.toggle());
    EXPECT_EQ(Feed(filter, "WWWWWWWW"), "-r-r-r-r");
    EXPECT_FALSE(filter.toggle());
}

TEST(WordFilterTest, OtherChangesAreAlwaysReadAndLeaveTheAlternationAlone) {
    struct Case {
        std::string changes;
        std::string expected;
    };
    const Case cases[] = {
        {"oooo", "rrrr"},
        {"WoW", "-rr"},         // the other change between the pair does not restart it
        {"WooW", "-rrr"},
        {"oWoWoW", "r-rrr-"},
        {"WWoWoW", "-rr-rr"},
        {"WoWoWoW", "-rrr-rr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changes);
        WordFilter filter;
        EXPECT_EQ(Feed(filter, c.changes), c.expected);
    }
}

TEST(IsExcludedFromHistoryTest, FormatNamesThatKeepAClipboardOut) {
    struct Case {
        std::vector<std::string> names;
        bool excluded;
    };
    const Case cases[] = {
        {{}, false},
        {{"HTML Format", "Rich Text Format"}, false},
        {{"ExcludeClipboardContentFromMonitorProcessing"}, true},
        {{"HTML Format", "ExcludeClipboardContentFromMonitorProcessing", "Locale"}, true},
        {{"Clipboard Viewer Ignore"}, true},
        {{"Rich Text Format", "Clipboard Viewer Ignore"}, true},
        // Names match exactly: other case, a prefix, extra characters are no marks.
        {{"excludeclipboardcontentfrommonitorprocessing"}, false},
        {{"Clipboard viewer ignore"}, false},
        {{"ExcludeClipboardContent"}, false},
        {{"Clipboard Viewer"}, false},
        {{"Clipboard Viewer Ignore "}, false},
        {{"ExcludeClipboardContentFromMonitorProcessing2"}, false},
        {{std::string("Clipboard Viewer Ignore\0", 24)}, false},
        // The name alone of the history format is no mark; its value decides.
        {{"CanIncludeInClipboardHistory"}, false},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const std::string& name : c.names) trace += "[" + name + "] ";
        SCOPED_TRACE(trace);
        ClipboardMarks marks;
        marks.formatNames = c.names;
        EXPECT_EQ(IsExcludedFromHistory(marks), c.excluded);
    }
}

TEST(IsExcludedFromHistoryTest, CanIncludeInClipboardHistoryZeroKeepsItOut) {
    struct Case {
        bool present;
        std::uint32_t value;
        bool excluded;
    };
    const Case cases[] = {
        {true, 0, true},
        {true, 1, false},
        {true, 2, false},
        {false, 0, false},  // the value counts only when the format is there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.present ? "present" : "absent") + " value " +
                     std::to_string(c.value));
        ClipboardMarks marks;
        marks.formatNames = {"Rich Text Format", "CanIncludeInClipboardHistory"};
        marks.hasCanInclude = c.present;
        marks.canIncludeInHistory = c.value;
        EXPECT_EQ(IsExcludedFromHistory(marks), c.excluded);
    }
}

TEST(IsExcludedFromHistoryTest, ANameMarkExcludesWhateverTheHistoryValue) {
    ClipboardMarks marks;
    marks.formatNames = {"Clipboard Viewer Ignore"};
    marks.hasCanInclude = true;
    marks.canIncludeInHistory = 1;
    EXPECT_TRUE(IsExcludedFromHistory(marks));
}

}  // namespace
}  // namespace zurimo
