#include "app/hot_key_rules.h"

namespace zurimo {

std::uint32_t HotKeyModifiers(std::uint16_t stored) {
    if (stored > 7) return 0;
    std::uint32_t modifiers = 0;
    if (stored & kHotKeyShift) modifiers |= kModShift;
    if (stored & kHotKeyControl) modifiers |= kModControl;
    if (stored & kHotKeyAlt) modifiers |= kModAlt;
    return modifiers;
}

HotKeyChange DecideHotKeyChange(std::uint16_t oldKey, std::uint16_t oldModifiers,
                                std::uint16_t newKey, std::uint16_t newModifiers) {
    HotKeyChange change;
    if (newKey != 0) {
        if (newModifiers != 0 && (newKey != oldKey || newModifiers != oldModifiers)) {
            change.unregister = true;
            change.registerNew = true;
        }
    } else if (newModifiers == 0) {
        change.unregister = true;
    }
    return change;
}

}  // namespace zurimo
