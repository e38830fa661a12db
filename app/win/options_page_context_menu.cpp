#include "app/win/options_page_context_menu.h"

#include "base/win/win_registry.h"
#include "menu/win/folder_menu_dialog.h"
#include "menu/win/user_menu_dialog.h"
#include "menu/win/win_folder_resolver.h"
#include "resources/resource.h"

namespace zurimo {

CZurimoOptPageContextMenu::CZurimoOptPageContextMenu(CZurimoPropSheet& sheet,
                                                     ContextMenuOptions& values)
    : CZurimoOptPage(sheet, kPageContextMenu, IDD_OPT_CONTEXT_MENU), values_(values) {}

void CZurimoOptPageContextMenu::Load() {
    SetCheck(IDC_ADD_YEN, values_.addYen != 0);
    SetCheck(IDC_FOLDERS_FIRST, values_.menu == 0);
    SetCheck(IDC_USERS_FIRST, values_.menu == 1);
}

bool CZurimoOptPageContextMenu::Transfer(bool) {
    values_.addYen = IsChecked(IDC_ADD_YEN);
    // The index of the checked button of the group; -1 when an odd stored value left
    // both unchecked.
    values_.menu = IsChecked(IDC_FOLDERS_FIRST) ? 0 : IsChecked(IDC_USERS_FIRST) ? 1 : -1;
    return true;
}

bool CZurimoOptPageContextMenu::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_ADD_YEN: Changed(); return true;
    case IDC_EDIT_FOLDER_MENU: {
        WinFolderResolver folders;
        CFolderMenuDlg dialog(SystemRegistry(), folders);
        if (dialog.DoModal(sheet()) == IDOK) ListRewritten();
        return true;
    }
    case IDC_EDIT_USER_MENU: {
        CUserMenuDlg dialog(SystemRegistry());
        if (dialog.DoModal(sheet()) == IDOK) ListRewritten();
        return true;
    }
    }
    return false;
}

void CZurimoOptPageContextMenu::ListRewritten() {
    SetModified();
    EnableWindow(GetDlgItem(sheet(), IDCANCEL), FALSE);
}

}  // namespace zurimo
