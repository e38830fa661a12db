// The history window's context menu: the shown folder paths and user strings, in the order
// the Menu setting gives, with a separator between the two sections. The record at index i
// of the item list has the menu identifier i + 1, hidden records and separators included,
// so that a choice always leads back to its own record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/registry.h"
#include "menu/folder_list.h"
#include "menu/menu_item.h"

namespace zurimo {

// The platform's popup menu.
class MenuPlatform {
public:
    virtual ~MenuPlatform() = default;
    // Makes a new, empty popup menu in place of one made before.
    virtual bool CreatePopup() = 0;
    virtual bool HasPopup() const = 0;
    virtual bool Append(unsigned flags, int id, const std::string& caption) = 0;
    // Shows the popup with its top-left corner at (x, y), owned by `owner`, until the user
    // chooses (the identifier) or dismisses it (0).
    virtual int Track(int x, int y, std::uintptr_t owner) = 0;
    // Tells the user that memory ran out.
    virtual void ReportOutOfMemory() = 0;
};

// A popup menu made from a list of records.
class CDynamicMenu {
public:
    explicit CDynamicMenu(std::unique_ptr<MenuPlatform> platform);
    virtual ~CDynamicMenu() = default;
    CDynamicMenu(const CDynamicMenu&) = delete;
    CDynamicMenu& operator=(const CDynamicMenu&) = delete;

    // Shows the menu at (x, y); returns the length of the chosen record's content, or 0
    // when nothing was chosen or no menu could be shown. GetText then holds the content.
    int Track(int x, int y, std::uintptr_t owner);
    const std::string& GetText() const { return m_strText; }
    // The item list, null before Create.
    const MenuItemList* items() const { return m_pItems.get(); }

protected:
    // An empty item list; 0 when memory ran out.
    int Create();
    // The platform menu with every shown record; 0 when that failed.
    int BuildMenu();
    // Appends a section, after a separator when the list holds records already.
    void AppendSection(const MenuItemList& section);

    std::unique_ptr<MenuPlatform> m_pMenu;
    std::unique_ptr<MenuItemList> m_pItems;
    std::string m_strText;
};

// Where the sections come from, and how they are ordered.
struct MenuSources {
    Registry& registry;
    FolderResolver& folders;
    int menu = 0;         // 0: folder paths above the user strings
    bool addYen = false;  // folder paths end with a backslash
};

class CZurimoMenu : public CDynamicMenu {
public:
    using CDynamicMenu::CDynamicMenu;
    // Loads both sections and makes the menu; 0 when memory ran out at the start.
    int Build(const MenuSources& sources);

private:
    MenuItemList m_aFolders;
    MenuItemList m_aUsers;
};

}  // namespace zurimo
