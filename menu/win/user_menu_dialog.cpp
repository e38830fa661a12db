#include "menu/win/user_menu_dialog.h"

#include <new>

#include "base/win/list_box.h"
#include "base/win/program.h"
#include "base/win/win_text.h"
#include "menu/stored_list.h"
#include "menu/user_string.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

CMenuItem UserItem(std::string caption, std::string content) {
    CMenuItem item;
    item.caption = std::move(caption);
    item.content = std::move(content);
    item.show = 1;
    return item;
}

}  // namespace

// ---- the entry dialog

INT_PTR CUserDlg::DoModal(HWND owner) {
    return Dialog::DoModal(ProgramInstance(), IDD_USER_STRING, owner);
}

BOOL CUserDlg::OnInitDialog() {
    SetDlgItemTextA(hwnd(), IDC_USER_CAPTION, m_strCaption.c_str());
    SetDlgItemTextA(hwnd(), IDC_USER_CONTENT, m_strContent.c_str());
    SendDlgItemMessageA(hwnd(), IDC_USER_CAPTION, EM_LIMITTEXT, kUserCaptionInputLimit, 0);
    SendDlgItemMessageA(hwnd(), IDC_USER_CONTENT, EM_LIMITTEXT, kUserContentInputLimit, 0);
    SetIcons(IDR_MAINFRAME);
    if (m_bNew) {
        SetWindowTextA(hwnd(), "Zurimo! ユーザー定義文字列の追加");
    } else {
        SendDlgItemMessageA(hwnd(), IDC_USER_CAPTION, EM_SETREADONLY, TRUE, 0);
        SetWindowTextA(hwnd(), "Zurimo! ユーザー定義文字列の編集");
    }
    return TRUE;
}

bool CUserDlg::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDOK: OnOK(); return true;
    case IDCANCEL: EndDialog(hwnd(), IDCANCEL); return true;
    case IDC_USER_STRING_HELP: OpenHelpPage(hwnd()); return true;
    }
    return false;
}

void CUserDlg::OnOK() {
    std::string caption = WindowText(Item(IDC_USER_CAPTION));
    std::string content = WindowText(Item(IDC_USER_CONTENT));
    UserStringCheck check = CheckUserString(caption, content, m_bNew, existing_);
    if (!check) {
        ShowMessage(hwnd(), check.message, MB_OK | (check.tooLong ? MB_ICONEXCLAMATION : MB_ICONSTOP));
        bool captionAtFault = check.field == UserStringCheck::Field::kCaption;
        SetFocus(Item(captionAtFault ? IDC_USER_CAPTION : IDC_USER_CONTENT));
        return;
    }
    m_strCaption = std::move(caption);
    m_strContent = std::move(content);
    EndDialog(hwnd(), IDOK);
}

// ---- the user menu dialog

INT_PTR CUserMenuDlg::DoModal(HWND owner) {
    return Dialog::DoModal(ProgramInstance(), IDD_USER_MENU, owner);
}

BOOL CUserMenuDlg::OnInitDialog() {
    SetIcons(IDR_MAINFRAME);
    try {
        std::vector<StoredEntry> stored = ReadStoredList(registry_, StoredListKind::kUsers);
        m_nCount = static_cast<int>(stored.size());
        for (StoredEntry& entry : stored) {
            ListInsert(List(), -1, entry.caption);
            m_aItems.push_back(UserItem(std::move(entry.caption), std::move(entry.content)));
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(hwnd());
    }
    return TRUE;
}

HWND CUserMenuDlg::List() const { return Item(IDC_USER_LIST); }

bool CUserMenuDlg::OnCommand(int id, int code, HWND) {
    if (id == IDC_USER_LIST) {
        if (code == LBN_DBLCLK) OnEdit();
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_USER_ADD: OnAdd(); return true;
    case IDC_USER_DELETE: OnDelete(); return true;
    case IDC_USER_EDIT: OnEdit(); return true;
    case IDC_USER_UP: OnUp(); return true;
    case IDC_USER_DOWN: OnDown(); return true;
    case IDC_USER_MENU_HELP: OpenHelpPage(hwnd()); return true;
    case IDOK: OnOK(); return true;
    case IDCANCEL: EndDialog(hwnd(), IDCANCEL); return true;
    }
    return false;
}

// A new string goes above the selected one, or at the end (then nothing is selected).
void CUserMenuDlg::OnAdd() {
    CUserDlg entry(true, m_aItems);
    if (entry.DoModal(hwnd()) != IDOK) return;
    CMenuItem item = UserItem(entry.m_strCaption, entry.m_strContent);
    int at = ListSelection(List());
    if (at >= 0 && at < static_cast<int>(m_aItems.size())) {
        m_aItems.insert(m_aItems.begin() + at, std::move(item));
        ListInsert(List(), at, entry.m_strCaption);
        ListSelect(List(), at);
    } else {
        m_aItems.push_back(std::move(item));
        ListInsert(List(), -1, entry.m_strCaption);
        ListSelect(List(), -1);
    }
}

void CUserMenuDlg::OnDelete() {
    int index = ListSelection(List());
    if (index < 0 || index >= static_cast<int>(m_aItems.size())) return;
    ListDelete(List(), index);
    if (ListCount(List()) > 0) ListSelect(List(), index);
    m_aItems.erase(m_aItems.begin() + index);
}

// Only the content can change: the caption field is read-only.
void CUserMenuDlg::OnEdit() {
    int index = ListSelection(List());
    if (index < 0 || index >= static_cast<int>(m_aItems.size())) return;
    CUserDlg entry(false, m_aItems);
    entry.m_strCaption = m_aItems[index].caption;
    entry.m_strContent = m_aItems[index].content;
    if (entry.DoModal(hwnd()) != IDOK) return;
    m_aItems[index].caption = entry.m_strCaption;
    m_aItems[index].content = entry.m_strContent;
    ListSelect(List(), index);
}

void CUserMenuDlg::OnUp() {
    int index = ListSelection(List());
    if (MoveUp(m_aItems, index)) ListMove(List(), index, index - 1, m_aItems[index - 1].caption);
}

void CUserMenuDlg::OnDown() {
    int index = ListSelection(List());
    if (MoveDown(m_aItems, index)) ListMove(List(), index, index + 1, m_aItems[index + 1].caption);
}

void CUserMenuDlg::OnOK() {
    std::vector<StoredEntry> entries;
    for (const CMenuItem& item : m_aItems) {
        StoredEntry entry;
        entry.caption = item.caption;
        entry.content = item.content;
        entry.show = 1;
        entries.push_back(std::move(entry));
    }
    ApplyRegChanges(registry_, StoredListChanges(StoredListKind::kUsers, entries, m_nCount));
    EndDialog(hwnd(), IDOK);
}

}  // namespace zurimo
