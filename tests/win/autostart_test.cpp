// The autostart entry in the real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/win/autostart.h"
#include "base/win/handles.h"
#include "base/win/win_text.h"

namespace zurimo {
namespace {

TEST(AutoStartTest, WritesTheProgramPathAndRemovesIt) {
    const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    HKEY opened = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, run, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &opened, nullptr));
    UniqueHKey key(opened);
    RegDeleteValueA(key.get(), "Zurimo!");

    EXPECT_FALSE(SetAutoStart(false)) << "removing an entry that is not there fails";
    ASSERT_TRUE(SetAutoStart(true));
    char value[MAX_PATH + 1] = {};
    DWORD type = 0, size = MAX_PATH;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key.get(), "Zurimo!", nullptr, &type,
                                              reinterpret_cast<BYTE*>(value), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(ModulePath(nullptr), value);
    EXPECT_TRUE(SetAutoStart(false));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegQueryValueExA(key.get(), "Zurimo!", nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
}  // namespace zurimo
