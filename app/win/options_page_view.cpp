#include "app/win/options_page_view.h"

#include <commctrl.h>

#include <string>

#include "base/win/program.h"
#include "base/win/win_text.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

constexpr int kTabButtons[] = {IDC_TAB_STANDARD, IDC_TAB_4, IDC_TAB_8};

}  // namespace

CZurimoOptPageView::CZurimoOptPageView(CZurimoPropSheet& sheet, ViewOptions& values)
    : CZurimoOptPage(sheet, kPageView, IDD_OPT_VIEW), values_(values) {}

void CZurimoOptPageView::Load() {
    SendDlgItemMessageA(hwnd(), IDC_HISTORY_SPIN, UDM_SETRANGE32, 10, 1000);
    SetDlgItemInt(hwnd(), IDC_HISTORY_COUNT, static_cast<UINT>(values_.history), TRUE);
    if (values_.tab >= 0 && values_.tab < 3) SetCheck(kTabButtons[values_.tab], true);
}

bool CZurimoOptPageView::Transfer(bool validate) {
    std::int32_t count = 0;
    std::string failure;
    if (!ParseDialogInt(WindowText(Item(IDC_HISTORY_COUNT)), &count)) {
        failure = NotAnIntegerMessage();
    } else if (count < 10 || count > 1000) {
        failure = IntegerRangeMessage(10, 1000);
    }
    if (!failure.empty() && validate) {
        ShowMessage(hwnd(), failure, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Item(IDC_HISTORY_COUNT));
        SendDlgItemMessageA(hwnd(), IDC_HISTORY_COUNT, EM_SETSEL, 0, -1);
        return false;
    }
    if (failure.empty()) values_.history = count;
    for (int tab = 0; tab < 3; ++tab) {
        if (IsChecked(kTabButtons[tab])) values_.tab = tab;
    }
    return true;
}

bool CZurimoOptPageView::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_HISTORY_COUNT:
        if (code == EN_CHANGE) Changed();
        return true;
    case IDC_TAB_STANDARD:
    case IDC_TAB_4:
    case IDC_TAB_8:
        if (code == BN_CLICKED) Changed();
        return true;
    }
    return false;
}

}  // namespace zurimo
