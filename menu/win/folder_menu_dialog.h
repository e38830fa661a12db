// The folder menu dialog (107): which stored folders the context menu shows, and in which
// order. OK rewrites the stored list; 初期化 restores the default table at once.
#pragma once

#include <windows.h>

#include "base/registry.h"
#include "base/win/window.h"
#include "menu/folder_list.h"
#include "menu/folder_menu_model.h"

namespace zurimo {

class CFolderMenuDlg : public Dialog {
public:
    CFolderMenuDlg(Registry& registry, FolderResolver& folders);
    // IDOK when the stored list was rewritten, else IDCANCEL.
    INT_PTR DoModal(HWND owner);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void LoadFolders();
    void OnShowItem();
    void OnHideItem();
    void OnUp();
    void OnDown();
    void OnReset();
    void OnOK();

    Registry& registry_;
    FolderResolver& folders_;
    FolderMenuModel model_;
};

}  // namespace zurimo
