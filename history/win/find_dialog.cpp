#include "history/win/find_dialog.h"

#include "base/product.h"
#include "base/win/program.h"
#include "base/win/win_text.h"
#include "resources/resource.h"

namespace zurimo {

const UINT kKestroFindDialog = RegisterWindowMessageA("KestroFindDialog");

namespace {

constexpr int kFindTextLimit = 256;

}  // namespace

void WinCaseFolding::Lower(char* text, std::size_t size) {
    if (size > 0) CharLowerBuffA(text, static_cast<DWORD>(size));
}

bool CFindDlg::Create() { return CreateModeless(ProgramInstance(), IDD_FIND, history_); }

void CFindDlg::Close() {
    DestroyWindow(hwnd());  // saves the texts; the history window lets this object go meanwhile
}

BOOL CFindDlg::OnInitDialog() {
    HICON icon = LoadIconA(ProgramInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendDlgItemMessageA(hwnd(), IDC_FIND_TEXT, CB_LIMITTEXT, kFindTextLimit, 0);
    std::vector<std::string> texts;
    for (int i = 0; i < static_cast<int>(kRecentTextCount); ++i) {
        std::string text = profile_.GetString(kSettingsSection, RecentTextValueName(i), "");
        if (text.empty()) break;
        texts.push_back(text);
    }
    ShowRecentTexts(texts);
    if (!texts.empty()) findText = texts[0];
    PlaceAboveHistory();
    return TRUE;
}

// Same left edge as the history window, three quarters of its own height above it, but
// never above the top of the screen.
void CFindDlg::PlaceAboveHistory() {
    RECT history = {}, own = {};
    GetWindowRect(history_, &history);
    GetWindowRect(hwnd(), &own);
    int height = own.bottom - own.top;
    int top = history.top - height / 4 * 3;
    if (top < 0) top = 0;
    SetWindowPos(hwnd(), nullptr, history.left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CFindDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:  // however the window goes
        SaveRecentTexts();
        self_ = hwnd();
        break;
    case WM_HELP: return TRUE;  // context help: there are no topics to show
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

bool CFindDlg::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDOK:
    case IDC_FIND_NEXT: Search(true); return true;
    case IDC_FIND_PREVIOUS: Search(false); return true;
    case IDCANCEL: Close(); return true;
    }
    return false;
}

void CFindDlg::OnFinalMessage() {
    terminating = true;
    // The history window forgets and frees this object: nothing may follow this call.
    SendMessageA(history_, kKestroFindDialog, 0, reinterpret_cast<LPARAM>(self_));
}

void CFindDlg::Search(bool down) {
    HWND combo = Item(IDC_FIND_TEXT);
    std::string text = WindowText(combo);
    if (text.empty()) return;
    findText = text;
    findNext = true;
    searchDown = down;
    matchCase = IsDlgButtonChecked(hwnd(), IDC_MATCH_CASE) == BST_CHECKED;

    std::vector<std::string> before = RecentTexts();
    std::vector<std::string> after = UpdateRecentTexts(before, text, folding_);
    if (after != before) {
        ShowRecentTexts(after);
        SetWindowTextA(combo, text.c_str());
    }
    SendMessageA(history_, kKestroFindDialog, 0, reinterpret_cast<LPARAM>(hwnd()));
    findNext = false;
}

std::vector<std::string> CFindDlg::RecentTexts() const {
    std::vector<std::string> texts;
    HWND combo = Item(IDC_FIND_TEXT);
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == CB_ERR) break;
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        LRESULT got = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                   reinterpret_cast<LPARAM>(&text[0]));
        text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        texts.push_back(text);
    }
    return texts;
}

void CFindDlg::ShowRecentTexts(const std::vector<std::string>& texts) {
    HWND combo = Item(IDC_FIND_TEXT);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& text : texts) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (!texts.empty()) SetWindowTextA(combo, texts[0].c_str());
}

// The list into FindHistory0 onward, up to its first empty text; later values stay.
void CFindDlg::SaveRecentTexts() {
    if (!hwnd()) return;
    std::vector<std::string> texts = RecentTexts();
    for (std::size_t i = 0; i < texts.size() && !texts[i].empty(); ++i) {
        profile_.WriteString(kSettingsSection, RecentTextValueName(static_cast<int>(i)), texts[i]);
    }
}

}  // namespace zurimo
