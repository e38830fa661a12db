// The context-menu page: the order of the history window's context menu, folder paths with
// a trailing backslash, and the dialogs that edit the folder and user-string lists.
#pragma once

#include "app/options_model.h"
#include "app/win/options_page.h"

namespace zurimo {

class CZurimoOptPageContextMenu : public CZurimoOptPage {
public:
    CZurimoOptPageContextMenu(CZurimoPropSheet& sheet, ContextMenuOptions& values);
    bool Transfer(bool validate) override;

protected:
    void Load() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    // After a dialog rewrote a stored list: the page counts as changed, and the sheet's
    // Cancel can no longer undo.
    void ListRewritten();

    ContextMenuOptions& values_;
};

}  // namespace zurimo
