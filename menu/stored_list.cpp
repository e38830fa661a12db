#include "menu/stored_list.h"

#include <cstring>

#include "base/product.h"
#include "base/reg_key.h"
#include "base/text.h"

namespace zurimo {
namespace {

// Longer values are no text of ours and are not read at all.
constexpr std::uint32_t kMaxStoredValue = 1 << 20;

std::string ReadText(Registry& registry, RegHandle key, const char* name, std::size_t limit) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry.QueryValue(key, name, &type, nullptr, &size) != kErrorSuccess ||
        (type != kRegSz && type != kRegExpandSz && type != kRegMultiSz) ||
        size > kMaxStoredValue) {
        return std::string();
    }
    std::string bytes(size, '\0');
    if (registry.QueryValue(key, name, &type, &bytes[0], &size) != kErrorSuccess) {
        return std::string();
    }
    bytes.resize(strnlen(bytes.data(), size));  // the first string, without its zero
    return CutAtCharBoundary(bytes, limit);
}

std::uint32_t ReadNumber(CRegKey& key, const char* name) {
    std::uint32_t value = 0;
    key.QueryDword(name, &value);  // anything but a four-byte REG_DWORD leaves 0
    return value;
}

}  // namespace

std::string StoredKeyPath(StoredListKind kind, int number) {
    return std::string(kAppKey) + (kind == StoredListKind::kFolders ? "\\Folder" : "\\User") +
           std::to_string(number);
}

std::vector<StoredEntry> ReadStoredList(Registry& registry, StoredListKind kind) {
    std::vector<StoredEntry> entries;
    for (int number = 0;; ++number) {
        CRegKey key(registry);
        if (key.Open(kHkeyCurrentUser, StoredKeyPath(kind, number)) != kErrorSuccess) break;
        StoredEntry entry;
        entry.caption = ReadText(registry, key.Get(), "Caption", kStoredCaptionLimit);
        if (kind == StoredListKind::kUsers) {
            entry.content = ReadText(registry, key.Get(), "Content", kStoredContentLimit);
        }
        entry.other = ReadNumber(key, "Other");
        entry.flags = ReadNumber(key, "Flags");
        entry.show = ReadNumber(key, "Show");
        entries.push_back(std::move(entry));
    }
    return entries;
}

RegChanges StoredListChanges(StoredListKind kind, const std::vector<StoredEntry>& entries,
                             int storedCount) {
    RegChanges changes;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const StoredEntry& entry = entries[i];
        std::string key = StoredKeyPath(kind, static_cast<int>(i));
        changes.push_back(CreateKeyChange(kHkeyCurrentUser, key));
        changes.push_back(SetStringChange(kHkeyCurrentUser, key, "Caption", entry.caption));
        if (kind == StoredListKind::kUsers) {
            changes.push_back(SetStringChange(kHkeyCurrentUser, key, "Content", entry.content));
        }
        changes.push_back(SetDwordChange(kHkeyCurrentUser, key, "Other", entry.other));
        changes.push_back(SetDwordChange(kHkeyCurrentUser, key, "Flags", entry.flags));
        changes.push_back(SetDwordChange(kHkeyCurrentUser, key, "Show", entry.show));
    }
    for (int number = storedCount - 1; number >= static_cast<int>(entries.size()); --number) {
        changes.push_back(DeleteTreeChange(kHkeyCurrentUser, StoredKeyPath(kind, number)));
    }
    return changes;
}

}  // namespace zurimo
