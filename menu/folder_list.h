// The special folders the context menu offers: a stored list of folder numbers with their
// captions, turned into the folders' current full paths each time it is loaded. On first
// use the list is made from a built-in table of 21 folders.
#pragma once

#include <array>
#include <string>

#include "base/registry.h"
#include "menu/menu_item.h"

namespace zurimo {

// Folder numbers are the system's special-folder numbers, and one of the program's own.
constexpr int kFolderDesktop = 0x00;
constexpr int kFolderWindows = 0x24;
constexpr int kFolderSystem = 0x25;
constexpr int kFolderProgramFiles = 0x26;
constexpr int kFolderTemporary = 0x100;

struct FolderRow {
    const char* caption;
    int number;
    bool shown;
};
// The default table, in the order it is stored (by caption), with the rows shown at first.
extern const std::array<FolderRow, 21> kDefaultFolders;

// What differs between platforms: a folder's path as the system gives it (the temporary
// folder with its trailing backslash), or empty when the folder cannot be resolved.
class FolderResolver {
public:
    virtual ~FolderResolver() = default;
    virtual std::string SystemPath(int number) = 0;
};

// The full path of a folder, empty when it cannot be resolved. With `add`, the path ends
// with a backslash; without it, the temporary folder loses its trailing backslash and the
// others are as the system gives them.
std::string GetFolderPath(FolderResolver& folders, int number, bool add);

class CFolderArray {
public:
    CFolderArray(Registry& registry, FolderResolver& folders)
        : registry_(registry), folders_(folders) {}
    virtual ~CFolderArray() = default;

    // Appends the stored entries that resolve (a separator entry always) to `items` and
    // returns the number of stored entries read. With no stored list, the default table's
    // resolving rows are appended and stored, and their number returned.
    int Load(MenuItemList& items, bool addYen);
    // Replaces the `m_nCount` stored entries by the default table; returns its stored size.
    int Reset();

    int m_nTableSize = static_cast<int>(kDefaultFolders.size());
    int m_nCount = 0;

private:
    // The default table's rows that resolve, as records with `add` applied to their paths.
    MenuItemList DefaultItems(bool add);
    // Stores `items` over the `m_nCount` entries stored now.
    void Store(const MenuItemList& items);

    Registry& registry_;
    FolderResolver& folders_;
};

}  // namespace zurimo
