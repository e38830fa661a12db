// The user strings the context menu offers: short texts the user defines once, each with a
// caption for the menu and the content it delivers.
#pragma once

#include "base/registry.h"
#include "menu/menu_item.h"

namespace zurimo {

class CUserMenuArray {
public:
    explicit CUserMenuArray(Registry& registry) : registry_(registry) {}
    virtual ~CUserMenuArray() = default;

    // Appends the stored strings that have both a caption and a content to `items` and
    // returns how many records `items` holds afterwards.
    int Load(MenuItemList& items);

private:
    Registry& registry_;
};

}  // namespace zurimo
