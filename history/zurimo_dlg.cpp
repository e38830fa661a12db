#include "history/zurimo_dlg.h"

#include <new>

#include "app/application.h"
#include "app/focus.h"
#include "history/file_error.h"
#include "history/saved_history.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

constexpr std::size_t kShortPreviewLimit = 32768;  // edit controls outside the NT family

}  // namespace

CZurimoDlg::CZurimoDlg() : history_(this) {}

CZurimoDlg::~CZurimoDlg() = default;

bool CZurimoDlg::Create(HWND owner) {
    return CreateModeless(TheInstance(), IDD_ZURIMO_DIALOG, owner);
}

BOOL CZurimoDlg::OnInitDialog() {
    HICON icon = LoadIconA(TheInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

    int tab = TheApp().tab;
    if (tab != 0) {
        int stop = tab == 1 ? 4 : 8;  // dialog template units
        SendDlgItemMessageA(hwnd(), IDC_HISTORY_LIST, LB_SETTABSTOPS, 1,
                            reinterpret_cast<LPARAM>(&stop));
        SendDlgItemMessageA(hwnd(), IDC_PREVIEW, EM_SETTABSTOPS, 1,
                            reinterpret_cast<LPARAM>(&stop));
    }
    LoadHistory();
    return TRUE;
}

INT_PTR CZurimoDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HELP:
        helpRequested_ = true;
        return TRUE;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

bool CZurimoDlg::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDCANCEL: Close(); return true;
    case IDC_QUOTE:
    case IDC_DATE_TIME:
        if (code == BN_CLICKED) ReadCheckBoxes();
        return true;
    }
    return false;
}

int CZurimoDlg::LineCount() const {
    LRESULT count = SendDlgItemMessageA(hwnd(), IDC_HISTORY_LIST, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

void CZurimoDlg::InsertLine(int index, const std::string& line) {
    LRESULT at = SendDlgItemMessageA(hwnd(), IDC_HISTORY_LIST, LB_INSERTSTRING, index,
                                     reinterpret_cast<LPARAM>(line.c_str()));
    if (at == LB_ERRSPACE || at == LB_ERR) throw std::bad_alloc();
}

void CZurimoDlg::RemoveLine(int index) {
    SendDlgItemMessageA(hwnd(), IDC_HISTORY_LIST, LB_DELETESTRING, index, 0);
}

void CZurimoDlg::AddHistory(const std::string& text) {
    try {
        history_.Add(text, TheApp().history);
    } catch (const std::bad_alloc&) {
        ShowMessage(nullptr, FileErrorMessage(FileError::kOutOfMemory, std::string()),
                    MB_OK | MB_ICONEXCLAMATION);
    }
    ReadCheckBoxes();
}

void CZurimoDlg::LoadHistory() {
    if (!TheApp().file) return;
    std::string path = SavedHistoryPath();
    if (path.empty()) return;
    std::vector<std::string> entries;
    if (FileFailure failure = ReadHistoryFile(path, &entries)) {
        ReportFileFailure(failure);
        return;
    }
    try {
        history_.Assign(std::move(entries));
    } catch (const std::bad_alloc&) {
        history_.Assign({});
        ReportFileFailure(FileFailure{FileError::kOutOfMemory, std::string()});
    }
}

void CZurimoDlg::SaveHistory() {
    if (!TheApp().file) return;
    std::string path = SavedHistoryPath();
    if (path.empty()) return;
    if (FileFailure failure = WriteHistoryFile(path, history_.entries())) {
        ReportFileFailure(failure);
    }
}

void CZurimoDlg::ShowHistory() {
    if (IsWindowVisible(hwnd())) return;
    if (HWND dialog = FindProgramDialog()) {
        SetForegroundWindow(dialog);
        return;
    }
    // Centre on the work area: the owner, the main window, is hidden.
    RECT work = {}, rect = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hwnd(), &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND list = Item(IDC_HISTORY_LIST);
    SetFocus(list);
    if (SendMessageA(hwnd(), DM_GETDEFID, 0, 0) != MAKELONG(IDC_TAKE_OUT, DC_HASDEFID)) {
        for (int id : {IDC_DELETE, IDC_FIND, IDC_EDIT, IDC_OPTIONS, IDCANCEL}) {
            SendDlgItemMessageA(hwnd(), id, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
        SendMessageA(hwnd(), DM_SETDEFID, IDC_TAKE_OUT, 0);
        SendDlgItemMessageA(hwnd(), IDC_TAKE_OUT, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
    ShowWindow(hwnd(), SW_SHOW);
    if (history_.Count() > 0) {
        SendMessageA(list, LB_SETCURSEL, 0, 0);
        if (!history_.At(0).empty()) UpdatePreview(history_.At(0));
    }
    SetForegroundWindow(hwnd());
}

void CZurimoDlg::SetPaused(bool paused) {
    SetWindowTextA(hwnd(), paused ? "Zurimo! (一時停止中)" : kAppTitle);
    paused_ = paused;
}

bool CZurimoDlg::QueryAndClearHelpRequested() {
    bool requested = helpRequested_;
    helpRequested_ = false;
    return requested;
}

void CZurimoDlg::GetHookWindows(HWND* record) const {
    record[1] = hwnd();
    int slot = 2;
    for (int id : {IDC_HISTORY_LIST, IDC_PREVIEW, IDC_TAKE_OUT, IDC_DELETE, IDC_FIND, IDC_EDIT,
                   IDCANCEL, IDC_QUOTE, IDC_DATE_TIME}) {
        record[slot++] = Item(id);
    }
}

void CZurimoDlg::ReadCheckBoxes() {
    quoteBox_ = IsDlgButtonChecked(hwnd(), IDC_QUOTE) == BST_CHECKED;
    dateTimeBox_ = IsDlgButtonChecked(hwnd(), IDC_DATE_TIME) == BST_CHECKED;
}

void CZurimoDlg::UpdatePreview(const std::string& text) {
    if (TheApp().platformId != kPlatformNt && text.size() > kShortPreviewLimit) {
        SetDlgItemTextA(hwnd(), IDC_PREVIEW, text.substr(0, kShortPreviewLimit).c_str());
        return;
    }
    SetDlgItemTextA(hwnd(), IDC_PREVIEW, text.c_str());
}

void CZurimoDlg::Close() {
    ShowWindow(hwnd(), SW_HIDE);
    ActivatePreviousWindow(GetWindow(hwnd(), GW_OWNER));
}

}  // namespace zurimo
