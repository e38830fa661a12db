// CRegKey and Profile over the in-memory registry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/memory_registry.h"
#include "base/profile.h"
#include "base/reg_key.h"

namespace zurimo {
namespace {

constexpr char kKeyPath[] = "Software\\Kestro!\\RegKeyTest";

class RegKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry.PutDword(kKeyPath, "Seed", 7);
        ASSERT_EQ(key.Open(kHkeyCurrentUser, kKeyPath), kErrorSuccess);
    }

    MemoryRegistry registry;
    CRegKey key{registry};
};

TEST_F(RegKeyTest, QueryDwordTakesOnlyFourByteDwords) {
    registry.PutDword(kKeyPath, "Good", 0x12345678);
    registry.PutRaw(kKeyPath, "Short", kRegDword, std::string("\x01\x02", 2));
    registry.PutRaw(kKeyPath, "Long", kRegDword, std::string(8, '\x01'));
    registry.PutRaw(kKeyPath, "Binary", kRegBinary, std::string(4, '\x01'));
    registry.PutRaw(kKeyPath, "Text", kRegSz, std::string("123", 4));

    std::uint32_t out = 0;
    EXPECT_EQ(key.QueryDword("Good", &out), kErrorSuccess);
    EXPECT_EQ(out, 0x12345678u);
    EXPECT_EQ(key.QueryDword("good", &out), kErrorSuccess) << "names ignore case";

    for (const char* name : {"Short", "Long", "Binary", "Text", "Missing"}) {
        out = 0xDEADBEEF;
        EXPECT_EQ(key.QueryDword(name, &out), kErrorBadKey) << name;
        EXPECT_EQ(out, 0xDEADBEEFu) << name;
    }
}

TEST_F(RegKeyTest, QueryStringAcceptsTheThreeStringTypes) {
    registry.PutString(kKeyPath, "Sz", "plain");
    registry.PutString(kKeyPath, "Expand", "%TEMP%\\x", kRegExpandSz);
    registry.PutRaw(kKeyPath, "Multi", kRegMultiSz, std::string("one\0two\0\0", 9));

    struct Case {
        const char* name;
        std::string text;
    };
    for (const Case& c : {Case{"Sz", "plain"}, Case{"Expand", "%TEMP%\\x"}, Case{"Multi", "one"}}) {
        char buffer[32];
        std::uint32_t size = sizeof buffer;
        ASSERT_EQ(key.QueryString(c.name, buffer, &size), kErrorSuccess) << c.name;
        EXPECT_EQ(std::string(buffer), c.text) << c.name;
        EXPECT_EQ(size, c.text.size() + 1) << c.name;
    }
}

TEST_F(RegKeyTest, QueryStringRefusesOtherTypesAndLeavesTheBufferAlone) {
    registry.PutRaw(kKeyPath, "Binary", kRegBinary, std::string("abc", 4));
    registry.PutRaw(kKeyPath, "None", kRegNone, std::string("abc", 4));
    // "Seed" is a DWORD.
    for (const char* name : {"Binary", "None", "Seed", "Missing"}) {
        char buffer[8];
        std::memset(buffer, '#', sizeof buffer);
        std::uint32_t size = sizeof buffer;
        EXPECT_EQ(key.QueryString(name, buffer, &size), kErrorBadKey) << name;
        EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(8, '#')) << name;
    }
}

TEST_F(RegKeyTest, QueryStringIsBoundedByTheCallersBuffer) {
    registry.PutString(kKeyPath, "Four", "abcd");  // five bytes with its zero
    // Stored without a terminating zero, as some writers leave it.
    registry.PutRaw(kKeyPath, "Bare", kRegSz, "xyz");

    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    std::uint32_t size = 4;
    EXPECT_EQ(key.QueryString("Four", buffer, &size), kErrorMoreData);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(8, '#'));

    size = 5;
    ASSERT_EQ(key.QueryString("Four", buffer, &size), kErrorSuccess);
    EXPECT_EQ(std::string(buffer, 6), std::string("abcd\0#", 6)) << "nothing past the zero";
    EXPECT_EQ(size, 5u);

    // The bare value needs room for a zero the registry does not hold.
    std::memset(buffer, '#', sizeof buffer);
    size = 3;
    EXPECT_EQ(key.QueryString("Bare", buffer, &size), kErrorMoreData);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(8, '#'));
    size = sizeof buffer;
    ASSERT_EQ(key.QueryString("Bare", buffer, &size), kErrorSuccess);
    EXPECT_EQ(std::string(buffer, 5), std::string("xyz\0#", 5));
    EXPECT_EQ(size, 4u);
}

