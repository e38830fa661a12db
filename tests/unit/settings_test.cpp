// Loading and saving the application's settings through the profile.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/zurimo_app.h"
#include "tests/support/memory_registry.h"

namespace zurimo {
namespace {

const std::string kSettings = "Software\\Kestro!\\Zurimo!\\Settings";

// Every value of the Settings key in load order; all are DWORDs except "Quote".
const std::vector<std::string> kLoadOrder = {
    "HotKeyLo", "HotKeyHi", "Number",  "Paste",     "File",          "Word",
    "AutoExec", "Quote",    "DateTime", "Tab",      "History",       "AddYen",
    "Menu",     "ShellMenu", "ShellUserMenu", "ShellSep", "ShellHierarchy", "ShellLimit"};

// Every member as "Name=value", in a form that shows which one differs.
std::string Describe(const CZurimoApp& app) {
    std::ostringstream out;
    out << "HotKeyLo=" << app.hotKeyLo << " HotKeyHi=" << app.hotKeyHi
        << " Number=" << app.number << " Paste=" << app.paste << " File=" << app.file
        << " Word=" << app.word << " AutoExec=" << app.autoExec << " Quote=[" << app.quote
        << "] DateTime=" << app.dateTime << " Tab=" << app.tab << " History=" << app.history
        << " AddYen=" << app.addYen << " Menu=" << app.menu << " ShellMenu=" << app.shellMenu
        << " ShellUserMenu=" << app.shellUserMenu << " ShellSep=" << app.shellSep
        << " ShellHierarchy=" << app.shellHierarchy << " ShellLimit=" << app.shellLimit
        << " Keys=";
    for (std::uint16_t key : app.keyTable) out << key << ',';
    return out.str();
}

// The member that a value name stands for, as the registry would hold it.
std::uint32_t Held(const CZurimoApp& app, const std::string& name) {
    const std::vector<std::uint32_t> values = {
        app.hotKeyLo, app.hotKeyHi, std::uint32_t(app.number), std::uint32_t(app.paste),
        std::uint32_t(app.file), std::uint32_t(app.word), std::uint32_t(app.autoExec), 0,
        std::uint32_t(app.dateTime), std::uint32_t(app.tab), std::uint32_t(app.history),
        std::uint32_t(app.addYen), std::uint32_t(app.menu), std::uint32_t(app.shellMenu),
        std::uint32_t(app.shellUserMenu), std::uint32_t(app.shellSep),
        std::uint32_t(app.shellHierarchy), std::uint32_t(app.shellLimit)};
    for (std::size_t i = 0; i < kLoadOrder.size(); ++i) {
        if (kLoadOrder[i] == name) return values[i];
    }
    ADD_FAILURE() << "no member for " << name;
    return 0;
}

class SettingsTest : public ::testing::Test {
protected:
    // The stored DWORD, or a failure when the value is missing or not a 4-byte DWORD.
    std::uint32_t StoredDword(const std::string& name) {
        std::uint32_t type = 0;
        std::string bytes;
        if (!registry.GetRaw(kSettings, name, &type, &bytes)) {
            ADD_FAILURE() << name << " was not written";
            return 0;
        }
        EXPECT_EQ(type, kRegDword) << name;
        EXPECT_EQ(bytes.size(), 4u) << name;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) {
            value |= std::uint32_t(static_cast<unsigned char>(bytes[i])) << (8 * i);
        }
        return value;
    }

