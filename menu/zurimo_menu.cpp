#include "menu/zurimo_menu.h"

#include <new>

#include "menu/user_list.h"

namespace zurimo {

CDynamicMenu::CDynamicMenu(std::unique_ptr<MenuPlatform> platform)
    : m_pMenu(std::move(platform)) {}

int CDynamicMenu::Create() {
    try {
        m_pItems = std::make_unique<MenuItemList>();
    } catch (const std::bad_alloc&) {
        m_pMenu->ReportOutOfMemory();
        return 0;
    }
    return 1;
}

void CDynamicMenu::AppendSection(const MenuItemList& section) {
    if (!m_pItems->empty()) m_pItems->push_back(SeparatorItem());
    m_pItems->insert(m_pItems->end(), section.begin(), section.end());
}

int CDynamicMenu::BuildMenu() {
    if (!m_pMenu->CreatePopup()) return 0;
    for (std::size_t i = 0; i < m_pItems->size(); ++i) {
        const CMenuItem& item = (*m_pItems)[i];
        if (item.show && !m_pMenu->Append(item.flags, static_cast<int>(i + 1), item.caption)) {
            return 0;
        }
    }
    return 1;
}

int CDynamicMenu::Track(int x, int y, std::uintptr_t owner) {
    if (!m_pItems && (!Create() || !BuildMenu())) return 0;
    if (!m_pMenu->HasPopup()) return 0;
    int id = m_pMenu->Track(x, y, owner);
    if (id <= 0 || id > static_cast<int>(m_pItems->size())) return 0;
    m_strText = (*m_pItems)[static_cast<std::size_t>(id - 1)].content;
    return static_cast<int>(m_strText.size());
}

int CZurimoMenu::Build(const MenuSources& sources) {
    if (!Create()) return 0;
    try {
        auto folders = [&] {
            CFolderArray array(sources.registry, sources.folders);
            if (array.Load(m_aFolders, sources.addYen) != 0) AppendSection(m_aFolders);
        };
        auto users = [&] {
            CUserMenuArray array(sources.registry);
            if (array.Load(m_aUsers) != 0) AppendSection(m_aUsers);
        };
        if (sources.menu == 0) {
            folders();
            users();
        } else {
            users();
            folders();
        }
    } catch (const std::bad_alloc&) {
        m_pMenu->ReportOutOfMemory();
    }
    BuildMenu();
    return 1;
}

}  // namespace zurimo
