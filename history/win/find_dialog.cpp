#include "history/win/find_dialog.h"

#include "base/product.h"
#include "base/win/program.h"
#include "base/win/win_code_page.h"
#include "history/win/program_code_page.h"
#include "base/win/win_registry.h"
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

void WinCaseFolding::LowerWide(char16_t* text, std::size_t size) {
    if (size > 0) CharLowerBuffW(reinterpret_cast<wchar_t*>(text), static_cast<DWORD>(size));
}

bool CFindDlg::Open(HWND owner) {
    if (!hwnd()) {
        owner_ = owner;
        if (!CreateModeless(ProgramInstance(), IDD_FIND, owner, true)) return false;
    }
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    return true;
}

void CFindDlg::Close() {
    if (hwnd()) DestroyWindow(hwnd());  // saves the texts on the way
}

void CFindDlg::PassRequest() {
    if (!pending_) return;  // the news that the window went: nothing to do
    FindRequest request = std::move(*pending_);
    pending_.reset();
    host_.OnFindRequest(request);
}

BOOL CFindDlg::OnInitDialog() {
    SetIcons(IDR_MAINFRAME);
    SendDlgItemMessageA(hwnd(), IDC_FIND_TEXT, CB_LIMITTEXT, kFindTextLimit, 0);
    // A value written in UTF-16 is read so too; one that fits keeps its own ANSI bytes.
    const std::string key = std::string(kAppKey) + "\\" + kSettingsSection;
    std::vector<HistoryEntry> texts;
    for (int i = 0; i < static_cast<int>(kRecentTextCount); ++i) {
        const std::string name = RecentTextValueName(i);
        std::string text = profile_.GetString(kSettingsSection, name, "");
        if (text.empty()) break;
        texts.push_back(CapturedEntry(std::move(text), ReadUserWideString(key, name),
                                      ProgramCodePage()));
    }
    ShowRecentTexts(texts);
    PlaceAboveHistory();
    return TRUE;
}

// Same left edge as the history window, three quarters of its own height above it, but
// never above the top of the screen.
void CFindDlg::PlaceAboveHistory() {
    RECT history = {}, own = {};
    GetWindowRect(owner_, &history);
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
        closing_ = hwnd();
        break;
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
    pending_.reset();
    SendMessageA(owner_, kKestroFindDialog, 0, reinterpret_cast<LPARAM>(closing_));
}

void CFindDlg::Search(bool down) {
    HWND combo = Item(IDC_FIND_TEXT);
    std::u16string typed = WideWindowText(combo);
    if (typed.empty()) return;
    // A text chosen from the list is the text as it was kept, with its own ANSI bytes.
    HistoryEntry text = EntryFromWide(typed, ProgramCodePage());
    for (const HistoryEntry& kept : recent_) {
        if (ProgramCodePage().ToWide(kept.text) == typed || kept.wide == typed) text = kept;
    }
    FindRequest request;
    request.down = down;
    request.matchCase = IsDlgButtonChecked(hwnd(), IDC_MATCH_CASE) == BST_CHECKED;

    std::vector<HistoryEntry> after = UpdateRecentTexts(recent_, text, folding_);
    if (after != recent_) {
        ShowRecentTexts(after);
        SetWindowTextW(combo, reinterpret_cast<const wchar_t*>(typed.c_str()));
    }
    request.text = std::move(text);
    pending_ = std::move(request);
    // The owner searches now. The window may be gone when this returns (the owner hidden
    // while its message was up); this object is not.
    SendMessageA(owner_, kKestroFindDialog, 0, reinterpret_cast<LPARAM>(hwnd()));
    pending_.reset();
}

void CFindDlg::ShowRecentTexts(const std::vector<HistoryEntry>& texts) {
    recent_ = texts;
    HWND combo = Item(IDC_FIND_TEXT);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const HistoryEntry& text : texts) {
        if (text.HasWide()) {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePtr(text.wide)));
        } else {
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.text.c_str()));
        }
    }
    if (texts.empty()) return;
    if (texts[0].HasWide()) {
        SetWindowTextW(combo, WidePtr(texts[0].wide));
    } else {
        SetWindowTextA(combo, texts[0].text.c_str());
    }
}

// The list into FindHistory0 onward; later values stay. A text that fits is written as
// before; one that does not is written in UTF-16, so that it comes back exactly.
void CFindDlg::SaveRecentTexts() {
    if (!hwnd()) return;
    const std::string key = std::string(kAppKey) + "\\" + kSettingsSection;
    for (std::size_t i = 0; i < recent_.size() && !recent_[i].text.empty(); ++i) {
        const std::string name = RecentTextValueName(static_cast<int>(i));
        if (recent_[i].HasWide()) {
            WriteUserWideString(key, name, recent_[i].wide);
        } else {
            profile_.WriteString(kSettingsSection, name, recent_[i].text);
        }
    }
}

}  // namespace zurimo
