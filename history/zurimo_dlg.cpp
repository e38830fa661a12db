#include "history/zurimo_dlg.h"

#include <cstring>
#include <new>

#include "app/application.h"
#include "app/focus.h"
#include "app/main_frame.h"
#include "base/win/handles.h"
#include "base/win/text_drag.h"
#include "history/file_error.h"
#include "history/list_keys.h"
#include "history/saved_history.h"
#include "history/transforms.h"
#include "history/win_date_time.h"
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
    list_.Attach(Item(IDC_HISTORY_LIST), this);

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
    case WM_VKEYTOITEM:
        // The list hands every key press here first; -1 lets it go on to the list.
        OnListKey(LOWORD(wParam));
        return -1;
    case WM_CONTEXTMENU:
        OnContextMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return TRUE;
    case WM_HELP:
        // Context help: the flag keeps the window open when the help popup takes the
        // activation.
        helpRequested_ = true;
        return TRUE;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

bool CZurimoDlg::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDOK:
    case IDC_TAKE_OUT: TakeOut(); return true;
    case IDC_DELETE: Delete(); return true;
    case IDC_FIND: OpenFind(); return true;
    case IDC_EDIT: RestoreDefaultButton(IDC_EDIT); return true;
    case IDC_OPTIONS: ShowOptions(); return true;
    case IDCANCEL: Close(); return true;
    case IDC_QUOTE:
    case IDC_DATE_TIME:
        if (code == BN_CLICKED) ReadCheckBoxes();
        return true;
    case IDC_HISTORY_LIST:
        if (code == LBN_SELCHANGE) ShowSelectionInPreview();
        if (code == LBN_SETFOCUS && history_.Count() > 0) ShowSelectionInPreview();
        if (code == LBN_DBLCLK && Selection() >= 0) TakeOut();
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

int CZurimoDlg::Selection() const {
    LRESULT selected = SendDlgItemMessageA(hwnd(), IDC_HISTORY_LIST, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR || selected >= history_.Count() ? -1 : static_cast<int>(selected);
}

void CZurimoDlg::Select(int index) {
    SendDlgItemMessageA(hwnd(), IDC_HISTORY_LIST, LB_SETCURSEL, index, 0);
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
        // A file that is there but cannot be read is kept aside before it is written anew.
        keepUnreadableFile_ = failure.error != FileError::kFileNotFound &&
                              failure.error != FileError::kBadPath;
        ReportFileFailure(failure);
        return;
    }
    try {
        history_.Assign(std::move(entries));
    } catch (const std::bad_alloc&) {
        ReportFileFailure(FileFailure{FileError::kOutOfMemory, std::string()});
    }
}

void CZurimoDlg::SaveHistory() {
    if (!TheApp().file) return;
    std::string path = SavedHistoryPath();
    if (path.empty()) return;
    if (keepUnreadableFile_) {
        if (FileFailure failure = BackUpHistoryFile(path)) {
            ReportFileFailure(failure);  // rather no save than the old contents lost
            return;
        }
        keepUnreadableFile_ = false;
    }
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
    CenterOnWorkArea(hwnd());  // the owner, the main window, is hidden
    SetFocus(Item(IDC_HISTORY_LIST));
    RestoreDefaultButton(0);
    ShowWindow(hwnd(), SW_SHOW);
    if (history_.Count() > 0) {
        Select(0);
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

void CZurimoDlg::SetMenuChoice(const std::string& text) {
    menuChoicePending_ = true;
    menuChoice_ = text;
}

void CZurimoDlg::TakeOut() {
    std::string text;
    if (menuChoicePending_) {
        menuChoicePending_ = false;
        text.swap(menuChoice_);
    } else if (dateTimeBox_) {
        WinDateTimeSource clock(hwnd());
        text = DateTimeTakeOutText(clock, TheApp().dateTime, quoteBox_, TheApp().quote);
        Untick(IDC_DATE_TIME);
        if (quoteBox_) Untick(IDC_QUOTE);
        ReadCheckBoxes();
    } else {
        int selected = Selection();
        if (selected < 0) return;
        if (quoteBox_) {
            text = QuoteText(history_.At(selected), TheApp().quote);
            Untick(IDC_QUOTE);
            ReadCheckBoxes();
        } else {
            text = history_.At(selected);
            history_.Remove(selected);
            if (!DeliverText(text, true)) PutBack(selected, text);
            return;
        }
    }
    DeliverText(text, true);
}

// A taken entry whose text the clipboard did not take: while capture runs, nothing else
// would bring it back, so it returns to its place.
void CZurimoDlg::PutBack(int index, const std::string& text) {
    if (paused_) return;  // delivery added it again already
    try {
        history_.Insert(index, text);
        Select(index);
    } catch (const std::bad_alloc&) {
        ShowMessage(nullptr, FileErrorMessage(FileError::kOutOfMemory, std::string()),
                    MB_OK | MB_ICONEXCLAMATION);
    }
}

bool CZurimoDlg::DeliverText(const std::string& text, bool paste) {
    bool delivered = false;
    UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1));
    if (block) {
        {
            GlobalLockGuard lock(block.get());
            if (lock.get()) std::memcpy(lock.get(), text.data(), text.size());
        }
        {
            ClipboardOpen clipboard(hwnd());
            if (clipboard && EmptyClipboard() && SetClipboardData(CF_TEXT, block.get())) {
                (void)block.release();  // the clipboard owns it now
                delivered = true;
            }
        }
        if (delivered) {
            Select(0);
            Hide();
            ActivatePreviousWindow(GetWindow(hwnd(), GW_OWNER));
            if (paste && TheApp().paste) PasteIntoForeground();
        }
    }
    // While paused the clipboard change is not captured, so the history is updated here.
    if (paused_) AddHistory(text);
    return delivered;
}

