// Ctrl key presses in the history list, and where previous and next lead.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "history/list_keys.h"

namespace zurimo {
namespace {

using Keys = std::array<std::uint16_t, 9>;

// Take out, delete, find, edit, options, close, previous, next, context menu.
const Keys kDefaults = {'C', 'D', 'F', 'E', 'O', 'Q', 'P', 'N', 'M'};

const char* Name(ListKeyAction action) {
    switch (action) {
        case ListKeyAction::kNone: return "none";
        case ListKeyAction::kDigit: return "digit";
        case ListKeyAction::kTakeOut: return "take out";
        case ListKeyAction::kDelete: return "delete";
        case ListKeyAction::kFind: return "find";
        case ListKeyAction::kEdit: return "edit";
        case ListKeyAction::kOptions: return "options";
        case ListKeyAction::kClose: return "close";
        case ListKeyAction::kPrevious: return "previous";
        case ListKeyAction::kNext: return "next";
        case ListKeyAction::kContextMenu: return "context menu";
    }
    return "?";
}

struct KeyCase {
    std::uint16_t key;
    ListKeyAction expected;
};

void ExpectActions(const Keys& keys, std::initializer_list<KeyCase> cases) {
    for (const KeyCase& c : cases) {
        SCOPED_TRACE("virtual key " + std::to_string(c.key));
        EXPECT_STREQ(Name(CtrlKeyAction(c.key, keys)), Name(c.expected));
    }
}

TEST(CtrlKeyActionTest, TheDefaultTable) {
    ExpectActions(kDefaults, {
        {'C', ListKeyAction::kTakeOut},     {'D', ListKeyAction::kDelete},
        {'F', ListKeyAction::kFind},        {'E', ListKeyAction::kEdit},
        {'O', ListKeyAction::kOptions},     {'Q', ListKeyAction::kClose},
        {'P', ListKeyAction::kPrevious},    {'N', ListKeyAction::kNext},
        {'M', ListKeyAction::kContextMenu},
        {kVkComma, ListKeyAction::kPrevious}, {kVkPeriod, ListKeyAction::kNext},
        {'A', ListKeyAction::kNone},        {'Z', ListKeyAction::kNone},
        {0, ListKeyAction::kNone},
    });
}

TEST(CtrlKeyActionTest, MainKeyboardDigitsOneToNine) {
    for (std::uint16_t key = '1'; key <= '9'; ++key) {
        ExpectActions(kDefaults, {{key, ListKeyAction::kDigit}});
    }
    ExpectActions(kDefaults, {
        {'0', ListKeyAction::kNone},
        {0x61, ListKeyAction::kNone},  // VK_NUMPAD1
        {0x69, ListKeyAction::kNone},  // VK_NUMPAD9
    });
}

TEST(CtrlKeyActionTest, AnEmptyTableEntryMatchesNothing) {
    const Keys keys = {0, 'D', 0, 'E', 'O', 'Q', 0, 0, 'M'};
    ExpectActions(keys, {
        {0, ListKeyAction::kNone},
        {'C', ListKeyAction::kNone},
        {'D', ListKeyAction::kDelete},
        {'M', ListKeyAction::kContextMenu},
        // Comma and period do not depend on the table.
        {kVkComma, ListKeyAction::kPrevious},
        {kVkPeriod, ListKeyAction::kNext},
    });
}

TEST(CtrlKeyActionTest, TheEarlierOperationWinsASharedKey) {
    ExpectActions({'C', 'C', 'F', 'E', 'O', 'Q', 'P', 'N', 'M'}, {{'C', ListKeyAction::kTakeOut}});
    ExpectActions({'C', 'D', 'F', 'E', 'O', 'Q', 'P', 'X', 'X'}, {{'X', ListKeyAction::kNext}});
    ExpectActions({'C', 'D', 'F', 'E', 'Q', 'Q', 'P', 'N', 'M'}, {{'Q', ListKeyAction::kOptions}});
    // Comma belongs with previous: an operation before it takes the comma, one after not.
    ExpectActions({kVkComma, 'D', 'F', 'E', 'O', 'Q', 'P', 'N', 'M'},
                  {{kVkComma, ListKeyAction::kTakeOut}});
    ExpectActions({'C', 'D', 'F', 'E', 'O', kVkComma, 'P', 'N', 'M'},
                  {{kVkComma, ListKeyAction::kClose}});
    ExpectActions({'C', 'D', 'F', 'E', 'O', 'Q', kVkPeriod, 'N', 'M'},
                  {{kVkPeriod, ListKeyAction::kPrevious}});
    ExpectActions({'C', 'D', 'F', 'E', 'O', 'Q', 'P', 'N', kVkComma},
                  {{kVkComma, ListKeyAction::kPrevious}});
    ExpectActions({'C', 'D', 'F', 'E', 'O', 'Q', 'P', 'N', kVkPeriod},
                  {{kVkPeriod, ListKeyAction::kNext}});
}

TEST(CtrlKeyActionTest, DigitsComeBeforeTheTable) {
    const Keys keys = {'5', 'D', 'F', 'E', 'O', 'Q', 'P', 'N', '0'};
    ExpectActions(keys, {
        {'5', ListKeyAction::kDigit},
        {'0', ListKeyAction::kContextMenu},  // not a digit key, so the table decides
    });
}

TEST(CtrlKeyActionTest, ReassigningPreviousAndNextKeepsCommaAndPeriod) {
    const Keys keys = {'P', 'D', 'F', 'E', 'O', 'Q', 'X', 'Y', 'M'};
    ExpectActions(keys, {
        {'P', ListKeyAction::kTakeOut},
        {'N', ListKeyAction::kNone},
        {'X', ListKeyAction::kPrevious},
        {'Y', ListKeyAction::kNext},
        {kVkComma, ListKeyAction::kPrevious},
        {kVkPeriod, ListKeyAction::kNext},
    });
}

TEST(ListIndexTest, DigitCountsFromTheFirstVisibleEntry) {
    EXPECT_EQ(DigitIndex(10, '3'), 12);
    EXPECT_EQ(DigitIndex(0, '1'), 0);
    EXPECT_EQ(DigitIndex(0, '9'), 8);
    EXPECT_EQ(DigitIndex(25, '1'), 25);
}

TEST(ListIndexTest, PreviousAndNext) {
    struct Case {
        int selected;
        int previous;
        int next;
    };
    const Case cases[] = {
        {-1, -1, 0},  // no selection: previous selects nothing, next the first
        {0, 0, 1},    // the first entry stays for previous
        {1, 0, 2},
        {3, 2, 4},
        {5, 4, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        EXPECT_EQ(PreviousIndex(c.selected), c.previous);
        EXPECT_EQ(NextIndex(c.selected), c.next);
    }
}

}  // namespace
}  // namespace zurimo
