#include "history/list_keys.h"

namespace zurimo {

ListKeyAction CtrlKeyAction(std::uint16_t virtualKey, const KeyTable& keys) {
    if (virtualKey >= '1' && virtualKey <= '9') return ListKeyAction::kDigit;
    static constexpr ListKeyAction kByIndex[9] = {
        ListKeyAction::kTakeOut, ListKeyAction::kDelete,   ListKeyAction::kFind,
        ListKeyAction::kEdit,    ListKeyAction::kOptions,  ListKeyAction::kClose,
        ListKeyAction::kPrevious, ListKeyAction::kNext,    ListKeyAction::kContextMenu,
    };
    for (int i = 0; i < 9; ++i) {
        if (keys[i] != 0 && keys[i] == virtualKey) return kByIndex[i];
        if (i == 6 && virtualKey == kVkComma) return ListKeyAction::kPrevious;
        if (i == 7 && virtualKey == kVkPeriod) return ListKeyAction::kNext;
    }
    return ListKeyAction::kNone;
}

}  // namespace zurimo