TEST_F(RegKeyTest, SetStringWritesTheTerminatingZero) {
    ASSERT_EQ(key.SetString("Name", "abc"), kErrorSuccess);
    ASSERT_EQ(key.SetDword("Number", 0x01020304), kErrorSuccess);
    std::uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(registry.GetRaw(kKeyPath, "Name", &type, &bytes));
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(bytes, std::string("abc", 4));
    ASSERT_TRUE(registry.GetRaw(kKeyPath, "Number", &type, &bytes));
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(bytes, std::string("\x04\x03\x02\x01", 4));
}

TEST_F(RegKeyTest, OpenNeverCreatesAndKeepsTheOldKeyOnFailure) {
    const RegHandle before = key.Get();
    EXPECT_EQ(key.Open(kHkeyCurrentUser, "Software\\Kestro!\\Missing"), kErrorFileNotFound);
    EXPECT_FALSE(registry.HasKey("Software\\Kestro!\\Missing"));
    EXPECT_EQ(key.Get(), before);
    std::uint32_t seed = 0;
    EXPECT_EQ(key.QueryDword("Seed", &seed), kErrorSuccess) << "the old key still works";
    EXPECT_EQ(seed, 7u);
    EXPECT_EQ(registry.OpenHandleCount(), 1u);

    // A successful open closes the key held before.
    registry.PutDword("Software\\Other", "Value", 9);
    ASSERT_EQ(key.Open(kHkeyCurrentUser, "Software\\Other"), kErrorSuccess);
    EXPECT_NE(key.Get(), before);
    EXPECT_EQ(registry.OpenHandleCount(), 1u);
    EXPECT_EQ(key.QueryDword("Seed", &seed), kErrorBadKey);

    {
        CRegKey again(registry);
        ASSERT_EQ(again.Open(key.Get(), ""), kErrorSuccess) << "an empty subkey reopens";
        EXPECT_EQ(registry.OpenHandleCount(), 2u);
    }
    EXPECT_EQ(registry.OpenHandleCount(), 1u) << "a destroyed key is closed";
    EXPECT_EQ(key.Close(), kErrorSuccess);
    EXPECT_EQ(key.Get(), 0u);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegKeyRecurseDelete, DeletesANestedTreeAndNothingElse) {
    MemoryRegistry registry;
    const std::string tree = "Software\\Kestro!\\Zurimo!";
    registry.PutDword(tree, "Top", 1);
    for (const char* sub : {"\\Folder0", "\\Folder1\\Deep\\Deeper", "\\Folder1\\Side",
                            "\\User0", "\\User1", "\\User2\\X"}) {
        registry.PutString(tree + sub, "Caption", "c");
    }
    registry.PutDword("Software\\Kestro!\\Neighbour", "Keep", 1);
    registry.PutDword("Software\\Kestro!\\Zurimo!Extra", "Keep", 1);

    CRegKey key(registry);
    ASSERT_EQ(key.Open(kHkeyCurrentUser, "Software\\Kestro!\\Neighbour"), kErrorSuccess);
    EXPECT_EQ(key.RecurseDeleteKey(kHkeyCurrentUser, tree), kErrorSuccess);
    EXPECT_FALSE(registry.HasKey(tree));
    EXPECT_TRUE(registry.HasKey("Software\\Kestro!"));
    EXPECT_TRUE(registry.HasValue("Software\\Kestro!\\Neighbour", "Keep"));
    EXPECT_TRUE(registry.HasValue("Software\\Kestro!\\Zurimo!Extra", "Keep"));
    EXPECT_EQ(registry.OpenHandleCount(), 0u) << "the key held before is released too";

    // The tree is gone, so a second pass has nothing to open.
    EXPECT_EQ(key.RecurseDeleteKey(kHkeyCurrentUser, tree), kErrorFileNotFound);
    EXPECT_TRUE(registry.HasKey("Software\\Kestro!\\Neighbour"));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
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
