// Registry changes as data: a builder yields the list of what is to be written or removed,
// and one applier carries the list out over the registry interface. Lists compare equal
// when they would do the same, so that what a feature writes is tested without a registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/registry.h"

namespace zurimo {

struct RegChange {
    enum class Kind {
        kCreateKey,    // the key, with any missing parents
        kSetValue,     // into an existing key only
        kDeleteValue,
        kDeleteTree,   // the key with everything below it
    };
    Kind kind = Kind::kCreateKey;
    RegHandle root = kHkeyCurrentUser;
    std::string key;   // below `root`
    std::string name;  // the value's name (kSetValue, kDeleteValue)
    std::uint32_t type = kRegNone;
    std::string data;  // the value's bytes as stored

    bool operator==(const RegChange& other) const;
    bool operator!=(const RegChange& other) const { return !(*this == other); }
};
using RegChanges = std::vector<RegChange>;

// The builders, one for each kind of change.
RegChange CreateKeyChange(RegHandle root, std::string key);
// A REG_SZ, stored with its terminating zero.
RegChange SetStringChange(RegHandle root, std::string key, std::string name,
                          const std::string& text);
RegChange SetDwordChange(RegHandle root, std::string key, std::string name,
                         std::uint32_t value);
RegChange DeleteValueChange(RegHandle root, std::string key, std::string name);
RegChange DeleteTreeChange(RegHandle root, std::string key);

// Carries out the changes in order and stops at the first that fails. Returns that
// change's Windows error code, or 0 when all succeeded.
long ApplyRegChanges(Registry& registry, const RegChanges& changes);

}  // namespace zurimo