void CZurimoDlg::DragOut(int index, const std::string& text) {
    UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1));
    if (!block) return;  // no memory: the drag does not start
    {
        GlobalLockGuard lock(block.get());
        if (!lock.get()) return;
        std::memcpy(lock.get(), text.data(), text.size());
    }
    if (!DragText(block.get())) return;
    // Something may have been captured during the drag: find the entry again.
    if (index >= history_.Count() || history_.At(index) != text) {
        index = -1;
        for (int i = 0; i < history_.Count() && index < 0; ++i) {
            if (history_.At(i) == text) index = i;
        }
    }
    if (index < 0) {
        DeliverText(text, false);
        return;
    }
    int selected = Selection();
    history_.Remove(index);
    if (!DeliverText(text, false)) {
        PutBack(index, text);
        if (selected != index) Select(selected);
    }
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

void CZurimoDlg::Untick(int id) { CheckDlgButton(hwnd(), id, BST_UNCHECKED); }

void CZurimoDlg::UpdatePreview(const std::string& text) {
    if (TheApp().platformId != kPlatformNt && text.size() > kShortPreviewLimit) {
        SetDlgItemTextA(hwnd(), IDC_PREVIEW, text.substr(0, kShortPreviewLimit).c_str());
        return;
    }
    SetDlgItemTextA(hwnd(), IDC_PREVIEW, text.c_str());
}

void CZurimoDlg::ShowSelectionInPreview() {
    if (history_.Count() == 0) return;
    int selected = Selection();
    UpdatePreview(history_.At(selected < 0 ? 0 : selected));
}

void CZurimoDlg::Delete() {
    int selected = Selection();
    if (selected < 0) return;
    history_.Remove(selected);
    Select(selected);  // the entry that followed, or none after the last
    if (history_.Count() > 0) {
        ShowSelectionInPreview();
    } else {
        SetDlgItemTextA(hwnd(), IDC_PREVIEW, "");
    }
}

void CZurimoDlg::Hide() {
    ShowWindow(hwnd(), SW_HIDE);
    // An open Find window goes with it.
}

void CZurimoDlg::Close() {
    Hide();
    ActivatePreviousWindow(GetWindow(hwnd(), GW_OWNER));
}

void CZurimoDlg::ShowOptions() {
    if (CMainFrame* main = TheMainFrame()) main->ShowOptions();
    RestoreDefaultButton(IDC_OPTIONS);
}

void CZurimoDlg::OpenFind() {
    // The Find window opens here.
}

// Moves the default-button style back to 取り出し (from `from`, or from whichever button
// holds it when `from` is 0).
void CZurimoDlg::RestoreDefaultButton(int from) {
    if (from != 0) {
        SendDlgItemMessageA(hwnd(), from, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    } else if (SendMessageA(hwnd(), DM_GETDEFID, 0, 0) != MAKELONG(IDC_TAKE_OUT, DC_HASDEFID)) {
        for (int id : {IDC_DELETE, IDC_FIND, IDC_EDIT, IDC_OPTIONS, IDCANCEL}) {
            SendDlgItemMessageA(hwnd(), id, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
    }
    SendMessageA(hwnd(), DM_SETDEFID, IDC_TAKE_OUT, 0);
    SendDlgItemMessageA(hwnd(), IDC_TAKE_OUT, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    if (from != 0) SetFocus(Item(IDC_HISTORY_LIST));
}

void CZurimoDlg::OnListKey(UINT virtualKey) {
    HWND list = Item(IDC_HISTORY_LIST);
    if (GetKeyState(VK_CONTROL) >= 0) {
        if (GetKeyState(VK_F3) < 0 || virtualKey == VK_F3) {
            SetFocus(list);
            OpenFind();
        } else if (virtualKey == VK_DELETE) {
            Delete();
        }
        return;
    }
    switch (CtrlKeyAction(static_cast<std::uint16_t>(virtualKey), TheApp().keyTable)) {
    case ListKeyAction::kNone: break;
    case ListKeyAction::kDigit: {
        int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        int index = DigitIndex(top, static_cast<std::uint16_t>(virtualKey));
        if (SendMessageA(list, LB_SETCURSEL, index, 0) != LB_ERR && TheApp().number) TakeOut();
        break;
    }
    case ListKeyAction::kTakeOut: TakeOut(); break;
    case ListKeyAction::kDelete: Delete(); break;
    case ListKeyAction::kFind: OpenFind(); break;
    case ListKeyAction::kEdit: RestoreDefaultButton(IDC_EDIT); break;
    case ListKeyAction::kOptions: ShowOptions(); break;
    case ListKeyAction::kClose: Close(); break;
    case ListKeyAction::kPrevious:
        if (history_.Count() > 0) {
            Select(PreviousIndex(Selection()));
            ShowSelectionInPreview();
        }
        break;
    case ListKeyAction::kNext:
        if (history_.Count() > 0) {
            int next = NextIndex(Selection());
            if (next < history_.Count()) Select(next);
            ShowSelectionInPreview();
        }
        break;
    case ListKeyAction::kContextMenu: {
        RECT rect = {};
        GetWindowRect(list, &rect);
        PostMessageA(hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd()),
                     MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
        break;
    }
    }
}

void CZurimoDlg::OnContextMenu(int, int) {
    // The context menu of folder paths and user strings opens here; until the main window
    // has one, a request does nothing.
}

}  // namespace zurimo
