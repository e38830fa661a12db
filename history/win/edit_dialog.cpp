#include "history/win/edit_dialog.h"

#include "base/win/program.h"
#include "base/win/win_code_page.h"
#include "history/win/program_code_page.h"
#include "base/win/win_text.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

constexpr int kMinWidth = 220;
constexpr int kMinHeight = 120;

}  // namespace

INT_PTR CEditDlg::DoModal(HWND owner) {
    return Dialog::DoModal(ProgramInstance(), IDD_EDIT, owner, entry_.HasWide());
}

BOOL CEditDlg::OnInitDialog() {
    HINSTANCE instance = ProgramInstance();
    SetIcons(IDR_MAINFRAME);
    SetWindowTextA(hwnd(), ResourceString(instance, IDS_EDIT_TITLE).c_str());
    HWND edit = Item(IDC_EDIT_TEXT);
    if (tab_ != 0) {
        int stop = tab_ == 1 ? 4 : 8;  // dialog template units
        SendMessageA(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    }
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);  // as much as the control can hold
    Layout();
    if (entry_.HasWide()) {
        SetWindowTextW(edit, WidePtr(entry_.wide));
    } else if (!entry_.text.empty()) {
        SetWindowTextA(edit, entry_.text.c_str());
    }
    if (!entry_.text.empty()) {
        SendMessageA(edit, EM_SETSEL, 0, 0);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    }
    CenterOnWorkArea(hwnd());  // its owner, the main window, is hidden
    return TRUE;  // the focus goes to the first tab stop, OK, so that Enter confirms
}

// The buttons' band: the OK button's height and three border heights; the text below it,
// over the whole width.
void CEditDlg::Layout() {
    HWND edit = Item(IDC_EDIT_TEXT);
    RECT button = {}, client = {};
    if (!edit || !GetWindowRect(Item(IDOK), &button)) return;
    int height = button.bottom - button.top;
    if (height <= 0) return;
    int band = height + 3 * GetSystemMetrics(SM_CYBORDER);
    GetClientRect(hwnd(), &client);
    MoveWindow(edit, 0, band, client.right, client.bottom - band, TRUE);
}

INT_PTR CEditDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: Layout(); return TRUE;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{kMinWidth, kMinHeight};
        return TRUE;
    }
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

bool CEditDlg::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
        result_ = HistoryEntry();
        HWND edit = Item(IDC_EDIT_TEXT);
        if (SendMessageA(edit, EM_GETMODIFY, 0, 0)) {
            result_ = entry_.HasWide() ? EntryFromWide(WideWindowText(edit), ProgramCodePage())
                                       : HistoryEntry(WindowText(edit));
        }
        EndDialog(hwnd(), IDOK);
        return true;
    }
    if (id == IDCANCEL) {
        EndDialog(hwnd(), IDCANCEL);
        return true;
    }
    return false;
}

}  // namespace zurimo
