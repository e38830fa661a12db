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

}  // namespace zurimo
