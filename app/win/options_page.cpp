#include "app/win/options_page.h"

#include "app/win/options_sheet.h"

namespace zurimo {

namespace {

// Posted by a page that stays modified through an Apply of another page.
constexpr UINT kStillModified = WM_APP + 1;

}  // namespace

INT_PTR CZurimoOptPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kStillModified:
        if (modified()) SetModified();
        return TRUE;
    case WM_INITDIALOG:
        sheet_.OnPageCreated(GetParent(hwnd()));
        loading_ = true;
        Load();
        loading_ = false;
        return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case PSN_KILLACTIVE:
            return SetResult(Transfer(true) ? FALSE : TRUE);
        case PSN_APPLY: {
            bool ok = reinterpret_cast<PSHNOTIFY*>(lParam)->lParam != 0;
            if (!ok) return SetResult(OnApplyButton());
            bool valid = Transfer(true);
            sheet_.OnOkApplied(valid);
            return SetResult(valid ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
        }
        case PSN_HELP:
            sheet_.OpenHelp();
            return TRUE;
        }
        break;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

LRESULT CZurimoOptPage::OnApplyButton() {
    if (!IsActive()) {
        // The sheet clears every page and turns Apply off once all have answered; a page
        // whose changes were not applied turns it on again afterwards.
        if (modified()) PostMessageA(hwnd(), kStillModified, 0, 0);
        return PSNRET_NOERROR;
    }
    if (!Transfer(true)) return PSNRET_INVALID_NOCHANGEPAGE;
    sheet_.ApplyPage(index_);
    SetModified(false);
    EnableWindow(GetDlgItem(sheet(), IDCANCEL), TRUE);
    return PSNRET_NOERROR;
}

void CZurimoOptPage::Changed() {
    if (!loading_) SetModified();
}

}  // namespace zurimo
