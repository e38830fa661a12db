#include "history/win/history_window.h"

#include <new>

#include "base/product.h"
#include "base/win/clipboard_text.h"
#include "base/win/handles.h"
#include "base/win/program.h"
#include "base/win/text_drag.h"
#include "base/win/win_code_page.h"
#include "history/win/program_code_page.h"
#include "base/win/win_registry.h"
#include "history/file_error.h"
#include "history/list_keys.h"
#include "history/take_out.h"
#include "history/transforms.h"
#include "history/win/edit_dialog.h"
#include "history/win/win_date_time.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

constexpr std::size_t kShortPreviewLimit = 32768;  // edit controls outside the NT family

// At most `limit` units, never half a surrogate pair.
std::u16string CutWide(const std::u16string& text, std::size_t limit) {
    std::size_t end = limit;
    if (end > 0 && text[end - 1] >= 0xD800 && text[end - 1] < 0xDC00) --end;
    return text.substr(0, end);
}

}  // namespace

CZurimoDlg::CZurimoDlg(HistoryHost& host)
    : host_(host),
      history_(this),
      file_(SavedHistoryPath()),
      saved_(file_),
      profile_(SystemRegistry(), kAppKey),
      find_(*this, profile_, folding_) {}

CZurimoDlg::~CZurimoDlg() = default;

// A wide dialog, so that the list and the preview can show texts outside the code page.
bool CZurimoDlg::Create(HWND owner) {
    return CreateModeless(ProgramInstance(), IDD_ZURIMO_DIALOG, owner, true);
}

BOOL CZurimoDlg::OnInitDialog() {
    SetIcons(IDR_MAINFRAME);
    listBox_ = Item(IDC_HISTORY_LIST);
    list_.Attach(listBox_, this);

    int tab = host_.Settings().tab;
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
    }
    if (message == kKestroFindDialog) {
        find_.PassRequest();
        return TRUE;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

// Context help: the flag keeps the window open when the help popup takes the activation.
bool CZurimoDlg::OnHelp(const HELPINFO&) {
    helpRequested_ = true;
    return true;
}

bool CZurimoDlg::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDOK:
    case IDC_TAKE_OUT: TakeOut(); return true;
    case IDC_DELETE: Delete(); return true;
    case IDC_FIND: OpenFind(); return true;
    case IDC_EDIT: EditSelected(); return true;
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
    LRESULT count = SendMessageA(listBox_, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

void CZurimoDlg::InsertLine(int index, std::string_view line) {
    // A line that is its entry's whole text ends at the text's zero: no copy is needed.
    std::string copy;
    const char* text = line.data();
    if (line.data()[line.size()] != '\0') {
        copy.assign(line);
        text = copy.c_str();
    }
    LRESULT at = SendMessageA(listBox_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text));
    if (at == LB_ERRSPACE || at == LB_ERR) throw std::bad_alloc();
}

void CZurimoDlg::InsertWideLine(int index, std::u16string_view line) {
    std::u16string copy;
    const char16_t* text = line.data();
    if (line.data()[line.size()] != u'\0') {
        copy.assign(line);
        text = copy.c_str();
    }
    LRESULT at = SendMessageW(listBox_, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text));
    if (at == LB_ERRSPACE || at == LB_ERR) throw std::bad_alloc();
}

void CZurimoDlg::RemoveLine(int index) {
    SendMessageA(listBox_, LB_DELETESTRING, index, 0);
}

