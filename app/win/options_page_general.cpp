#include "app/win/options_page_general.h"

#include "base/win/handles.h"
#include "base/win/win_text.h"
#include "resources/resource.h"

namespace zurimo {

CZurimoOptPageGeneral::CZurimoOptPageGeneral(CZurimoPropSheet& sheet, GeneralOptions& values)
    : CZurimoOptPage(sheet, kPageGeneral, IDD_OPT_GENERAL), values_(values) {}

void CZurimoOptPageGeneral::Load() {
    SetCheck(IDC_FILE, values_.file != 0);
    SetCheck(IDC_PASTE, values_.paste != 0);
    SetDlgItemTextA(hwnd(), IDC_QUOTE_TEXT, values_.quote.c_str());
    SetCheck(values_.dateTime == 0 ? IDC_LONG_DATE : IDC_SHORT_DATE, true);
    SetCheck(IDC_WORD, values_.word != 0);
    SetCheck(IDC_AUTO_EXEC, values_.autoExec != 0);
}

bool CZurimoOptPageGeneral::Transfer(bool) {
    values_.file = IsChecked(IDC_FILE);
    values_.paste = IsChecked(IDC_PASTE);
    values_.quote = WindowText(Item(IDC_QUOTE_TEXT));
    if (IsChecked(IDC_LONG_DATE)) values_.dateTime = 0;
    if (IsChecked(IDC_SHORT_DATE)) values_.dateTime = 1;
    values_.word = IsChecked(IDC_WORD);
    values_.autoExec = IsChecked(IDC_AUTO_EXEC);
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

// Brings an open regional-settings dialog to its date page, or starts the control panel.
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
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    WaitForInputIdle(processHandle.get(), INFINITE);
}

}  // namespace zurimo
