// The rules the program relies on from a registry, checked through CRegKey against every
// registry it runs on: the in-memory one in both builds, and the real one under Windows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "base/reg_key.h"
#include "tests/support/memory_registry.h"

#ifdef _WIN32
#include <windows.h>

#include "base/win/win_registry.h"
#endif

namespace zurimo {
namespace {

constexpr char kTestKey[] = "Software\\ZurimoContractTest";

struct MemoryWorld {
    MemoryRegistry memory;
    Registry& registry() { return memory; }
    void Clear() {}  // every test has a fresh registry
};

#ifdef _WIN32
struct WindowsWorld {
    Registry& registry() { return SystemRegistry(); }
    void Clear() { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
};
using Worlds = ::testing::Types<MemoryWorld, WindowsWorld>;
#else
using Worlds = ::testing::Types<MemoryWorld>;
#endif

template <typename World>
class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override {
        world.Clear();
        ASSERT_EQ(kErrorSuccess, key.Create(kHkeyCurrentUser, kTestKey));
    }
    void TearDown() override {
        key.Close();
        world.Clear();
    }
    Registry& registry() { return world.registry(); }

    // A value as another program may have left it, written through the bare interface.
    void Put(const char* name, std::uint32_t type, const std::string& bytes) {
        ASSERT_EQ(kErrorSuccess, registry().SetValue(key.Get(), name, type, bytes.data(),
                                                     static_cast<std::uint32_t>(bytes.size())));
    }
    // The value's type and bytes, or "missing".
    std::string Stored(RegHandle in, const char* name) {
        std::uint32_t type = 0, size = 0;
        if (registry().QueryValue(in, name, &type, nullptr, &size) != kErrorSuccess) {
            return "missing";
        }
        std::string bytes(size, '\0');
        registry().QueryValue(in, name, &type, &bytes[0], &size);
        return std::to_string(type) + ":" + bytes.substr(0, size);
    }
    testing::AssertionResult KeyExists(const std::string& path) {
        CRegKey probe(registry());
        long error = probe.Open(kHkeyCurrentUser, path);
        if (error == kErrorSuccess) return testing::AssertionSuccess() << path << " exists";
        return testing::AssertionFailure() << path << " does not open: error " << error;
    }

