#include "app/win/options_page_shell_ext.h"

#include <commctrl.h>

#include <string>

#include "base/win/program.h"
#include "base/win/win_text.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

constexpr std::int32_t kLimitLow = 1, kLimitHigh = 32;  // KB
constexpr int kMenuOptions[] = {IDC_SHELL_USER_MENU, IDC_SHELL_SEP, IDC_SHELL_HIERARCHY};
// In the order of the Unix path styles.
constexpr int kDriveButtons[] = {IDC_DRIVE_STD, IDC_DRIVE_MINGW, IDC_DRIVE_CYGWIN, IDC_DRIVE_SFU};

}  // namespace

CZurimoOptPageShellExt::CZurimoOptPageShellExt(CZurimoPropSheet& sheet, ShellExtOptions& values)
    : CZurimoOptPage(sheet, kPageShellExt, IDD_OPT_SHELL_EXT), values_(values) {}

void CZurimoOptPageShellExt::Load() {
    SendDlgItemMessageA(hwnd(), IDC_SHELL_LIMIT_SPIN, UDM_SETRANGE32, kLimitLow, kLimitHigh);
    SetCheck(IDC_SHELL_MENU, values_.shellMenu != 0);
    SetCheck(IDC_SHELL_USER_MENU, values_.shellUserMenu != 0);
    SetCheck(IDC_SHELL_SEP, values_.shellSep != 0);
    SetCheck(IDC_SHELL_HIERARCHY, values_.shellHierarchy != 0);
    SetDlgItemInt(hwnd(), IDC_SHELL_LIMIT, static_cast<UINT>(values_.shellLimit), TRUE);
    if (values_.driveType >= 0 && values_.driveType < 4) {
        SetCheck(kDriveButtons[values_.driveType], true);
    }
    EnableMenuOptions(values_.shellMenu != 0);
}

bool CZurimoOptPageShellExt::Transfer(bool validate) {
    std::int32_t limit = 0;
    std::string failure;
    if (!ParseDialogInt(WindowText(Item(IDC_SHELL_LIMIT)), &limit)) {
        failure = NotAnIntegerMessage();
    } else if (limit < kLimitLow || limit > kLimitHigh) {
        failure = IntegerRangeMessage(kLimitLow, kLimitHigh);
    }
    if (!failure.empty() && validate) {
        ShowMessage(hwnd(), failure, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Item(IDC_SHELL_LIMIT));
        SendDlgItemMessageA(hwnd(), IDC_SHELL_LIMIT, EM_SETSEL, 0, -1);
        return false;
    }
    if (failure.empty()) values_.shellLimit = limit;
    values_.shellMenu = IsChecked(IDC_SHELL_MENU);
    values_.shellUserMenu = IsChecked(IDC_SHELL_USER_MENU);
    values_.shellSep = IsChecked(IDC_SHELL_SEP);
    values_.shellHierarchy = IsChecked(IDC_SHELL_HIERARCHY);
    for (int style = 0; style < 4; ++style) {
        if (IsChecked(kDriveButtons[style])) values_.driveType = style;
    }
    return true;
}

bool CZurimoOptPageShellExt::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_SHELL_MENU:
        if (code == BN_CLICKED) {
            Transfer(true);  // takes the page's values; a bad size limit is reported now
            bool on = IsChecked(IDC_SHELL_MENU);
            // Without the popup its options go off too.
            if (!on) {
                for (int option : kMenuOptions) SetCheck(option, false);
            }
            EnableMenuOptions(on);
            Changed();
        }
        return true;
    case IDC_SHELL_LIMIT:
        if (code == EN_CHANGE) Changed();
        return true;
    case IDC_SHELL_USER_MENU:
    case IDC_SHELL_SEP:
    case IDC_SHELL_HIERARCHY:
    case IDC_DRIVE_STD:
    case IDC_DRIVE_MINGW:
    case IDC_DRIVE_CYGWIN:
    case IDC_DRIVE_SFU:
        if (code == BN_CLICKED) Changed();
        return true;
    }
    return false;
}

void CZurimoOptPageShellExt::EnableMenuOptions(bool on) {
    for (int option : kMenuOptions) EnableWindow(Item(option), on ? TRUE : FALSE);
}

}  // namespace zurimo
