// The folder menu dialog's two lists: the entries the menu shows, in menu order, and the
// entries it does not show, kept sorted by caption. Moves between them and up and down
// keep both in step with the dialog's list boxes, which show the same captions.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/registry.h"
#include "menu/folder_list.h"
#include "menu/menu_item.h"
#include "menu/stored_list.h"

namespace zurimo {

class FolderMenuModel {
public:
    // How two captions sort: below, equal or above zero, as the platform's sorted list box.
    using Compare = std::function<int(const std::string&, const std::string&)>;
    explicit FolderMenuModel(Compare compare) : compare_(std::move(compare)) {}

    // Reads the stored list; entries whose folder does not resolve are left out.
    void Load(Registry& registry, FolderResolver& folders);
    int storedCount() const { return storedCount_; }
    const MenuItemList& shown() const { return shown_; }
    const MenuItemList& hidden() const { return hidden_; }

    // Moves hidden entry `from` into the shown list at `at` (the end when `at` is -1).
    // Returns the index it now has there, or -1 when `from` names no entry.
    int Show(int from, int at);
    // Moves shown entry `from` into the hidden list, in sorted place; returns that index,
    // or -1 when `from` names no entry.
    int Hide(int from);
    bool Up(int index) { return MoveUp(shown_, index); }
    bool Down(int index) { return MoveDown(shown_, index); }

    // The list as it is stored on OK: the shown entries (Show 1), then the others (Show 0).
    std::vector<StoredEntry> ToStore() const;

private:
    // The place a caption takes in the sorted hidden list: after any equal ones.
    int SortedPlace(const std::string& caption) const;

    Compare compare_;
    MenuItemList shown_;
    MenuItemList hidden_;
    int storedCount_ = 0;
};

}  // namespace zurimo
