#include "menu/win/folder_menu_dialog.h"

#include <new>

#include "base/win/list_box.h"
#include "base/win/program.h"
#include "menu/stored_list.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

// The order of the not-shown list: captions ignoring case, in the user's locale, as a
// sorted list box orders them.
int CompareCaptions(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - 2;
}

}  // namespace

CFolderMenuDlg::CFolderMenuDlg(Registry& registry, FolderResolver& folders)
    : registry_(registry), folders_(folders), model_(CompareCaptions) {}

INT_PTR CFolderMenuDlg::DoModal(HWND owner) {
    return Dialog::DoModal(ProgramInstance(), IDD_FOLDER_MENU, owner);
}

BOOL CFolderMenuDlg::OnInitDialog() {
    SetIcons(IDR_MAINFRAME);
    LoadFolders();
    return TRUE;
}

bool CFolderMenuDlg::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_SHOW_ITEM: OnShowItem(); return true;
    case IDC_HIDE_ITEM: OnHideItem(); return true;
    case IDC_FOLDER_UP: OnUp(); return true;
    case IDC_FOLDER_DOWN: OnDown(); return true;
    case IDC_FOLDER_RESET: OnReset(); return true;
    case IDC_FOLDER_HELP: OpenHelpPage(hwnd()); return true;
    case IDOK: OnOK(); return true;
    case IDCANCEL: EndDialog(hwnd(), IDCANCEL); return true;
    }
    return false;
}

void CFolderMenuDlg::LoadFolders() {
    try {
        model_.Load(registry_, folders_);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(hwnd());
    }
    SendDlgItemMessageA(hwnd(), IDC_SHOWN_LIST, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(hwnd(), IDC_HIDDEN_LIST, LB_RESETCONTENT, 0, 0);
    for (const CMenuItem& item : model_.shown()) ListInsert(Item(IDC_SHOWN_LIST), -1, item.caption);
    for (const CMenuItem& item : model_.hidden()) ListInsert(Item(IDC_HIDDEN_LIST), -1, item.caption);
}

// "&<<": the selected not-shown entry goes into the shown list, above its selection.
void CFolderMenuDlg::OnShowItem() {
    HWND hidden = Item(IDC_HIDDEN_LIST), shown = Item(IDC_SHOWN_LIST);
    int from = ListSelection(hidden);
    if (from < 0 || from >= static_cast<int>(model_.hidden().size())) return;
    std::string caption = model_.hidden()[from].caption;
    ListDelete(hidden, from);
    if (ListCount(hidden) > 0) ListSelect(hidden, from);
    int at = model_.Show(from, ListSelection(shown));
    ListInsert(shown, at, caption);
    ListSelect(shown, at);
}

// "&>>": the selected shown entry goes to its sorted place in the not-shown list.
void CFolderMenuDlg::OnHideItem() {
    HWND hidden = Item(IDC_HIDDEN_LIST), shown = Item(IDC_SHOWN_LIST);
    int from = ListSelection(shown);
    if (from < 0 || from >= static_cast<int>(model_.shown().size())) return;
    std::string caption = model_.shown()[from].caption;
    ListDelete(shown, from);
    if (ListCount(shown) > 0) ListSelect(shown, from);
    int at = model_.Hide(from);
    ListInsert(hidden, at, caption);
    ListSelect(hidden, at);
}

void CFolderMenuDlg::OnUp() {
    HWND shown = Item(IDC_SHOWN_LIST);
    int index = ListSelection(shown);
    if (model_.Up(index)) ListMove(shown, index, index - 1, model_.shown()[index - 1].caption);
}

void CFolderMenuDlg::OnDown() {
    HWND shown = Item(IDC_SHOWN_LIST);
    int index = ListSelection(shown);
    if (model_.Down(index)) ListMove(shown, index, index + 1, model_.shown()[index + 1].caption);
}

// 初期化: the stored list becomes the default table at once, so Cancel can no longer undo.
void CFolderMenuDlg::OnReset() {
    EnableWindow(Item(IDCANCEL), FALSE);
    CFolderArray folders(registry_, folders_);
    folders.m_nCount = model_.storedCount();
    folders.Reset();
    LoadFolders();
}

void CFolderMenuDlg::OnOK() {
    ApplyRegChanges(registry_, StoredListChanges(StoredListKind::kFolders, model_.ToStore(),
                                                 model_.storedCount()));
    EndDialog(hwnd(), IDOK);
}

}  // namespace zurimo
