#include "menu/folder_list.h"

#include "base/text.h"
#include "menu/stored_list.h"

namespace zurimo {

const std::array<FolderRow, 21> kDefaultFolders = {{
    {"Application Data", 0x1A, false},
    {"Desktop", kFolderDesktop, true},
    {"Desktop (共通)", 0x19, false},
    {"Favorites", 0x06, false},
    {"Fonts", 0x14, false},
    {"NetFood", 0x13, false},
    {"My Document", 0x05, true},
    {"PrintHood", 0x1B, false},
    {"Program Files", kFolderProgramFiles, true},
    {"Programs", 0x02, false},
    {"Programs (共通)", 0x17, false},
    {"Recent", 0x08, false},
    {"SendTo", 0x09, false},
    {"StartMenu", 0x0B, true},
    {"StartMenu (共通)", 0x16, false},
    {"StartUp", 0x07, true},
    {"StartUp (共通)", 0x18, false},
    {"System", kFolderSystem, true},
    {"Temporary", kFolderTemporary, true},
    {"Templates", 0x15, false},
    {"Windows", kFolderWindows, true},
}};

std::string GetFolderPath(FolderResolver& folders, int number, bool add) {
    std::string path = folders.SystemPath(number);
    if (path.empty()) return path;
    bool ends = EndsWithBackslash(path);
    if (number == kFolderTemporary) {
        if (!add && ends) path.pop_back();
    } else if (add && !ends) {
        path += '\\';
    }
    return path;
}

int CFolderArray::Load(MenuItemList& items, bool addYen) {
    std::vector<StoredEntry> stored = ReadStoredList(registry_, StoredListKind::kFolders);
    for (const StoredEntry& entry : stored) {
        CMenuItem item;
        item.show = static_cast<int>(entry.show);
        if (entry.flags == kMenuSeparator) {
            item.flags = kMenuSeparator;
            items.push_back(item);
            continue;
        }
        item.content = GetFolderPath(folders_, static_cast<int>(entry.other), addYen);
        if (item.content.empty()) continue;
        item.caption = entry.caption;
        item.flags = entry.flags;
        item.other = static_cast<int>(entry.other);
        items.push_back(std::move(item));
    }
    m_nCount = static_cast<int>(stored.size());
    if (m_nCount != 0) return m_nCount;

    // First use: the default table, stored as it resolves here.
    MenuItemList defaults = DefaultItems(addYen);
    Store(defaults);
    items.insert(items.end(), defaults.begin(), defaults.end());
    m_nCount = static_cast<int>(defaults.size());
    return m_nCount;
}

int CFolderArray::Reset() {
    MenuItemList defaults = DefaultItems(false);
    Store(defaults);
    m_nCount = static_cast<int>(defaults.size());
    return m_nCount;
}

MenuItemList CFolderArray::DefaultItems(bool add) {
    MenuItemList items;
    for (const FolderRow& row : kDefaultFolders) {
        std::string path = GetFolderPath(folders_, row.number, add);
        if (path.empty()) continue;
        CMenuItem item;
        item.caption = row.caption;
        item.content = std::move(path);
        item.show = row.shown ? 1 : 0;
        item.other = row.number;
        items.push_back(std::move(item));
    }
    return items;
}

void CFolderArray::Store(const MenuItemList& items) {
    std::vector<StoredEntry> entries;
    for (const CMenuItem& item : items) {
        StoredEntry entry;
        entry.caption = item.caption;
        entry.other = static_cast<std::uint32_t>(item.other);
        entry.flags = item.flags;
        entry.show = item.show ? 1 : 0;
        entries.push_back(std::move(entry));
    }
    ApplyRegChanges(registry_, StoredListChanges(StoredListKind::kFolders, entries, m_nCount));
}

}  // namespace zurimo