int CZurimoDlg::Selection() const {
    LRESULT selected = SendMessageA(listBox_, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR || selected >= history_.Count() ? -1 : static_cast<int>(selected);
}

void CZurimoDlg::Select(int index) {
    SendMessageA(listBox_, LB_SETCURSEL, index, 0);
}

void CZurimoDlg::AddHistory(HistoryEntry entry) {
    try {
        history_.Add(std::move(entry), host_.Settings().capacity);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(nullptr);
    }
    ReadCheckBoxes();
}

void CZurimoDlg::LoadHistory() {
    if (!host_.Settings().file || file_.path().empty()) return;
    std::vector<HistoryEntry> entries;
    if (FileFailure failure = saved_.Load(&entries)) {
        ReportFileFailure(failure);
        return;
    }
    // The list box is told how much comes and draws nothing until all of it is there.
    std::size_t lineBytes = 0;
    for (const HistoryEntry& entry : entries) lineBytes += DisplayLineView(entry.text).size() + 1;
    SendMessageA(listBox_, LB_INITSTORAGE, entries.size(), lineBytes * sizeof(wchar_t));
    SendMessageA(listBox_, WM_SETREDRAW, FALSE, 0);
    try {
        history_.Assign(std::move(entries));
    } catch (const std::bad_alloc&) {
        ReportFileFailure(FileFailure{FileError::kOutOfMemory, std::string()});
    }
    SendMessageA(listBox_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox_, nullptr, TRUE);
}

void CZurimoDlg::SaveHistory() {
    HistorySettings settings = host_.Settings();
    if (!settings.file || file_.path().empty()) return;
    // A lowered History takes effect from the next start, as its page says: the surplus of
    // a longer list is not written, so that it cannot grow from run to run.
    history_.TrimTo(settings.capacity);
    try {
        if (FileFailure failure = saved_.Save(history_.entries())) ReportFileFailure(failure);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(nullptr);  // the file is left as it was
    }
}

void CZurimoDlg::ShowHistory() {
    if (IsWindowVisible(hwnd())) return;
    if (HWND dialog = host_.OpenModalDialog()) {
        SetForegroundWindow(dialog);
        return;
    }
    CenterOnWorkArea(hwnd());  // the owner, the main window, is hidden
    SetFocus(Item(IDC_HISTORY_LIST));
    RestoreDefaultButton(0);
    ShowWindow(hwnd(), SW_SHOW);
    if (history_.Count() > 0) {
        Select(0);
        if (!history_.At(0).text.empty()) UpdatePreview(history_.At(0));
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
    TakeOutState state;
    state.menuChoicePending = menuChoicePending_;
    state.menuChoice = menuChoice_;
    state.dateTimeBox = dateTimeBox_;
    state.quoteBox = quoteBox_;
    state.selected = Selection();
    HistorySettings settings = host_.Settings();
    WinDateTimeSource clock(hwnd());
    TakeOutPlan plan = PlanTakeOut(history_, state, TakeOutSettings{settings.quote, settings.dateTime},
                                   clock, ProgramCodePage());
    if (plan.kind == TakeOutKind::kNothing) return;
    if (plan.kind == TakeOutKind::kMenuChoice) {
        menuChoicePending_ = false;
        menuChoice_.clear();
    }
    if (plan.untickDateTime) Untick(IDC_DATE_TIME);
    if (plan.untickQuote) Untick(IDC_QUOTE);
    if (plan.untickDateTime || plan.untickQuote) ReadCheckBoxes();
    if (plan.kind != TakeOutKind::kEntry) {
        DeliverText(plan.text, true);
        return;
    }
    history_.Remove(plan.entryIndex);
    bool delivered = DeliverText(plan.text, true);
    if (PutsEntryBack(delivered, paused_)) PutBack(plan.entryIndex, plan.text);
}

// A taken entry whose text the clipboard did not take: while capture runs, nothing else
// would bring it back, so it returns to its place.
void CZurimoDlg::PutBack(int index, const HistoryEntry& entry) {
    try {
        history_.Insert(index, entry);
        Select(index);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(nullptr);
    }
}

bool CZurimoDlg::DeliverText(const HistoryEntry& text, bool paste) {
    bool delivered = PutTextOnClipboard(hwnd(), text.text, text.wide);
    if (delivered) {
        Select(0);
        Hide();
        host_.ReturnFocus();
        if (paste && host_.Settings().paste) host_.PasteIntoForeground();
    }
    // While paused the clipboard change is not captured, so the history is updated here.
    if (paused_) AddHistory(text);
    return delivered;
}

void CZurimoDlg::DragOut(int index, const HistoryEntry& entry) {
    UniqueHGlobal block = TextBlock(entry.text);
    UniqueHGlobal wideBlock;
    if (entry.HasWide()) wideBlock = TextBlock(entry.wide);
    if (!block || (entry.HasWide() && !wideBlock)) return;  // no memory: the drag does not start
    if (!DragText(block.get(), wideBlock.get())) return;
    index = FindDraggedEntry(history_, index, entry);
    if (index < 0) {
        DeliverText(entry, false);
        return;
    }
    int selected = Selection();
    history_.Remove(index);
    if (!DeliverText(entry, false)) {
        if (PutsEntryBack(false, paused_)) PutBack(index, entry);
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

void CZurimoDlg::UpdatePreview(const HistoryEntry& entry) {
    bool cut = host_.Settings().shortTexts;
    if (entry.HasWide()) {
        const std::u16string& wide = entry.wide;
        if (cut && wide.size() > kShortPreviewLimit) {
            SetDlgItemTextW(hwnd(), IDC_PREVIEW, WidePtr(CutWide(wide, kShortPreviewLimit)));
            return;
        }
        SetDlgItemTextW(hwnd(), IDC_PREVIEW, WidePtr(wide));
        return;
    }
    const std::string& text = entry.text;
    if (cut && text.size() > kShortPreviewLimit) {
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
    find_.Close();  // it saves its texts and goes
    ShowWindow(hwnd(), SW_HIDE);
}

void CZurimoDlg::OpenFind() { find_.Open(hwnd()); }

void CZurimoDlg::OnFindRequest(const FindRequest& request) {
    FindResult found = FindInHistory(history_.entries(), Selection(), request.text, request.down,
                                     request.matchCase, folding_, ProgramCodePage());
    switch (found.outcome) {
    case FindOutcome::kFound:
        Select(found.index);
        ShowSelectionInPreview();
        break;
    case FindOutcome::kNotFound:
        if (request.text.HasWide()) {
            ShowMessage(find_.hwnd(), u"『" + request.text.wide + u"』 が見つかりません",
                        MB_OK | MB_ICONINFORMATION);
        } else {
            ShowMessage(find_.hwnd(), "『" + request.text.text + "』 が見つかりません",
                        MB_OK | MB_ICONINFORMATION);
        }
        if (find_.hwnd()) SetFocus(find_.Item(IDC_FIND_TEXT));  // unless it closed meanwhile
        break;
    case FindOutcome::kNothing: break;
    }
}

void CZurimoDlg::EditSelected() {
    int selected = Selection();
    if (history_.Count() > 0 && selected >= 0) {
        HistorySettings settings = host_.Settings();
        HistoryEntry entry = history_.At(selected);
        if (settings.shortTexts) {
            if (entry.text.size() > kShortPreviewLimit) entry.text.resize(kShortPreviewLimit);
            if (entry.wide.size() > kShortPreviewLimit) entry.wide = CutWide(entry.wide, kShortPreviewLimit);
        }
        CEditDlg editor(std::move(entry), settings.tab);
        if (editor.DoModal(GetWindow(hwnd(), GW_OWNER)) == IDOK && !editor.result().text.empty()) {
            DeliverText(editor.result(), true);
        }
    }
    RestoreDefaultButton(IDC_EDIT);
}

void CZurimoDlg::Close() {
    Hide();
    host_.ReturnFocus();
}

void CZurimoDlg::ShowOptions() {
    host_.ShowOptions();
    RestoreDefaultButton(IDC_OPTIONS);
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
    HistorySettings settings = host_.Settings();
    switch (CtrlKeyAction(static_cast<std::uint16_t>(virtualKey), settings.keys)) {
    case ListKeyAction::kNone: break;
    case ListKeyAction::kDigit: {
        int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        int index = DigitIndex(top, static_cast<std::uint16_t>(virtualKey));
        if (SendMessageA(list, LB_SETCURSEL, index, 0) != LB_ERR && settings.number) TakeOut();
        break;
    }
    case ListKeyAction::kTakeOut: TakeOut(); break;
    case ListKeyAction::kDelete: Delete(); break;
    case ListKeyAction::kFind: OpenFind(); break;
    case ListKeyAction::kEdit: EditSelected(); break;
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

// A request from the keyboard comes with -1 for a coordinate: the window's centre is used.
void CZurimoDlg::OnContextMenu(int x, int y) {
    RECT rect = {};
    GetWindowRect(hwnd(), &rect);
    if (x == -1) x = (rect.left + rect.right) / 2;
    if (y == -1) y = (rect.top + rect.bottom) / 2;
    std::string text;
    if (!host_.TrackContextMenu(x, y, hwnd(), &text)) return;
    SetMenuChoice(text);
    TakeOut();
}

}  // namespace zurimo
