// The registry layer against the real registry: the same rules the in-memory one keeps.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "app/autostart.h"
#include "base/reg_key.h"
#include "base/win/win_registry.h"
#include "base/win/win_text.h"

namespace zurimo {
namespace {

constexpr char kTestKey[] = "Software\\ZurimoWinTest";

class WinRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &raw_, nullptr);
        ASSERT_NE(nullptr, raw_);
        ASSERT_EQ(kErrorSuccess, key_.Open(kHkeyCurrentUser, kTestKey));
    }
    void TearDown() override {
        key_.Close();
        RegCloseKey(raw_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    }
    void Put(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(raw_, name, 0, type, static_cast<const BYTE*>(data), size));
    }

    HKEY raw_ = nullptr;
    CRegKey key_{SystemRegistry()};
};

TEST_F(WinRegistryTest, QueryDwordTakesOnlyFourByteDwords) {
    DWORD value = 0x1234;
    Put("dword", REG_DWORD, &value, 4);
    Put("string", REG_SZ, "12", 3);
    Put("short", REG_BINARY, &value, 2);

    std::uint32_t out = 77;
    EXPECT_EQ(kErrorSuccess, key_.QueryDword("dword", &out));
    EXPECT_EQ(0x1234u, out);
    for (const char* name : {"string", "short", "missing"}) {
        out = 77;
        EXPECT_EQ(kErrorBadKey, key_.QueryDword(name, &out)) << name;
        EXPECT_EQ(77u, out) << name;
    }
}

TEST_F(WinRegistryTest, QueryStringIsBoundedByTheCallersBuffer) {
    Put("sz", REG_SZ, "hello", 6);
    Put("expand", REG_EXPAND_SZ, "%TEMP%", 7);
    Put("unterminated", REG_SZ, "abcd", 4);
    DWORD number = 5;
    Put("number", REG_DWORD, &number, 4);

    char buffer[16];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(kErrorSuccess, key_.QueryString("sz", buffer, &size));
    EXPECT_STREQ("hello", buffer);
    EXPECT_EQ(6u, size);
    size = sizeof buffer;
    EXPECT_EQ(kErrorSuccess, key_.QueryString("expand", buffer, &size));
    EXPECT_STREQ("%TEMP%", buffer);
    size = sizeof buffer;
    EXPECT_EQ(kErrorSuccess, key_.QueryString("unterminated", buffer, &size));
    EXPECT_STREQ("abcd", buffer);

    memset(buffer, '#', sizeof buffer);
    size = 5;  // "hello" needs six bytes
    EXPECT_NE(kErrorSuccess, key_.QueryString("sz", buffer, &size));
    EXPECT_EQ('#', buffer[0]);
    size = sizeof buffer;
    EXPECT_EQ(kErrorBadKey, key_.QueryString("number", buffer, &size));
    EXPECT_EQ(kErrorBadKey, key_.QueryString("missing", buffer, &size));
}

TEST_F(WinRegistryTest, OpenNeverCreatesAndKeepsTheHeldKeyOnFailure) {
    EXPECT_EQ(kErrorFileNotFound, key_.Open(kHkeyCurrentUser, "Software\\ZurimoWinTest\\nope"));
    HKEY probe = nullptr;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ZurimoWinTest\\nope", 0, KEY_READ, &probe));
    EXPECT_EQ(kErrorSuccess, key_.SetString("still", "here"));
    char buffer[8];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(kErrorSuccess, key_.QueryString("still", buffer, &size));
}

TEST_F(WinRegistryTest, RecurseDeleteKeyRemovesATree) {
    for (const char* sub : {"\\Folder0\\deep\\deeper", "\\Folder1", "\\User0\\x"}) {
        HKEY k = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER,
                                                 (std::string(kTestKey) + sub).c_str(), 0,
                                                 nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr));
        RegSetValueExA(k, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
        RegCloseKey(k);
    }
    key_.Close();
    RegCloseKey(raw_);
    raw_ = nullptr;
    CRegKey deleter(SystemRegistry());
    EXPECT_EQ(kErrorSuccess, deleter.RecurseDeleteKey(kHkeyCurrentUser, kTestKey));
    HKEY probe = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &probe));
    EXPECT_NE(kErrorSuccess, deleter.RecurseDeleteKey(kHkeyCurrentUser, kTestKey));
}

TEST(AutoStartTest, WritesTheProgramPathAndRemovesIt) {
    const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, run, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegDeleteValueA(key, "Zurimo!");

    EXPECT_FALSE(SetAutoStart(false)) << "removing an entry that is not there fails";
    ASSERT_TRUE(SetAutoStart(true));
    char value[MAX_PATH + 1] = {};
    DWORD type = 0, size = MAX_PATH;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Zurimo!", nullptr, &type,
                                              reinterpret_cast<BYTE*>(value), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(ModulePath(nullptr), value);
    EXPECT_TRUE(SetAutoStart(false));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "Zurimo!", nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(key);
}

}  // namespace
}  // namespace zurimo
