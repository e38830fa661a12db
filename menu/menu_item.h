// One entry of the history window's context menu, and the ordered lists of them.
#pragma once

#include <string>
#include <vector>

namespace zurimo {

// Flag words of a menu entry, passed to the platform unchanged.
constexpr unsigned kMenuString = 0;
constexpr unsigned kMenuSeparator = 0x800;

struct CMenuItem {
    std::string caption;  // shown unchanged ("&" marks the access key); empty for a separator
    std::string content;  // delivered when chosen: a folder's path or a user string
    int show = 0;         // nonzero: appended to the menu
    unsigned flags = kMenuString;
    int other = 0;        // the folder number of a folder entry; 0 for a user string

    bool operator==(const CMenuItem& o) const {
        return caption == o.caption && content == o.content && show == o.show &&
               flags == o.flags && other == o.other;
    }
};

using MenuItemList = std::vector<CMenuItem>;

// The separator between the two sections of the menu.
inline CMenuItem SeparatorItem(int show = 1) {
    CMenuItem item;
    item.show = show;
    item.flags = kMenuSeparator;
    return item;
}

// Moves the entry at `index` one place up or down, as the dialogs' 上へ and 下へ do; false
// (and nothing moved) at the edge of the list or with no entry at `index`.
template <typename List>
bool MoveUp(List& list, int index) {
    if (index <= 0 || index >= static_cast<int>(list.size())) return false;
    std::swap(list[index - 1], list[index]);
    return true;
}
template <typename List>
bool MoveDown(List& list, int index) {
    if (index < 0 || index + 1 >= static_cast<int>(list.size())) return false;
    std::swap(list[index], list[index + 1]);
    return true;
}

}  // namespace zurimo
