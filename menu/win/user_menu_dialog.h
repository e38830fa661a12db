// The user menu dialog (108), which lists the user strings by caption and adds, deletes,
// edits and orders them, and the entry dialog (109), which edits one string.
#pragma once

#include <windows.h>

#include <string>

#include "base/registry.h"
#include "base/win/window.h"
#include "menu/menu_item.h"

namespace zurimo {

class CUserDlg : public Dialog {
public:
    // `existing` is the list of the user menu dialog that runs this one: a new string's
    // caption must not be among its captions.
    CUserDlg(bool isNew, const MenuItemList& existing) : m_bNew(isNew), existing_(existing) {}
    INT_PTR DoModal(HWND owner);

    std::string m_strCaption;
    std::string m_strContent;
    bool m_bNew;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void OnOK();

    const MenuItemList& existing_;
};

class CUserMenuDlg : public Dialog {
public:
    explicit CUserMenuDlg(Registry& registry) : registry_(registry) {}
    // IDOK when the stored list was rewritten, else IDCANCEL.
    INT_PTR DoModal(HWND owner);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    HWND List() const;
    void OnAdd();
    void OnDelete();
    void OnEdit();
    void OnUp();
    void OnDown();
    void OnOK();

    Registry& registry_;
    MenuItemList m_aItems;
    int m_nCount = 0;
};

}  // namespace zurimo
