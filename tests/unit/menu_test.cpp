// The context menu's core: the stored lists, the folder table, the menu's sections and
// identifiers, the folder dialog's lists and the user-string checks.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "menu/folder_list.h"
#include "menu/folder_menu_model.h"
#include "menu/stored_list.h"
#include "menu/user_string.h"
#include "menu/zurimo_menu.h"
#include "tests/support/memory_registry.h"
#include "tests/support/reg_change_printer.h"

namespace zurimo {
namespace {

constexpr char kApp[] = "Software\\Kestro!\\Zurimo!";

// Every folder of the default table resolves to C:\F<number>, the temporary folder with its
// trailing backslash as the system gives it; numbers in `missing` do not resolve.
struct FakeFolders : FolderResolver {
    std::map<int, std::string> paths;
    FakeFolders() {
        for (const FolderRow& row : kDefaultFolders) paths[row.number] = "C:\\F" + std::to_string(row.number);
        paths[kFolderTemporary] = "C:\\Temp\\";
    }
    std::string SystemPath(int number) override {
        auto it = paths.find(number);
        return it == paths.end() ? std::string() : it->second;
    }
};

struct FakePlatform : MenuPlatform {
    std::vector<std::string>* appended;
    int choice = 0;
    bool popup = false;
    explicit FakePlatform(std::vector<std::string>* log) : appended(log) {}
    bool CreatePopup() override { return popup = true; }
    bool HasPopup() const override { return popup; }
    bool Append(unsigned flags, int id, const std::string& caption) override {
        appended->push_back(flags == kMenuSeparator ? std::to_string(id) + " -"
                                                    : std::to_string(id) + " " + caption);
        return true;
    }
    int Track(int, int, std::uintptr_t) override { return choice; }
    void ReportOutOfMemory() override { appended->push_back("out of memory"); }
};

void PutUser(MemoryRegistry& registry, int n, const std::string& caption,
             const std::string& content, std::uint32_t show = 1) {
    std::string key = std::string(kApp) + "\\User" + std::to_string(n);
    registry.PutString(key, "Caption", caption);
    registry.PutString(key, "Content", content);
    registry.PutDword(key, "Show", show);
}

std::vector<std::string> Captions(const MenuItemList& items) {
    std::vector<std::string> captions;
    for (const CMenuItem& item : items) captions.push_back(item.caption);
    return captions;
}

TEST(StoredListTest, ReadingTakesWhatTheRulesAllowAndStopsAtTheFirstGap) {
    MemoryRegistry registry;
    const std::string user0 = std::string(kApp) + "\\User0";
    // A caption past the limit whose 259th byte would split a double-byte character.
    std::string longCaption = std::string(258, 'a') + "\x82\xa0" + "tail";
    registry.PutString(user0, "Caption", longCaption);
    registry.PutRaw(user0, "Content", kRegMultiSz, std::string("first\0second\0\0", 14));
    registry.PutRaw(user0, "Show", kRegDword, std::string("\x01\x00", 2));  // too short
    registry.PutDword(user0, "Other", 7);
    const std::string user1 = std::string(kApp) + "\\User1";
    registry.PutRaw(user1, "Caption", kRegBinary, "bin");
    registry.PutRaw(user1, "Content", kRegExpandSz, std::string("%TEMP%\0", 7));
    registry.PutString(std::string(kApp) + "\\User3", "Caption", "after the gap");

    std::vector<StoredEntry> read = ReadStoredList(registry, StoredListKind::kUsers);
    ASSERT_EQ(2u, read.size());
    EXPECT_EQ(std::string(258, 'a'), read[0].caption) << "cut before the split character";
    EXPECT_EQ("first", read[0].content);
    EXPECT_EQ(0u, read[0].show);
    EXPECT_EQ(7u, read[0].other);
    EXPECT_EQ("", read[1].caption);
    EXPECT_EQ("%TEMP%", read[1].content) << "not expanded";
    EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST(StoredListTest, StoringOverwritesInPlaceThenDeletesWhatIsBeyondTheNewList) {
    MemoryRegistry registry;
    for (int n = 0; n < 4; ++n) PutUser(registry, n, "old" + std::to_string(n), "c");
    registry.PutDword(std::string(kApp) + "\\User3\\Below", "X", 1);

    std::vector<StoredEntry> entries(2);
    entries[0].caption = "one";
    entries[0].content = "1";
    entries[0].show = 1;
    entries[1].caption = "two";
    entries[1].content = "2\r\n2";
    entries[1].show = 1;
    RegChanges changes = StoredListChanges(StoredListKind::kUsers, entries, 4);
    ASSERT_EQ(14u, changes.size());
    EXPECT_EQ(CreateKeyChange(kHkeyCurrentUser, std::string(kApp) + "\\User0"), changes[0]);
    EXPECT_EQ(SetStringChange(kHkeyCurrentUser, std::string(kApp) + "\\User1", "Content", "2\r\n2"),
              changes[8]);
    EXPECT_EQ(DeleteTreeChange(kHkeyCurrentUser, std::string(kApp) + "\\User3"), changes[12])
        << "the highest key goes first, and only after every entry is written";
    EXPECT_EQ(DeleteTreeChange(kHkeyCurrentUser, std::string(kApp) + "\\User2"), changes[13]);

    ASSERT_EQ(kErrorSuccess, ApplyRegChanges(registry, changes));
    std::vector<StoredEntry> read = ReadStoredList(registry, StoredListKind::kUsers);
    ASSERT_EQ(2u, read.size());
    EXPECT_EQ("two", read[1].caption);
    EXPECT_EQ(1u, read[1].show);
    EXPECT_FALSE(registry.HasKey(std::string(kApp) + "\\User2"));
    std::vector<std::string> expectedOrder = {"Caption", "Content", "Other", "Flags", "Show"};
    std::vector<std::string> order = registry.ValueNamesInWriteOrder();
    EXPECT_EQ(expectedOrder, std::vector<std::string>(order.end() - 10, order.end() - 5));
}

TEST(FolderListTest, FirstUseStoresTheDefaultTableAsItResolvesHere) {
    MemoryRegistry registry;
    FakeFolders folders;
    folders.paths.erase(0x19);  // "Desktop (共通)" does not resolve on this machine
    MenuItemList items;
    CFolderArray array(registry, folders);
    EXPECT_EQ(20, array.Load(items, true));
    ASSERT_EQ(20u, items.size());
    EXPECT_EQ("Application Data", items[0].caption);
    EXPECT_EQ("Desktop", items[1].caption);
    EXPECT_EQ("Favorites", items[2].caption);
    int shown = 0;
    for (const CMenuItem& item : items) shown += item.show;
    EXPECT_EQ(8, shown);
    EXPECT_EQ("C:\\F0\\", items[1].content) << "AddYen adds the backslash";
    EXPECT_EQ("C:\\Temp\\", items[17].content) << "the temporary folder keeps its own one";

    std::vector<StoredEntry> stored = ReadStoredList(registry, StoredListKind::kFolders);
    ASSERT_EQ(20u, stored.size());
    EXPECT_EQ("Windows", stored[19].caption);
    EXPECT_EQ(0x24u, stored[19].other);
    EXPECT_EQ(1u, stored[19].show);
    EXPECT_FALSE(registry.HasValue(std::string(kApp) + "\\Folder0", "Content")) << "no path is stored";

    // Reset over a longer stored list: the table again, the surplus keys gone.
    registry.PutDword(std::string(kApp) + "\\Folder20", "Other", 5);
    registry.PutDword(std::string(kApp) + "\\Folder21", "Other", 5);
    CFolderArray again(registry, folders);
    again.m_nCount = 22;
    EXPECT_EQ(20, again.Reset());
    EXPECT_FALSE(registry.HasKey(std::string(kApp) + "\\Folder20"));
    EXPECT_FALSE(registry.HasKey(std::string(kApp) + "\\Folder21"));
}

TEST(FolderListTest, StoredEntriesResolveCountAndKeepTheirSeparators) {
    MemoryRegistry registry;
    FakeFolders folders;
    const std::string f = std::string(kApp) + "\\Folder";
    registry.PutString(f + "0", "Caption", "Sep");
    registry.PutDword(f + "0", "Flags", kMenuSeparator);
    registry.PutDword(f + "0", "Other", 0x24);
    registry.PutString(f + "1", "Caption", "Gone");
    registry.PutDword(f + "1", "Other", 0x7777);  // resolves nowhere
    registry.PutString(f + "2", "Caption", "Temp");
    registry.PutDword(f + "2", "Other", kFolderTemporary);
    registry.PutDword(f + "2", "Show", 1);
    registry.PutString(f + "4", "Caption", "after the gap");

    MenuItemList items;
    CFolderArray array(registry, folders);
    EXPECT_EQ(3, array.Load(items, false)) << "the unresolved entry is counted";
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ(SeparatorItem(0), items[0]) << "a separator whatever its caption and number";
    EXPECT_EQ("C:\\Temp", items[1].content) << "without AddYen the temporary folder loses it";

    // The double-byte test: 0x5C as a trail byte is not a backslash.
    folders.paths[0x05] = "C:\\\x95\x5c";
    EXPECT_EQ("C:\\\x95\x5c\\", GetFolderPath(folders, 0x05, true));
    EXPECT_EQ("C:\\\x95\x5c", GetFolderPath(folders, 0x05, false));
    folders.paths[0x05] = "C:\\Docs\\";
    EXPECT_EQ("C:\\Docs\\", GetFolderPath(folders, 0x05, true));
}

TEST(ZurimoMenuTest, SectionsIdentifiersSeparatorsAndChoices) {
    MemoryRegistry registry;
    FakeFolders folders;
    PutUser(registry, 0, "Mail", "me@example.jp");
    PutUser(registry, 1, "Empty", "");  // skipped: no content
    PutUser(registry, 2, "Sign", "--\r\nZ", 1);

    std::vector<std::string> appended;
    auto platform = std::make_unique<FakePlatform>(&appended);
    FakePlatform* fake = platform.get();
    CZurimoMenu menu(std::move(platform));
    ASSERT_EQ(1, menu.Build({registry, folders, 0, false}));
    ASSERT_EQ(24u, menu.items()->size()) << "21 folders, a separator, 2 user strings";
    std::vector<std::string> expected = {"2 Desktop", "7 My Document", "9 Program Files",
                                         "14 StartMenu", "16 StartUp", "18 System",
                                         "19 Temporary", "21 Windows", "22 -", "23 Mail", "24 Sign"};
    EXPECT_EQ(expected, appended);

    fake->choice = 24;
    EXPECT_EQ(5, menu.Track(10, 20, 0));
    EXPECT_EQ("--\r\nZ", menu.GetText());
    fake->choice = 0;
    EXPECT_EQ(0, menu.Track(10, 20, 0));
    EXPECT_EQ("--\r\nZ", menu.GetText()) << "a dismissed menu keeps the last choice";
    fake->choice = 19;
    menu.Track(0, 0, 0);
    EXPECT_EQ("C:\\Temp", menu.GetText());

    // User strings first; with every folder hidden the visible menu starts with a line.
    for (int n = 0; n < 21; ++n) {
        registry.PutDword(std::string(kApp) + "\\Folder" + std::to_string(n), "Show", 0);
    }
    appended.clear();
    CZurimoMenu usersFirst(std::make_unique<FakePlatform>(&appended));
    usersFirst.Build({registry, folders, 1, false});
    EXPECT_EQ((std::vector<std::string>{"1 Mail", "2 Sign", "3 -"}), appended);
    appended.clear();
    CZurimoMenu foldersFirst(std::make_unique<FakePlatform>(&appended));
    foldersFirst.Build({registry, folders, 0, false});
    EXPECT_EQ((std::vector<std::string>{"22 -", "23 Mail", "24 Sign"}), appended);

    // No user strings: no separator.
    MemoryRegistry bare;
    appended.clear();
    CZurimoMenu onlyFolders(std::make_unique<FakePlatform>(&appended));
    onlyFolders.Build({bare, folders, 1, false});
    EXPECT_EQ(21u, onlyFolders.items()->size());
    EXPECT_EQ(8u, appended.size());
}

int CompareIgnoringCase(const std::string& a, const std::string& b) {
    std::string x = a, y = b;
    for (char& c : x) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : y) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return x.compare(y);
}

TEST(FolderMenuModelTest, ShownInMenuOrderHiddenSortedMovesAndStoredOrder) {
    MemoryRegistry registry;
    FakeFolders folders;
    MenuItemList items;
    CFolderArray(registry, folders).Load(items, false);
    FolderMenuModel model(CompareIgnoringCase);
    model.Load(registry, folders);
    EXPECT_EQ(21, model.storedCount());
    EXPECT_EQ((std::vector<std::string>{"Desktop", "My Document", "Program Files", "StartMenu",
                                        "StartUp", "System", "Temporary", "Windows"}),
              Captions(model.shown()));
    EXPECT_EQ(13u, model.hidden().size());
    EXPECT_EQ("Application Data", model.hidden().front().caption);
    EXPECT_EQ("Templates", model.hidden().back().caption);
    EXPECT_EQ("C:\\Temp", model.shown()[6].content) << "paths without the trailing backslash";

    EXPECT_EQ(12, model.Hide(5)) << "System goes after StartUp (共通)";
    EXPECT_EQ("System", model.hidden()[12].caption);
    EXPECT_EQ(0, model.hidden()[12].show);
    EXPECT_EQ(3, model.Show(0, 3)) << "Application Data goes before StartMenu";
    EXPECT_EQ(8, model.Show(0, -1)) << "Desktop (共通) goes to the end";
    EXPECT_FALSE(model.Up(0));
    EXPECT_FALSE(model.Down(8));
    EXPECT_TRUE(model.Down(0));
    EXPECT_EQ(-1, model.Show(50, 0));

    std::vector<StoredEntry> stored = model.ToStore();
    ASSERT_EQ(21u, stored.size());
    EXPECT_EQ("My Document", stored[0].caption);
    EXPECT_EQ("Desktop", stored[1].caption);
    EXPECT_EQ("Application Data", stored[3].caption);
    EXPECT_EQ("Desktop (共通)", stored[8].caption);
    EXPECT_EQ(1u, stored[8].show);
    EXPECT_EQ("Favorites", stored[9].caption);
    EXPECT_EQ(0u, stored[9].show);
}

TEST(UserStringTest, ChecksLimitsEmptinessAndDuplicateCaptions) {
    MenuItemList existing(1);
    existing[0].caption = "Mail";
    EXPECT_TRUE(CheckUserString("Mail ", "x", true, existing)) << "a trailing space differs";
    EXPECT_TRUE(CheckUserString("mail", "x", true, existing)) << "so does letter case";
    EXPECT_TRUE(CheckUserString("Mail", "x", false, existing)) << "an edit is not compared";
    EXPECT_TRUE(CheckUserString("   ", "x", true, existing)) << "spaces are a caption";

    UserStringCheck duplicate = CheckUserString("Mail", "x", true, existing);
    EXPECT_EQ(UserStringCheck::Field::kCaption, duplicate.field);
    EXPECT_EQ("Mail は既に登録されています。\r\n違う表示名を付けてください。", duplicate.message);
    EXPECT_FALSE(duplicate.tooLong);
    EXPECT_EQ("表示名が無効です。", CheckUserString("", "x", true, existing).message);
    UserStringCheck empty = CheckUserString("A", "", true, existing);
    EXPECT_EQ(UserStringCheck::Field::kContent, empty.field);
    EXPECT_EQ("内容がありません。", empty.message);
    UserStringCheck longCaption = CheckUserString(std::string(257, 'a'), "", true, existing);
    EXPECT_EQ("256 文字以内で入力してください。", longCaption.message);
    EXPECT_TRUE(longCaption.tooLong);
    EXPECT_EQ("1023 文字以内で入力してください。",
              CheckUserString("A", std::string(1024, 'c'), true, existing).message);
    EXPECT_TRUE(CheckUserString(std::string(256, 'a'), std::string(1023, 'c'), true, existing));
}

}  // namespace
}  // namespace zurimo
