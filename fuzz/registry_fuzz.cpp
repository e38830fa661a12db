// The readers of the program's registry lists and settings over any keys and values: the
// Folder<n> and User<n> lists (menu/), the Explorer extension's settings, user strings and
// Unix style (shellext/), and the recent search texts read through the profile. Each reads
// what it documents, the two readers of the user strings agree, and every key is closed.
#include <optional>
#include <string>
#include <vector>

#include "base/profile.h"
#include "fuzz/fuzz.h"
#include "fuzz/registry_input.h"
#include "history/find.h"
#include "menu/folder_list.h"
#include "menu/stored_list.h"
#include "menu/user_list.h"
#include "shellext/shell_settings.h"

namespace zurimo::fuzz {
namespace {

// Folder paths from the input, as the system gives them: whole characters (no lead byte
// left alone at the end), and the temporary folder with its trailing backslash.
class FakeFolders : public FolderResolver {
public:
    std::string SystemPath(int number) override {
        std::string path = paths[static_cast<unsigned>(number) % 8];
        std::vector<std::size_t> starts = CharStarts(path);
        if (!path.empty() && starts[starts.size() - 2] + 1 == path.size() &&
            IsLeadByte932(static_cast<unsigned char>(path.back()))) {
            path.pop_back();
        }
        if (number == kFolderTemporary && !path.empty() && !EndsWithBackslash(path)) path += '\\';
        return path;
    }
    std::string paths[8];
};

bool IsText(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// A value's first string (up to its first zero); nothing when it is missing or no text.
std::optional<std::string> FirstString(const MemoryRegistry& registry, const std::string& key,
                                       const std::string& name, bool multi = true) {
    std::uint32_t type = 0;
    std::string bytes;
    if (!registry.GetRaw(key, name, &type, &bytes)) return std::nullopt;
    if (!(type == kRegSz || type == kRegExpandSz || (multi && type == kRegMultiSz))) {
        return std::nullopt;
    }
    return bytes.substr(0, bytes.find('\0'));
}

bool HasDword(const MemoryRegistry& registry, const std::string& key, const std::string& name,
              std::uint32_t* value) {
    std::uint32_t type = 0;
    std::string bytes;
    if (!registry.GetRaw(key, name, &type, &bytes) || type != kRegDword || bytes.size() != 4) {
        return false;
    }
    *value = static_cast<std::uint8_t>(bytes[0]) | static_cast<std::uint8_t>(bytes[1]) << 8 |
             static_cast<std::uint8_t>(bytes[2]) << 16 |
             static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[3])) << 24;
    return true;
}

std::size_t KeyRun(const MemoryRegistry& registry, StoredListKind kind) {
    std::size_t n = 0;
    while (registry.HasKey(StoredKeyPath(kind, static_cast<int>(n)))) ++n;
    return n;
}

void CheckStoredList(const MemoryRegistry& registry, StoredListKind kind,
                     const std::vector<StoredEntry>& entries) {
    FUZZ_CHECK(entries.size() == KeyRun(registry, kind));
    for (std::size_t n = 0; n < entries.size(); ++n) {
        std::string key = StoredKeyPath(kind, static_cast<int>(n));
        const StoredEntry& entry = entries[n];
        std::optional<std::string> caption = FirstString(registry, key, "Caption");
        FUZZ_CHECK(entry.caption == CutAtCharBoundary(caption.value_or(""), kStoredCaptionLimit));
        std::string content = kind == StoredListKind::kUsers
                                  ? FirstString(registry, key, "Content").value_or("")
                                  : std::string();
        FUZZ_CHECK(entry.content == CutAtCharBoundary(content, kStoredContentLimit));
        std::uint32_t value = 0;
        FUZZ_CHECK(entry.other == (HasDword(registry, key, "Other", &value) ? value : 0));
        FUZZ_CHECK(entry.flags == (HasDword(registry, key, "Flags", &value) ? value : 0));
        FUZZ_CHECK(entry.show == (HasDword(registry, key, "Show", &value) ? value : 0));
    }
}

}  // namespace

int RegistryFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::uint8_t flags = in.Byte();
    FakeFolders folders;
    for (std::string& path : folders.paths) path = in.Text();
    MemoryRegistry registry;
    FillRegistry(in, registry);
    const std::string app = kAppKey;

    // The stored lists, and the menu's two arrays built on them.
    std::vector<StoredEntry> stored = ReadStoredList(registry, StoredListKind::kFolders);
    CheckStoredList(registry, StoredListKind::kFolders, stored);
    std::vector<StoredEntry> users = ReadStoredList(registry, StoredListKind::kUsers);
    CheckStoredList(registry, StoredListKind::kUsers, users);
    FUZZ_CHECK(registry.OpenHandleCount() == 0);

    MenuItemList items(flags % 3);
    CUserMenuArray userArray(registry);
    std::size_t complete = 0;
    for (const StoredEntry& entry : users) {
        complete += !entry.caption.empty() && !entry.content.empty();
    }
    FUZZ_CHECK(userArray.Load(items) == static_cast<int>(flags % 3 + complete));
    FUZZ_CHECK(items.size() == flags % 3 + complete);

    // Read-only checks first: the shell extension's readers.
    std::optional<ShellSettings> settings = ReadShellSettings(registry);
    std::uint32_t limit = 0, sep = 0, hier = 0, user = 0;
    const std::string settingsKey = app + "\\Settings";
    bool all = HasDword(registry, settingsKey, "ShellLimit", &limit) && limit != 0 &&
               HasDword(registry, settingsKey, "ShellSep", &sep) &&
               HasDword(registry, settingsKey, "ShellHierarchy", &hier) &&
               HasDword(registry, settingsKey, "ShellUserMenu", &user);
    FUZZ_CHECK(settings.has_value() == all);
    if (settings) {
        FUZZ_CHECK(settings->separator == (sep != 0) && settings->hierarchy == (hier != 0) &&
                   settings->userMenu == (user != 0));
    }

    std::vector<std::optional<std::string>> captions = ReadUserCaptions(registry);
    FUZZ_CHECK(captions.size() == users.size());
    for (std::size_t k = 0; k < captions.size(); ++k) {
        std::optional<std::string> raw =
            FirstString(registry, StoredKeyPath(StoredListKind::kUsers, static_cast<int>(k)),
                        "Caption");
        // A caption the menu's buffer takes whole, else nothing.
        FUZZ_CHECK(captions[k] == (raw && raw->size() < 260 ? raw : std::nullopt));
        if (captions[k]) FUZZ_CHECK(*captions[k] == users[k].caption);
    }
    for (int k = -1; k <= static_cast<int>(users.size()); ++k) {
        std::optional<std::string> content = ReadUserContent(registry, k);
        if (k < 0 || k == static_cast<int>(users.size())) {
            FUZZ_CHECK(!content);
            continue;
        }
        std::string key = StoredKeyPath(StoredListKind::kUsers, k);
        std::uint32_t type = 0;
        std::string bytes;
        bool fits = registry.GetRaw(key, "Content", &type, &bytes) && IsText(type) &&
                    bytes.size() <= 1024 && bytes.substr(0, bytes.find('\0')).size() < 1024;
        FUZZ_CHECK(content.has_value() == fits);
        if (content) FUZZ_CHECK(*content == users[k].content);
    }

    std::optional<std::string> driveType = FirstString(registry, app + "\\ShellExt", "DriveType");
    UnixStyle style = driveType && driveType->size() < 8 ? UnixStyleFrom(*driveType)
                                                         : UnixStyle::kStandard;
    FUZZ_CHECK(ReadUnixStyle(registry) == style);
    FUZZ_CHECK(registry.OpenHandleCount() == 0);

    // The recent search texts through the profile: a REG_SZ or REG_EXPAND_SZ up to its zero.
    Profile profile(registry, app);
    for (int i = 0; i < static_cast<int>(kRecentTextCount); ++i) {
        std::string name = RecentTextValueName(i);
        std::optional<std::string> raw = FirstString(registry, settingsKey, name, false);
        FUZZ_CHECK(profile.GetString("Settings", name, "\x01") == raw.value_or("\x01"));
    }

    // The folder array last, as it stores the default table when there is no list.
    MenuItemList folderItems;
    CFolderArray folderArray(registry, folders);
    bool addYen = (flags & 0x10) != 0;
    int count = folderArray.Load(folderItems, addYen);
    FUZZ_CHECK(count == folderArray.m_nCount);
    for (const CMenuItem& item : folderItems) {
        if (item.flags == kMenuSeparator) continue;
        FUZZ_CHECK(!item.content.empty());
        if (addYen) FUZZ_CHECK(EndsWithBackslash(item.content));
        // The temporary folder loses the one backslash the system ends it with.
        if (!addYen && item.other == kFolderTemporary) {
            FUZZ_CHECK(item.content + "\\" == folders.SystemPath(kFolderTemporary));
        }
    }
    if (stored.empty()) {
        FUZZ_CHECK(folderItems.size() == static_cast<std::size_t>(count));
        std::vector<StoredEntry> written = ReadStoredList(registry, StoredListKind::kFolders);
        FUZZ_CHECK(written.size() >= static_cast<std::size_t>(count));
        for (int n = 0; n < count; ++n) FUZZ_CHECK(written[n].caption == folderItems[n].caption);
    } else {
        FUZZ_CHECK(count == static_cast<int>(stored.size()));
        FUZZ_CHECK(folderItems.size() <= stored.size());
    }
    FUZZ_CHECK(registry.OpenHandleCount() == 0);
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(RegistryFuzz)
