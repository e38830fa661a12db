#include "app/options_sheet.h"

#include "app/application.h"
#include "app/main_frame.h"
#include "app/messages.h"
#include "base/win/win_text.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

WORD HotKeyOf(HWND dialog, int id) {
    return static_cast<WORD>(SendDlgItemMessageA(dialog, id, HKM_GETHOTKEY, 0, 0));
}

void SetHotKey(HWND dialog, int id, BYTE key, BYTE modifiers) {
    SendDlgItemMessageA(dialog, id, HKM_SETHOTKEY, key ? MAKEWORD(key, modifiers) : 0, 0);
}

// Lets a hot-key field take a key, then tells its page.
template <void (CZurimoOptPageKey::*OnKeyDown)()>
LRESULT CALLBACK HotKeyFieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR, DWORD_PTR data) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        (reinterpret_cast<CZurimoOptPageKey*>(data)->*OnKeyDown)();
        return result;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

// ---- pages

INT_PTR CZurimoOptPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        sheet_.OnPageCreated(GetParent(hwnd()));
        loading_ = true;
        Load();
        loading_ = false;
        return TRUE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        switch (header->code) {
        case PSN_KILLACTIVE:
            return SetResult(Transfer(true) ? FALSE : TRUE);
        case PSN_APPLY: {
            bool ok = reinterpret_cast<PSHNOTIFY*>(lParam)->lParam != 0;
            if (!ok) {
                // Apply: only the page in front, through the main window.
                if (!IsActive()) return SetResult(PSNRET_NOERROR);
                if (!Transfer(true)) return SetResult(PSNRET_INVALID_NOCHANGEPAGE);
                SendMessageA(TheMainFrame()->hwnd(), kZurimoApply, index_,
                             reinterpret_cast<LPARAM>(sheet()));
                EnableWindow(GetDlgItem(sheet(), IDCANCEL), TRUE);
                return SetResult(PSNRET_NOERROR);
            }
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
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

void CZurimoOptPage::Changed() {
    if (!loading_) SetModified();
}

void CZurimoOptPageGeneral::Load() {
    Check(hwnd(), IDC_FILE, values_.file != 0);
    Check(hwnd(), IDC_PASTE, values_.paste != 0);
    SetDlgItemTextA(hwnd(), IDC_QUOTE_TEXT, values_.quote.c_str());
    Check(hwnd(), values_.dateTime == 0 ? IDC_LONG_DATE : IDC_SHORT_DATE, true);
    Check(hwnd(), IDC_WORD, values_.word != 0);
    Check(hwnd(), IDC_AUTO_EXEC, values_.autoExec != 0);
}

bool CZurimoOptPageGeneral::Transfer(bool) {
    values_.file = Checked(hwnd(), IDC_FILE);
    values_.paste = Checked(hwnd(), IDC_PASTE);
    values_.quote = WindowText(Item(IDC_QUOTE_TEXT));
    if (Checked(hwnd(), IDC_LONG_DATE)) values_.dateTime = 0;
    if (Checked(hwnd(), IDC_SHORT_DATE)) values_.dateTime = 1;
    values_.word = Checked(hwnd(), IDC_WORD);
    values_.autoExec = Checked(hwnd(), IDC_AUTO_EXEC);
    return true;
}

bool CZurimoOptPageGeneral::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_REGIONAL:
        if (code == BN_CLICKED) OpenRegionalSettings();
        return true;
    case IDC_QUOTE_TEXT:
        if (code == EN_CHANGE) Changed();
        return true;
    case IDC_FILE:
    case IDC_PASTE:
    case IDC_LONG_DATE:
    case IDC_SHORT_DATE:
    case IDC_WORD:
    case IDC_AUTO_EXEC:
        if (code == BN_CLICKED) Changed();
        return true;
    }
    return false;
}

