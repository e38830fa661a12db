// The numbered lists under the program's registry key: Folder0, Folder1, ... for the
// special folders and User0, User1, ... for the user strings. Numbers run from 0 without
// gaps; reading stops at the first missing number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/reg_changes.h"
#include "base/registry.h"

namespace zurimo {

enum class StoredListKind { kFolders, kUsers };

// What a key holds. Folders have Caption, Other, Flags, Show; user strings Caption,
// Content, Other, Flags, Show.
struct StoredEntry {
    std::string caption;
    std::string content;
    std::uint32_t other = 0;
    std::uint32_t flags = 0;
    std::uint32_t show = 0;
};

// The most of a stored caption and content that a record holds.
constexpr std::size_t kStoredCaptionLimit = 259;
constexpr std::size_t kStoredContentLimit = 1023;

// "Software\Kestro!\Zurimo!\Folder3" and the like, below HKEY_CURRENT_USER.
std::string StoredKeyPath(StoredListKind kind, int number);

// Every entry from number 0 up to the first key that does not open. A text is taken from
// REG_SZ, REG_EXPAND_SZ (not expanded) or REG_MULTI_SZ (its first string) and cut at a
// character boundary to its limit; anything else reads as empty. A number is taken only
// from a four-byte REG_DWORD, else it reads as 0.
std::vector<StoredEntry> ReadStoredList(Registry& registry, StoredListKind kind);

// Stores `entries` as the list: each key is written over in place, number by number, and
// only then are the keys from entries.size() up to `storedCount` - 1 deleted, the highest
// first. A failure on the way therefore never loses the list that was there.
RegChanges StoredListChanges(StoredListKind kind, const std::vector<StoredEntry>& entries,
                             int storedCount);

}  // namespace zurimo
