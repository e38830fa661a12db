// The global hot key: stored modifiers to registration flags, and what a confirmed change
// does to the registration.
#include <gtest/gtest.h>

#include "app/hot_key_rules.h"
#include "base/text.h"

namespace zurimo {
namespace {

TEST(HotKeyModifiersTest, TranslatesEveryStoredCombination) {
    // Stored: 1 Shift, 2 Ctrl, 4 Alt. Registered: 1 Alt, 2 Ctrl, 4 Shift.
    const std::uint32_t expected[] = {0, 4, 2, 6, 1, 5, 3, 7};
    for (std::uint16_t stored = 0; stored < 8; ++stored) {
        EXPECT_EQ(expected[stored], HotKeyModifiers(stored)) << "stored " << stored;
    }
    // The extended-key flag, or anything else above 7, registers no modifiers.
    for (std::uint16_t stored : {8, 9, 10, 14, 15, 0x100, 0xFFFF}) {
        EXPECT_EQ(0u, HotKeyModifiers(stored)) << "stored " << stored;
    }
}

TEST(HotKeyChangeTest, ReRegistersOnlyForANewPairWithModifiers) {
    const std::uint16_t ctrlAlt = kHotKeyControl | kHotKeyAlt;
    const std::uint16_t ctrlShift = kHotKeyControl | kHotKeyShift;
    struct Case {
        std::uint16_t oldKey, oldMods, newKey, newMods;
        bool unregister, registerNew;
    } cases[] = {
        {'Z', ctrlAlt, 'Z', ctrlShift, true, true},   // only the modifiers changed
        {'Z', ctrlAlt, 'X', ctrlAlt, true, true},     // only the key changed
        {'Z', ctrlAlt, 'Z', ctrlAlt, false, false},   // the same pair
        {0, 0, 'Z', ctrlAlt, true, true},             // first hot key
        {'Z', ctrlAlt, 0, 0, true, false},            // field cleared
        {0, 0, 0, 0, true, false},
        {'Z', ctrlAlt, 'X', 0, false, false},         // a key without modifiers
        {'Z', ctrlAlt, 0, ctrlAlt, false, false},     // modifiers without a key
    };
    for (const Case& c : cases) {
        HotKeyChange change = DecideHotKeyChange(c.oldKey, c.oldMods, c.newKey, c.newMods);
        EXPECT_EQ(c.unregister, change.unregister)
            << c.oldKey << "/" << c.oldMods << " -> " << c.newKey << "/" << c.newMods;
        EXPECT_EQ(c.registerNew, change.registerNew)
            << c.oldKey << "/" << c.oldMods << " -> " << c.newKey << "/" << c.newMods;
    }
}

TEST(PathTextTest, FolderOfStepsOverTrailBytesThatLookLikeBackslashes) {
    EXPECT_EQ("C:\\Program Files\\Zurimo\\", FolderOf("C:\\Program Files\\Zurimo\\zurimo.exe"));
    // 表 is 95 5C: the folder name ends in a trail byte 0x5C.
    EXPECT_EQ("C:\\\x95\x5C\\", FolderOf("C:\\\x95\x5C\\zurimo.exe"));
    EXPECT_EQ("C:\\", FolderOf("C:\\\x95\x5C"));
    EXPECT_EQ("", FolderOf("zurimo.exe"));
    EXPECT_EQ(std::string::npos, FindLastChar("\x83\x5C", '\\'));
}

}  // namespace
}  // namespace zurimo
