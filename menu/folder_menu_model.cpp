#include "menu/folder_menu_model.h"

namespace zurimo {

void FolderMenuModel::Load(Registry& registry, FolderResolver& folders) {
    shown_.clear();
    hidden_.clear();
    std::vector<StoredEntry> stored = ReadStoredList(registry, StoredListKind::kFolders);
    storedCount_ = static_cast<int>(stored.size());
    for (StoredEntry& entry : stored) {
        CMenuItem item;
        item.content = GetFolderPath(folders, static_cast<int>(entry.other), false);
        if (item.content.empty()) continue;
        item.caption = std::move(entry.caption);
        item.show = static_cast<int>(entry.show);
        item.flags = entry.flags;
        item.other = static_cast<int>(entry.other);
        if (item.show) {
            shown_.push_back(std::move(item));
        } else {
            int place = SortedPlace(item.caption);
            hidden_.insert(hidden_.begin() + place, std::move(item));
        }
    }
}

int FolderMenuModel::Show(int from, int at) {
    if (from < 0 || from >= static_cast<int>(hidden_.size())) return -1;
    CMenuItem item = std::move(hidden_[from]);
    hidden_.erase(hidden_.begin() + from);
    item.show = 1;
    if (at < 0 || at > static_cast<int>(shown_.size())) at = static_cast<int>(shown_.size());
    shown_.insert(shown_.begin() + at, std::move(item));
    return at;
}

int FolderMenuModel::Hide(int from) {
    if (from < 0 || from >= static_cast<int>(shown_.size())) return -1;
    CMenuItem item = std::move(shown_[from]);
    shown_.erase(shown_.begin() + from);
    item.show = 0;
    int place = SortedPlace(item.caption);
    hidden_.insert(hidden_.begin() + place, std::move(item));
    return place;
}

std::vector<StoredEntry> FolderMenuModel::ToStore() const {
    std::vector<StoredEntry> entries;
    for (const MenuItemList* list : {&shown_, &hidden_}) {
        for (const CMenuItem& item : *list) {
            StoredEntry entry;
            entry.caption = item.caption;
            entry.other = static_cast<std::uint32_t>(item.other);
            entry.flags = item.flags;
            entry.show = list == &shown_ ? 1 : 0;
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

int FolderMenuModel::SortedPlace(const std::string& caption) const {
    int place = 0;
    while (place < static_cast<int>(hidden_.size()) && compare_(hidden_[place].caption, caption) <= 0) {
        ++place;
    }
    return place;
}

}  // namespace zurimo