void CZurimoOptPageGeneral::OpenRegionalSettings() {
    for (const char* title : {"地域のプロパティ", "地域のﾌﾟﾛﾊﾟﾃｨ"}) {
        if (HWND open = FindWindowA("#32770", title)) {
            SendMessageA(open, PSM_SETCURSELID, 0, 106);
            SetForegroundWindow(open);
            return;
        }
    }
    char command[] = "rundll32.exe shell32.dll,Control_RunDLL intl.cpl,@0,4";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process)) {
        return;
    }
    WaitForInputIdle(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

void CZurimoOptPageView::Load() {
    SendDlgItemMessageA(hwnd(), IDC_HISTORY_SPIN, UDM_SETRANGE32, 10, 1000);
    SetDlgItemInt(hwnd(), IDC_HISTORY_COUNT, static_cast<UINT>(values_.history), TRUE);
    static const int kTabs[] = {IDC_TAB_STANDARD, IDC_TAB_4, IDC_TAB_8};
    if (values_.tab >= 0 && values_.tab < 3) Check(hwnd(), kTabs[values_.tab], true);
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
    if (Checked(hwnd(), IDC_TAB_STANDARD)) values_.tab = 0;
    if (Checked(hwnd(), IDC_TAB_4)) values_.tab = 1;
    if (Checked(hwnd(), IDC_TAB_8)) values_.tab = 2;
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
    Check(hwnd(), IDC_NUMBER, values_.number != 0);
    CPageGeneralHotKeyCtrl::Attach(Item(IDC_GLOBAL_HOT_KEY), this);
    CPageKeyHotKeyCtrl::Attach(Item(IDC_OPERATION_KEY), this);
}

bool CZurimoOptPageKey::Transfer(bool) {
    values_.number = Checked(hwnd(), IDC_NUMBER);
    WORD hotKey = HotKeyOf(hwnd(), IDC_GLOBAL_HOT_KEY);
    values_.hotKeyLo = LOBYTE(hotKey);
    values_.hotKeyHi = HIBYTE(hotKey);
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

void CZurimoOptPageKey::OnGlobalHotKeyDown() {
    WORD hotKey = HotKeyOf(hwnd(), IDC_GLOBAL_HOT_KEY);
    values_.hotKeyLo = LOBYTE(hotKey);
    values_.hotKeyHi = HIBYTE(hotKey);
    if (values_.hotKeyHi == HOTKEYF_CONTROL && values_.hotKeyLo != 0) {
        KeyCheckResult check = CheckOperationKey(kHotKeyCheck, values_.hotKeyLo, values_);
        Report(check);
        if (check.result != KeyCheck::kNone) {
            SetHotKey(hwnd(), IDC_GLOBAL_HOT_KEY, 0, 0);
            hotKey = HotKeyOf(hwnd(), IDC_GLOBAL_HOT_KEY);
            values_.hotKeyLo = LOBYTE(hotKey);
            values_.hotKeyHi = HIBYTE(hotKey);
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

void CPageGeneralHotKeyCtrl::Attach(HWND control, CZurimoOptPageKey* page) {
    SetWindowSubclass(control, HotKeyFieldProc<&CZurimoOptPageKey::OnGlobalHotKeyDown>, 1,
                      reinterpret_cast<DWORD_PTR>(page));
}

void CPageKeyHotKeyCtrl::Attach(HWND control, CZurimoOptPageKey* page) {
    SetWindowSubclass(control, HotKeyFieldProc<&CZurimoOptPageKey::OnOperationKeyDown>, 1,
                      reinterpret_cast<DWORD_PTR>(page));
}

// ---- the sheet

CZurimoPropSheet::CZurimoPropSheet()
    : general_(*this, options_.general), view_(*this, options_.view), key_(*this, options_.key) {}

CZurimoOptPage* CZurimoPropSheet::page(int index) {
    switch (index) {
    case kPageGeneral: return &general_;
    case kPageView: return &view_;
    case kPageKey: return &key_;
    default: return nullptr;
    }
}

bool CZurimoPropSheet::DoModal(HWND owner) {
    PROPSHEETPAGEA pages[3];
    general_.Describe(&pages[kPageGeneral], TheInstance(), IDD_OPT_GENERAL);
    view_.Describe(&pages[kPageView], TheInstance(), IDD_OPT_VIEW);
    key_.Describe(&pages[kPageKey], TheInstance(), IDD_OPT_KEY);
    std::string title = ResourceString(TheInstance(), IDS_OPTIONS_TITLE);

    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP | PSH_USEICONID;
    header.hwndParent = owner;
    header.hInstance = TheInstance();
    header.pszIcon = MAKEINTRESOURCEA(IDR_MAINFRAME);
    header.pszCaption = title.c_str();
    header.nPages = 3;
    header.nStartPage = 0;
    header.ppsp = pages;

    running_ = true;
    okApplied_ = false;
    hwnd_ = nullptr;
    INT_PTR result = PropertySheetA(&header);
    running_ = false;
    hwnd_ = nullptr;
    return result > 0 && okApplied_;
}

void CZurimoPropSheet::OnPageCreated(HWND sheet) {
    if (sheet == hwnd_) return;
    hwnd_ = sheet;
    HICON icon = LoadIconA(TheInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(sheet, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SetDlgItemTextA(sheet, IDCANCEL, "キャンセル");
    SetDlgItemTextA(sheet, IDHELP, "ヘルプ");
    // Its owner, the main window, is hidden in a corner: centre on the work area instead.
    CenterOnWorkArea(sheet);
}

void CZurimoPropSheet::OpenHelp() { OpenHelpPage(hwnd_); }

}  // namespace zurimo
