#include "menu/user_list.h"

#include "menu/stored_list.h"

namespace zurimo {

int CUserMenuArray::Load(MenuItemList& items) {
    for (StoredEntry& entry : ReadStoredList(registry_, StoredListKind::kUsers)) {
        if (entry.caption.empty() || entry.content.empty()) continue;
        CMenuItem item;
        item.caption = std::move(entry.caption);
        item.content = std::move(entry.content);
        item.show = static_cast<int>(entry.show);
        items.push_back(std::move(item));
    }
    return static_cast<int>(items.size());
}

}  // namespace zurimo
