#include "app/win/options_page_key.h"

#include <commctrl.h>

#include "base/win/program.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

WORD HotKeyOf(HWND dialog, int id) {
    return static_cast<WORD>(SendDlgItemMessageA(dialog, id, HKM_GETHOTKEY, 0, 0));
}

void SetHotKey(HWND dialog, int id, BYTE key, BYTE modifiers) {
    SendDlgItemMessageA(dialog, id, HKM_SETHOTKEY, MAKEWORD(key, modifiers), 0);
}

}  // namespace

LRESULT HotKeyField::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = Default(message, wParam, lParam);
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) (page_.*onKeyDown_)();
    return result;
}

CPageGeneralHotKeyCtrl::CPageGeneralHotKeyCtrl(CZurimoOptPageKey& page)
    : HotKeyField(page, &CZurimoOptPageKey::OnGlobalHotKeyDown) {}

CPageKeyHotKeyCtrl::CPageKeyHotKeyCtrl(CZurimoOptPageKey& page)
    : HotKeyField(page, &CZurimoOptPageKey::OnOperationKeyDown) {}

CZurimoOptPageKey::CZurimoOptPageKey(CZurimoPropSheet& sheet, KeyOptions& values)
    : CZurimoOptPage(sheet, kPageKey, IDD_OPT_KEY), values_(values) {}

void CZurimoOptPageKey::Load() {
    HWND operations = Item(IDC_OPERATION);
    SendMessageA(operations, CB_RESETCONTENT, 0, 0);
    for (const char* name : kOperationNames) {
        SendMessageA(operations, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    // The global hot key needs Ctrl or Alt; the operation keys are Ctrl and a key.
    SendDlgItemMessageA(hwnd(), IDC_GLOBAL_HOT_KEY, HKM_SETRULES,
                        HKCOMB_NONE | HKCOMB_S | HKCOMB_A,
                        MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendDlgItemMessageA(hwnd(), IDC_OPERATION_KEY, HKM_SETRULES,
                        HKCOMB_NONE | HKCOMB_S | HKCOMB_A | HKCOMB_SA | HKCOMB_SC | HKCOMB_CA |
                            HKCOMB_SCA,
                        MAKELPARAM(HOTKEYF_CONTROL, 0));
    SetHotKey(hwnd(), IDC_GLOBAL_HOT_KEY, static_cast<BYTE>(values_.hotKeyLo),
              static_cast<BYTE>(values_.hotKeyHi));
    SendMessageA(operations, CB_SETCURSEL, currentOperation_, 0);
    ShowOperationKey();
    ForgetDuplicate();
    SetCheck(IDC_NUMBER, values_.number != 0);
    globalField_.Attach(Item(IDC_GLOBAL_HOT_KEY));
    operationField_.Attach(Item(IDC_OPERATION_KEY));
}

bool CZurimoOptPageKey::Transfer(bool) {
    values_.number = IsChecked(IDC_NUMBER);
    ReadGlobalHotKey();
    return true;
}

bool CZurimoOptPageKey::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_ASSIGN:
        if (code == BN_CLICKED) Assign();
        return true;
    case IDC_OPERATION:
        if (code == CBN_SELCHANGE) {
            ForgetDuplicate();
            LRESULT selected = SendDlgItemMessageA(hwnd(), IDC_OPERATION, CB_GETCURSEL, 0, 0);
            if (selected >= 0 && selected < kKeyCount) currentOperation_ = static_cast<int>(selected);
            ShowOperationKey();
        }
        return true;
    case IDC_NUMBER:
        if (code == BN_CLICKED) {
            Transfer(false);  // the digit rule sees the new setting at once
            Changed();
        }
        return true;
    }
    return false;
}

void CZurimoOptPageKey::ReadGlobalHotKey() {
    WORD hotKey = HotKeyOf(hwnd(), IDC_GLOBAL_HOT_KEY);
    values_.hotKeyLo = LOBYTE(hotKey);
    values_.hotKeyHi = HIBYTE(hotKey);
}

void CZurimoOptPageKey::OnGlobalHotKeyDown() {
    ReadGlobalHotKey();
    if (values_.hotKeyHi == HOTKEYF_CONTROL && values_.hotKeyLo != 0) {
        KeyCheckResult check = CheckOperationKey(kHotKeyCheck, values_.hotKeyLo, values_);
        Report(check);
        if (check.result != KeyCheck::kNone) {
            SetHotKey(hwnd(), IDC_GLOBAL_HOT_KEY, 0, 0);
            ReadGlobalHotKey();
        }
    }
    Changed();
}

void CZurimoOptPageKey::OnOperationKeyDown() {
    BYTE key = LOBYTE(HotKeyOf(hwnd(), IDC_OPERATION_KEY));
    if (key == 0) {  // Ctrl alone so far
        ForgetDuplicate();
        return;
    }
    Report(CheckOperationKey(currentOperation_, key, values_));
}

void CZurimoOptPageKey::Report(const KeyCheckResult& check) {
    ForgetDuplicate();
    if (check.message != KeyMessage::kNone) {
        ShowMessage(hwnd(), KeyMessageText(check.message, check.duplicate), MB_OK | MB_ICONEXCLAMATION);
    }
    if (check.resetOperationField) ShowOperationKey();
    if (check.result == KeyCheck::kDuplicate && check.message == KeyMessage::kNone) {
        duplicate_ = check.duplicate;
        SetDlgItemTextA(hwnd(), IDC_DUPLICATE, kOperationNames[duplicate_]);
    }
}

void CZurimoOptPageKey::Assign() {
    std::uint16_t key = LOBYTE(HotKeyOf(hwnd(), IDC_OPERATION_KEY));
    if (duplicate_ >= 0) {
        if (ShowMessage(hwnd(),
                    "キーが重複していますが、よろしいですか？\r\n重複しているキーは無効になります。",
                    MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
            return;
        }
        values_.keys[duplicate_] = 0;
        values_.keys[currentOperation_] = key;
        ForgetDuplicate();
    } else {
        values_.keys[currentOperation_] = key;
    }
    Changed();
}

void CZurimoOptPageKey::ShowOperationKey() {
    SetHotKey(hwnd(), IDC_OPERATION_KEY, static_cast<BYTE>(values_.keys[currentOperation_]),
              HOTKEYF_CONTROL);
}

void CZurimoOptPageKey::ForgetDuplicate() {
    duplicate_ = -1;
    SetDlgItemTextA(hwnd(), IDC_DUPLICATE, "");
}

}  // namespace zurimo