    World world;
    CRegKey key{world.registry()};
};
TYPED_TEST_SUITE(RegistryContract, Worlds);

TYPED_TEST(RegistryContract, QueryDwordTakesOnlyFourByteDwords) {
    this->Put("Good", kRegDword, std::string("\x78\x56\x34\x12", 4));
    this->Put("Short", kRegDword, std::string("\x01\x02", 2));
    this->Put("Long", kRegDword, std::string(8, '\x01'));
    this->Put("Binary", kRegBinary, std::string(4, '\x01'));
    this->Put("Text", kRegSz, std::string("123", 4));

    std::uint32_t out = 0;
    EXPECT_EQ(kErrorSuccess, this->key.QueryDword("Good", &out));
    EXPECT_EQ(0x12345678u, out);
    out = 0;
    EXPECT_EQ(kErrorSuccess, this->key.QueryDword("good", &out)) << "names ignore case";
    EXPECT_EQ(0x12345678u, out);
    for (const char* name : {"Short", "Long", "Binary", "Text", "Missing"}) {
        out = 0xDEADBEEF;
        EXPECT_EQ(kErrorBadKey, this->key.QueryDword(name, &out)) << name;
        EXPECT_EQ(0xDEADBEEFu, out) << name << " leaves the output alone";
    }
}

TYPED_TEST(RegistryContract, QueryStringTakesTheThreeStringTypesOnly) {
    this->Put("Sz", kRegSz, std::string("plain", 6));
    this->Put("Expand", kRegExpandSz, std::string("%TEMP%\\x", 9));
    this->Put("Multi", kRegMultiSz, std::string("one\0two\0\0", 9));
    this->Put("Binary", kRegBinary, std::string("abc", 4));
    this->Put("Number", kRegDword, std::string("\x05\0\0\0", 4));

    for (auto [name, text] : {std::pair<const char*, std::string>{"Sz", "plain"},
                              {"Expand", "%TEMP%\\x"},
                              {"Multi", "one"}}) {
        char buffer[32];
        std::uint32_t size = sizeof buffer;
        ASSERT_EQ(kErrorSuccess, this->key.QueryString(name, buffer, &size)) << name;
        EXPECT_EQ(text, buffer) << name;
        EXPECT_EQ(text.size() + 1, size) << name;
    }
    for (const char* name : {"Binary", "Number", "Missing"}) {
        char buffer[8];
        std::memset(buffer, '#', sizeof buffer);
        std::uint32_t size = sizeof buffer;
        EXPECT_EQ(kErrorBadKey, this->key.QueryString(name, buffer, &size)) << name;
        EXPECT_EQ(std::string(8, '#'), std::string(buffer, sizeof buffer)) << name;
    }
}

TYPED_TEST(RegistryContract, QueryStringIsBoundedByTheCallersBuffer) {
    this->Put("Four", kRegSz, std::string("abcd", 5));
    this->Put("Bare", kRegSz, "xyz");  // stored without its terminating zero

    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    std::uint32_t size = 4;
    EXPECT_EQ(kErrorMoreData, this->key.QueryString("Four", buffer, &size));
    EXPECT_EQ(std::string(8, '#'), std::string(buffer, sizeof buffer));
    size = 5;
    ASSERT_EQ(kErrorSuccess, this->key.QueryString("Four", buffer, &size));
    EXPECT_EQ(std::string("abcd\0#", 6), std::string(buffer, 6)) << "nothing past the zero";
    EXPECT_EQ(5u, size);

    // The bare value needs room for a zero the registry does not hold.
    std::memset(buffer, '#', sizeof buffer);
    size = 3;
    EXPECT_EQ(kErrorMoreData, this->key.QueryString("Bare", buffer, &size));
    EXPECT_EQ(std::string(8, '#'), std::string(buffer, sizeof buffer));
    size = sizeof buffer;
    ASSERT_EQ(kErrorSuccess, this->key.QueryString("Bare", buffer, &size));
    EXPECT_EQ(std::string("xyz\0#", 5), std::string(buffer, 5));
    EXPECT_EQ(4u, size);
}

TYPED_TEST(RegistryContract, WritesStoreTheExactBytesAndDeletesRemove) {
    ASSERT_EQ(kErrorSuccess, this->key.SetString("Name", "abc"));
    ASSERT_EQ(kErrorSuccess, this->key.SetDword("Number", 0x01020304));
    EXPECT_EQ(std::string("1:abc\0", 6), this->Stored(this->key.Get(), "Name"));
    EXPECT_EQ("4:\x04\x03\x02\x01", this->Stored(this->key.Get(), "Number"));

    EXPECT_EQ(kErrorSuccess, this->key.DeleteValue("NAME"));
    EXPECT_EQ("missing", this->Stored(this->key.Get(), "Name"));
    EXPECT_EQ(kErrorFileNotFound, this->key.DeleteValue("Name")) << "already gone";
}

TYPED_TEST(RegistryContract, OpenNeverCreatesAndKeepsTheHeldKeyOnFailure) {
    const std::string missing = std::string(kTestKey) + "\\Missing";
    const RegHandle before = this->key.Get();
    EXPECT_EQ(kErrorFileNotFound, this->key.Open(kHkeyCurrentUser, missing));
    EXPECT_FALSE(this->KeyExists(missing));
    EXPECT_EQ(before, this->key.Get());
    EXPECT_EQ(kErrorSuccess, this->key.SetString("still", "here")) << "the held key still works";

    // Create makes the key with its parents; a successful open replaces the held key.
    const std::string deep = std::string(kTestKey) + "\\A\\B";
    CRegKey created(this->registry());
    ASSERT_EQ(kErrorSuccess, created.Create(kHkeyCurrentUser, deep));
    EXPECT_TRUE(this->KeyExists(deep));
    ASSERT_EQ(kErrorSuccess, created.SetDword("InDeep", 1));
    ASSERT_EQ(kErrorSuccess, this->key.Open(kHkeyCurrentUser, deep));
    std::uint32_t value = 0;
    EXPECT_EQ(kErrorSuccess, this->key.QueryDword("InDeep", &value));

    // Moving hands the key on: the new owner works on it, the old one holds nothing.
    CRegKey moved(std::move(this->key));
    EXPECT_EQ(0u, this->key.Get());
    EXPECT_EQ(kErrorSuccess, moved.QueryDword("InDeep", &value));
    EXPECT_EQ(1u, value);
}

TYPED_TEST(RegistryContract, RecurseDeleteKeyRemovesATreeAndLeavesTheLentParentOpen) {
    const std::string tree = std::string(kTestKey) + "\\Zurimo!";
    for (const char* sub : {"\\Folder0", "\\Folder1\\Deep\\Deeper", "\\Folder1\\Side",
                            "\\User2\\X"}) {
        CRegKey made(this->registry());
        ASSERT_EQ(kErrorSuccess, made.Create(kHkeyCurrentUser, tree + sub));
        ASSERT_EQ(kErrorSuccess, made.SetString("Caption", "c"));
    }
    CRegKey neighbour(this->registry());
    ASSERT_EQ(kErrorSuccess, neighbour.Create(kHkeyCurrentUser, tree + "Extra"));

    // The parent is lent as an open key of the caller's, which must stay open and usable.
    CRegKey deleter(this->registry());
    ASSERT_EQ(kErrorSuccess, deleter.Open(kHkeyCurrentUser, tree + "Extra"));
    EXPECT_EQ(kErrorSuccess, deleter.RecurseDeleteKey(this->key.Get(), "Zurimo!"));
    EXPECT_EQ(0u, deleter.Get()) << "the key held before is released, the parent not taken";
    EXPECT_FALSE(this->KeyExists(tree));
    EXPECT_TRUE(this->KeyExists(tree + "Extra"));
    EXPECT_EQ(kErrorSuccess, this->key.SetString("after", "the delete"))
        << "the lent parent is still open";

    EXPECT_EQ(kErrorFileNotFound, deleter.RecurseDeleteKey(this->key.Get(), "Zurimo!"))
        << "nothing is left to delete";
}

}  // namespace
}  // namespace zurimo
