#include "app/win/options_sheet.h"

#include <string>

#include "app/win/messages.h"
#include "base/win/common_controls.h"
#include "base/win/program.h"
#include "base/win/win_text.h"
#include "base/win/window.h"
#include "resources/resource.h"

namespace zurimo {

CZurimoPropSheet::CZurimoPropSheet()
    : general_(*this, options_.general),
      view_(*this, options_.view),
      key_(*this, options_.key),
      contextMenu_(*this, options_.contextMenu),
      shellExt_(*this, options_.shellExt) {}

bool CZurimoPropSheet::DoModal(HWND owner) {
    HINSTANCE instance = ProgramInstance();
    PROPSHEETPAGEA records[kPageCount];
    for (CZurimoOptPage* page : Pages()) {
        page->Describe(&records[page->index()], instance, page->templateId());
    }
    std::string title = ResourceString(instance, IDS_OPTIONS_TITLE);

    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP | PSH_USEICONID;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszIcon = MAKEINTRESOURCEA(IDR_MAINFRAME);
    header.pszCaption = title.c_str();
    header.nPages = kPageCount;
    header.nStartPage = 0;
    header.ppsp = records;

    owner_ = owner;
    running_ = true;
    okApplied_ = false;
    hwnd_ = nullptr;
    INT_PTR result = RunPropertySheet(&header);
    running_ = false;
    hwnd_ = nullptr;
    return result > 0 && okApplied_;
}

void CZurimoPropSheet::OnPageCreated(HWND sheet) {
    if (sheet == hwnd_) return;
    hwnd_ = sheet;
    HICON icon = LoadIconA(ProgramInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(sheet, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SetDlgItemTextA(sheet, IDCANCEL, "キャンセル");
    SetDlgItemTextA(sheet, IDHELP, "ヘルプ");
    // Its owner, the main window, is hidden in a corner: centre on the work area instead.
    CenterOnWorkArea(sheet);
}

void CZurimoPropSheet::ApplyPage(int index) {
    SendMessageA(owner_, kZurimoApply, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(hwnd_));
}

void CZurimoPropSheet::TransferPage(int index) {
    for (CZurimoOptPage* page : Pages()) {
        if (page->index() == index && running_ && page->hwnd()) page->Transfer(false);
    }
}

void CZurimoPropSheet::OpenHelp() { OpenHelpPage(hwnd_); }

}  // namespace zurimo
