// Registry changes as data: what the program's entries come to, and applying a list.
#include <gtest/gtest.h>

#include <string>

#include "app/registry_entries.h"
#include "base/reg_changes.h"
#include "base/reg_key.h"
#include "tests/support/memory_registry.h"
#include "tests/support/reg_change_printer.h"

namespace zurimo {
namespace {

constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(RegChangesTest, TheProgramsEntriesAsChanges) {
    RegChange autostart = SetStringChange(kHkeyCurrentUser, kRun, "Zurimo!", "C:\\Z\\zurimo.exe");
    EXPECT_EQ(RegChanges{autostart}, AutoStartChanges(true, "C:\\Z\\zurimo.exe"));
    EXPECT_EQ(std::string("C:\\Z\\zurimo.exe\0", 16), autostart.data) << "with its zero";
    EXPECT_EQ(RegChanges{DeleteValueChange(kHkeyCurrentUser, kRun, "Zurimo!")},
              AutoStartChanges(false, "C:\\Z\\zurimo.exe"));

    const char* styles[] = {"std", "mingw", "cygwin", "sfu", "std"};
    const char shellExt[] = "Software\\Kestro!\\Zurimo!\\ShellExt";
    for (int index = 0; index < 5; ++index) {
        // The key is made first when it is missing, so that the choice is kept.
        EXPECT_EQ((RegChanges{CreateKeyChange(kHkeyCurrentUser, shellExt),
                              SetStringChange(kHkeyCurrentUser, shellExt, "DriveType",
                                              styles[index])}),
                  DriveTypeChanges(index))
            << index;
    }
    EXPECT_NE(SetDwordChange(kHkeyCurrentUser, "K", "V", 1),
              SetDwordChange(kHkeyCurrentUser, "K", "V", 2));
}

TEST(RegChangesTest, ApplyingCarriesOutTheListInOrderAndStopsAtTheFirstFailure) {
    MemoryRegistry registry;
    registry.PutDword("Software\\Old\\Deep\\Deeper", "Gone", 1);
    registry.PutDword("Software\\Run", "Stale", 1);
    const RegChanges changes = {
        CreateKeyChange(kHkeyClassesRoot, "CLSID\\{X}\\InprocServer32"),
        SetStringChange(kHkeyClassesRoot, "CLSID\\{X}\\InprocServer32", "", "x.dll"),
        SetDwordChange(kHkeyCurrentUser, "Software\\Run", "Count", 0x0A0B0C0D),
        DeleteValueChange(kHkeyCurrentUser, "Software\\Run", "Stale"),
        DeleteTreeChange(kHkeyCurrentUser, "Software\\Old"),
    };
    ASSERT_EQ(kErrorSuccess, ApplyRegChanges(registry, changes));
    CRegKey server(registry);
    ASSERT_EQ(kErrorSuccess, server.Open(kHkeyClassesRoot, "CLSID\\{X}\\InprocServer32"));
    char path[16];
    std::uint32_t size = sizeof path;
    ASSERT_EQ(kErrorSuccess, server.QueryString("", path, &size));
    EXPECT_STREQ("x.dll", path);
    server.Close();
    std::uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(registry.GetRaw("Software\\Run", "Count", &type, &bytes));
    EXPECT_EQ(kRegDword, type);
    EXPECT_EQ("\x0D\x0C\x0B\x0A", bytes);
    EXPECT_FALSE(registry.HasValue("Software\\Run", "Stale"));
    EXPECT_FALSE(registry.HasKey("Software\\Old"));
    EXPECT_EQ(0u, registry.OpenHandleCount());

    // A value goes into an existing key only; the list stops there.
    const RegChanges blocked = {
        SetStringChange(kHkeyCurrentUser, "Software\\Missing", "DriveType", "std"),
        SetDwordChange(kHkeyCurrentUser, "Software\\Run", "After", 1),
    };
    EXPECT_EQ(kErrorFileNotFound, ApplyRegChanges(registry, blocked));
    EXPECT_FALSE(registry.HasKey("Software\\Missing"));
    EXPECT_FALSE(registry.HasValue("Software\\Run", "After"));

    registry.failSetValue = [](const std::string& name) { return name == "B" ? kErrorAccessDenied : 0; };
    EXPECT_EQ(kErrorAccessDenied,
              ApplyRegChanges(registry, {SetDwordChange(kHkeyCurrentUser, "Software\\Run", "A", 1),
                                         SetDwordChange(kHkeyCurrentUser, "Software\\Run", "B", 1),
                                         SetDwordChange(kHkeyCurrentUser, "Software\\Run", "C", 1)}));
    EXPECT_TRUE(registry.HasValue("Software\\Run", "A"));
    EXPECT_FALSE(registry.HasValue("Software\\Run", "C"));
}

}  // namespace
}  // namespace zurimo
