// What a key pressed in the history list does while Ctrl is held, and where previous and
// next lead.
#pragma once

#include <array>
#include <cstdint>

namespace zurimo {

// The operations of the history window that have a Ctrl key, in key-table order, and
// their default keys (C, D, F, E, O, Q, P, N, M).
constexpr int kKeyCount = 9;
using KeyTable = std::array<std::uint16_t, kKeyCount>;
constexpr KeyTable kDefaultKeys = {'C', 'D', 'F', 'E', 'O', 'Q', 'P', 'N', 'M'};

enum class ListKeyAction {
    kNone,
    kDigit,  // select (and with Number on, take out) the digit's entry
    kTakeOut,
    kDelete,
    kFind,
    kEdit,
    kOptions,
    kClose,
    kPrevious,
    kNext,
    kContextMenu,
};

constexpr std::uint16_t kVkComma = 0xBC;   // VK_OEM_COMMA
constexpr std::uint16_t kVkPeriod = 0xBE;  // VK_OEM_PERIOD

// Digits first, then the key table in its order (the first match acts); comma and period
// also go to previous and next.
ListKeyAction CtrlKeyAction(std::uint16_t virtualKey, const KeyTable& keys);

// The entry a digit selects: counted from the first visible entry.
inline int DigitIndex(int firstVisible, std::uint16_t virtualKey) {
    return firstVisible + (virtualKey - '1');
}

// Previous: the entry before the selection; the first stays; no selection stays none (-1).
inline int PreviousIndex(int selected) { return selected > 0 ? selected - 1 : selected; }
// Next: the entry after the selection, or the first when none is selected.
inline int NextIndex(int selected) { return selected < 0 ? 0 : selected + 1; }

}  // namespace zurimo
