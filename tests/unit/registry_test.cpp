// CRegKey's handle keeping and the profile, over the in-memory registry.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/profile.h"
#include "base/reg_key.h"
#include "tests/support/memory_registry.h"

namespace zurimo {
namespace {

// What only the in-memory registry can show: every key opened is closed again.
TEST(RegKeyHandles, EveryKeyOpenedIsClosedAndALentParentIsNotTaken) {
    MemoryRegistry registry;
    registry.PutDword("Software\\One", "Value", 1);
    registry.PutDword("Software\\Two\\Tree\\Deep", "Value", 2);
    {
        CRegKey key(registry);
        ASSERT_EQ(kErrorSuccess, key.Open(kHkeyCurrentUser, "Software\\One"));
        ASSERT_EQ(kErrorSuccess, key.Open(kHkeyCurrentUser, "Software\\Two"));
        EXPECT_EQ(1u, registry.OpenHandleCount()) << "a successful open closes the key held";
        EXPECT_NE(kErrorSuccess, key.Open(kHkeyCurrentUser, "Software\\Three"));
        EXPECT_EQ(1u, registry.OpenHandleCount());

        CRegKey moved(std::move(key));
        CRegKey target(registry);
        ASSERT_EQ(kErrorSuccess, target.Open(kHkeyCurrentUser, "Software\\One"));
        target = std::move(moved);
        EXPECT_EQ(1u, registry.OpenHandleCount()) << "assigning closes the target's key";

        CRegKey deleter(registry);
        ASSERT_EQ(kErrorSuccess, deleter.Open(kHkeyCurrentUser, "Software\\One"));
        EXPECT_EQ(kErrorSuccess, deleter.RecurseDeleteKey(target.Get(), "Tree"));
        EXPECT_FALSE(registry.HasKey("Software\\Two\\Tree"));
        EXPECT_EQ(1u, registry.OpenHandleCount()) << "only the lent parent is left open";
    }
    EXPECT_EQ(0u, registry.OpenHandleCount()) << "destroyed keys are closed";
}

// --- Profile --------------------------------------------------------------------------

constexpr char kApp[] = "Software\\Kestro!\\ProfileTest";
constexpr char kSection[] = "Software\\Kestro!\\ProfileTest\\Settings";

TEST(ProfileTest, GetIntFallsBackForAnythingButAFourByteDword) {
    MemoryRegistry registry;
    Profile profile(registry, kApp);
    registry.PutDword(kSection, "Good", 42);
    registry.PutString(kSection, "Text", "42");
    registry.PutRaw(kSection, "Binary2", kRegBinary, std::string("\x2A\x00", 2));
    registry.PutRaw(kSection, "Binary4", kRegBinary, std::string("\x2A\x00\x00\x00", 4));
    registry.PutRaw(kSection, "ShortDword", kRegDword, std::string("\x2A\x00", 2));

    EXPECT_EQ(profile.GetInt("Settings", "Good", 5), 42u);
    for (const char* name : {"Text", "Binary2", "Binary4", "ShortDword", "Missing"}) {
        EXPECT_EQ(profile.GetInt("Settings", name, 5), 5u) << name;
    }
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(ProfileTest, GetStringTakesTextTypesUpToTheFirstZero) {
    MemoryRegistry registry;
    Profile profile(registry, kApp);
    registry.PutString(kSection, "Sz", "a b");
    registry.PutString(kSection, "Expand", "%X%", kRegExpandSz);
    registry.PutRaw(kSection, "Bare", kRegSz, "bare");
    registry.PutRaw(kSection, "Embedded", kRegSz, std::string("ab\0cd\0", 6));
    registry.PutDword(kSection, "Number", 0x3E);

    EXPECT_EQ(profile.GetString("Settings", "Sz", "-"), "a b");
    EXPECT_EQ(profile.GetString("Settings", "Expand", "-"), "%X%");
    EXPECT_EQ(profile.GetString("Settings", "Bare", "-"), "bare");
    EXPECT_EQ(profile.GetString("Settings", "Embedded", "-"), "ab");
    EXPECT_EQ(profile.GetString("Settings", "Number", "-"), "-");
    EXPECT_EQ(profile.GetString("Settings", "Missing", "-"), "-");
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(ProfileTest, ReadingCreatesTheSectionKey) {
    MemoryRegistry registry;
    Profile profile(registry, kApp);
    ASSERT_FALSE(registry.HasKey(kSection));
    EXPECT_EQ(profile.GetInt("Settings", "Anything", 3), 3u);
    EXPECT_TRUE(registry.HasKey(kSection));
    EXPECT_EQ(profile.GetString("Fresh", "Anything", "d"), "d");
    EXPECT_TRUE(registry.HasKey(std::string(kApp) + "\\Fresh"));
    EXPECT_TRUE(registry.ValueNamesInWriteOrder().empty()) << "reading writes no value";
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace zurimo
