// What the stored hot-key settings mean for the registration of the global hot key.
#pragma once

#include <cstdint>

namespace zurimo {

// Modifier flags as the hot-key control stores them.
constexpr std::uint16_t kHotKeyShift = 1;
constexpr std::uint16_t kHotKeyControl = 2;
constexpr std::uint16_t kHotKeyAlt = 4;

// Modifier flags of RegisterHotKey.
constexpr std::uint32_t kModAlt = 1;
constexpr std::uint32_t kModControl = 2;
constexpr std::uint32_t kModShift = 4;

// The registration modifiers for stored ones. Any value above 7 (the extended-key flag 8
// among them) registers no modifiers.
std::uint32_t HotKeyModifiers(std::uint16_t stored);

// What confirming a new hot key does to the registration. A key with no modifiers changes
// nothing; a cleared pair (0, 0) only unregisters; a new, different pair re-registers. The
// new pair is stored in every case.
struct HotKeyChange {
    bool unregister = false;
    bool registerNew = false;
};
HotKeyChange DecideHotKeyChange(std::uint16_t oldKey, std::uint16_t oldModifiers,
                                std::uint16_t newKey, std::uint16_t newModifiers);

}  // namespace zurimo