    MemoryRegistry registry;
    Profile profile{registry, kAppKey};
    CZurimoApp app;
};

TEST_F(SettingsTest, FreshUserStartsWithTheDefaults) {
    app.LoadSettings(profile);
    EXPECT_EQ(app.hotKeyLo, 0);
    EXPECT_EQ(app.hotKeyHi, 0);
    EXPECT_EQ(app.history, 100);
    EXPECT_EQ(app.quote, ">");
    EXPECT_EQ(app.tab, 1);
    EXPECT_EQ(app.shellMenu, 0);
    EXPECT_EQ(app.shellLimit, 32);
    for (int off : {app.number, app.paste, app.file, app.word, app.autoExec, app.dateTime,
                    app.addYen, app.menu, app.shellUserMenu, app.shellSep, app.shellHierarchy}) {
        EXPECT_EQ(off, 0);
    }
    const std::array<std::uint16_t, kKeyCount> keys = {'C', 'D', 'F', 'E', 'O',
                                                       'Q', 'P', 'N', 'M'};
    EXPECT_EQ(app.keyTable, keys);
    EXPECT_TRUE(registry.HasKey(kSettings)) << "the first read creates the key";
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(SettingsTest, KeyTableKeepsTheLow16BitsAndIgnoresZero) {
    registry.PutDword(kSettings, "Key03", 0);        // no key stored: default E stays
    registry.PutDword(kSettings, "Key02", 0x10000);  // low 16 bits are zero: default F stays
    registry.PutDword(kSettings, "Key01", 0x10058);  // 'X' in the low 16 bits
    registry.PutDword(kSettings, "Key08", 0x45);     // 'E', a duplicate, taken as it is
    registry.PutString(kSettings, "Key00", "Z");     // not a DWORD: default C stays
    app.LoadSettings(profile);
    const std::array<std::uint16_t, kKeyCount> keys = {'C', 'X', 'F', 'E', 'O',
                                                       'Q', 'P', 'N', 'E'};
    EXPECT_EQ(app.keyTable, keys);

    CZurimoApp other;
    registry.PutDword(kSettings, "Key03", 0x45);
    other.LoadKeyTable(profile);
    EXPECT_EQ(other.keyTable[3], 'E');
}

TEST_F(SettingsTest, StoredValuesAreTakenUncheckedUnlessOfTheWrongType) {
    registry.PutDword(kSettings, "HotKeyLo", 0x10041);
    registry.PutDword(kSettings, "HotKeyHi", 0xFFFF0006);
    registry.PutDword(kSettings, "History", 5);        // below what the options page offers
    registry.PutDword(kSettings, "Tab", 0xFFFFFFFF);   // a 32-bit member keeps all of it
    registry.PutString(kSettings, "Quote", "| ");
    registry.PutString(kSettings, "ShellMenu", "1");
    registry.PutRaw(kSettings, "ShellLimit", kRegBinary, std::string("\x08\x00", 2));
    app.LoadSettings(profile);
    EXPECT_EQ(app.hotKeyLo, 0x41);
    EXPECT_EQ(app.hotKeyHi, 6);
    EXPECT_EQ(app.history, 5);
    EXPECT_EQ(app.tab, -1);
    EXPECT_EQ(app.quote, "| ");
    EXPECT_EQ(app.shellMenu, 0);
    EXPECT_EQ(app.shellLimit, 32);

    CZurimoApp numericQuote;
    registry.PutDword(kSettings, "Quote", 0x3C);
    numericQuote.LoadSettings(profile);
    EXPECT_EQ(numericQuote.quote, ">");
}

TEST_F(SettingsTest, EveryValueIsReadIntoItsOwnMember) {
    for (std::size_t i = 0; i < kLoadOrder.size(); ++i) {
        if (kLoadOrder[i] != "Quote") registry.PutDword(kSettings, kLoadOrder[i], 200 + i);
    }
    app.LoadSettings(profile);
    for (std::size_t i = 0; i < kLoadOrder.size(); ++i) {
        if (kLoadOrder[i] == "Quote") continue;
        EXPECT_EQ(Held(app, kLoadOrder[i]), 200 + i) << kLoadOrder[i];
    }
}

TEST_F(SettingsTest, SaveWritesEveryValueKeysFirst) {
    // A distinct value in every member, so that each must land under its own name.
    std::int32_t next = 300;
    for (std::int32_t* member :
         {&app.number, &app.paste, &app.file, &app.word, &app.autoExec, &app.dateTime, &app.tab,
          &app.history, &app.addYen, &app.menu, &app.shellMenu, &app.shellUserMenu,
          &app.shellSep, &app.shellHierarchy, &app.shellLimit}) {
        *member = next++;
    }
    app.hotKeyLo = 0x8041;
    app.hotKeyHi = 0x0006;
    app.quote = "引用> ";
    app.keyTable[4] = 0;  // cleared by a duplicate: written as 0
    app.SaveSettings(profile);

    std::vector<std::string> expected;
    for (int i = 0; i < kKeyCount; ++i) expected.push_back(KeyValueName(i));
    expected.insert(expected.end(), kLoadOrder.begin(), kLoadOrder.end());
    EXPECT_EQ(registry.ValueNamesInWriteOrder(), expected);
    EXPECT_EQ(expected.front(), "Key00");
    EXPECT_EQ(expected[8], "Key08");

    for (const std::string& name : kLoadOrder) {
        if (name == "Quote") continue;
        EXPECT_EQ(StoredDword(name), Held(app, name)) << name;
    }
    for (int i = 0; i < kKeyCount; ++i) {
        EXPECT_EQ(StoredDword(KeyValueName(i)), app.keyTable[i]) << KeyValueName(i);
    }
    std::uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(registry.GetRaw(kSettings, "Quote", &type, &bytes));
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(bytes, std::string("引用> ") + '\0');
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(SettingsTest, SaveThenLoadGivesTheSameMembers) {
    // Stale values that the save must replace.
    registry.PutDword(kSettings, "Paste", 0);
    registry.PutString(kSettings, "Quote", "old");

    app.hotKeyLo = 0xFFFF;
    app.hotKeyHi = 3;
    app.number = 1;
    app.paste = 1;
    app.file = 1;
    app.word = 7;
    app.autoExec = 1;
    app.quote = "\x83\x5C> ";  // a trail byte that looks like a backslash
    app.dateTime = 1;
    app.tab = 2;
    app.history = 1000;
    app.addYen = 1;
    app.menu = 1;
    app.shellMenu = 1;
    app.shellUserMenu = 1;
    app.shellSep = 1;
    app.shellHierarchy = 1;
    app.shellLimit = 1;
    app.keyTable = {'1', '2', '3', '4', '5', '6', '7', '8', 0x0170};
    app.SaveSettings(profile);

    CZurimoApp loaded;
    loaded.LoadSettings(profile);
    EXPECT_EQ(Describe(loaded), Describe(app));
    EXPECT_NE(Describe(loaded), Describe(CZurimoApp{})) << "every member was changed";
}

TEST_F(SettingsTest, ShellLimitIsWrittenAtOnce) {
    app.SetShellLimit(profile, 8);
    EXPECT_EQ(app.shellLimit, 8);
    EXPECT_EQ(StoredDword("ShellLimit"), 8u);
    EXPECT_EQ(registry.ValueNamesInWriteOrder(), std::vector<std::string>{"ShellLimit"});
}

TEST_F(SettingsTest, ShellMenuOptionsAreWrittenTogetherOrNotTaken) {
    ASSERT_TRUE(app.SetShellMenuOptions(profile, 1, 0, 1));
    EXPECT_EQ(app.shellUserMenu, 1);
    EXPECT_EQ(app.shellSep, 0);
    EXPECT_EQ(app.shellHierarchy, 1);
    const std::vector<std::string> order = {"ShellUserMenu", "ShellSep", "ShellHierarchy"};
    EXPECT_EQ(registry.ValueNamesInWriteOrder(), order);
    EXPECT_EQ(StoredDword("ShellUserMenu"), 1u);
    EXPECT_EQ(StoredDword("ShellSep"), 0u);
    EXPECT_EQ(StoredDword("ShellHierarchy"), 1u);

    // Each write in turn fails: the ones before it stand, the ones after it are not tried,
    // and the members keep what they held.
    for (std::size_t failing = 0; failing < order.size(); ++failing) {
        SCOPED_TRACE(order[failing]);
        MemoryRegistry fresh;
        Profile freshProfile(fresh, kAppKey);
        fresh.failSetValue = [&](const std::string& name) {
            return name == order[failing] ? kErrorAccessDenied : kErrorSuccess;
        };
        CZurimoApp held;
        held.shellUserMenu = 5;
        held.shellSep = 6;
        held.shellHierarchy = 7;
        EXPECT_FALSE(held.SetShellMenuOptions(freshProfile, 1, 1, 1));
        EXPECT_EQ(held.shellUserMenu, 5);
        EXPECT_EQ(held.shellSep, 6);
        EXPECT_EQ(held.shellHierarchy, 7);
        EXPECT_EQ(fresh.ValueNamesInWriteOrder(),
                  std::vector<std::string>(order.begin(), order.begin() + failing));
        for (std::size_t later = failing; later < order.size(); ++later) {
            EXPECT_FALSE(fresh.HasValue(kSettings, order[later])) << order[later];
        }
    }
}

}  // namespace
}  // namespace zurimo
