// The history window: a modeless dialog (template 100) that shows the history, created
// hidden with the main window and living until the program exits.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/profile.h"
#include "base/win/window.h"
#include "history/history_list.h"
#include "history/saved_history.h"
#include "history/win/history_host.h"
#include "history/win/find_dialog.h"
#include "history/win/history_list_box.h"
#include "history/win/saved_history_file.h"

namespace zurimo {

class CZurimoDlg : public Dialog, private HistoryView, private FindHost {
public:
    explicit CZurimoDlg(HistoryHost& host);
    ~CZurimoDlg() override;

    bool Create(HWND owner);

    // Adds a captured text at the head; tells the user when memory runs out.
    void AddHistory(HistoryEntry entry);
    // With `File` on: the saved history, read at start and written at exit; a failure is
    // reported to the user.
    void LoadHistory();
    void SaveHistory();
    void ShowHistory();
    void SetPaused(bool paused);
    // Reads and clears the flag that context help was just asked for.
    bool QueryAndClearHelpRequested();

    // Picks the text (menu choice, date and time, quoted or plain entry) and delivers it.
    void TakeOut();
    // Puts the text on the clipboard (its original beside the ANSI text when it has one),
    // hides the window, returns the foreground and, when asked and `Paste` is on, pastes.
    // False when the clipboard could not take the text.
    bool DeliverText(const HistoryEntry& text, bool paste);
    // A context-menu item was chosen: the next take-out delivers its text.
    void SetMenuChoice(const std::string& text);

    // The window, then its controls 1012, 1005, 1007, 1008, 1009, 1010, 2, 1022, 1047, into
    // the hook library's record of windows from its second slot on (the first is the main
    // window's).
    void GetHookWindows(HWND* record) const;

    HistoryList& history() { return history_; }
    // The whole text in the preview, in its real characters.
    void UpdatePreview(const HistoryEntry& entry);
    // Drags entry `index` out; when a target takes it, it is delivered as a take-out is.
    void DragOut(int index, const HistoryEntry& entry);
    // Hides the window; an open Find window is closed with it.
    void Hide();

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnHelp(const HELPINFO& info) override;

private:
    // The list box mirrors the store.
    int LineCount() const override;
    void InsertLine(int index, std::string_view line) override;
    void InsertWideLine(int index, std::u16string_view line) override;
    void RemoveLine(int index) override;

    int Selection() const;
    void Select(int index);
    void ShowSelectionInPreview();
    void ReadCheckBoxes();
    void Untick(int id);
    void Delete();
    void Close();
    void ShowOptions();
    // Find: the one Find window, made on first use, shown and activated.
    void OpenFind();
    void OnFindRequest(const FindRequest& request) override;
    // Edit: the selected entry in the editor; a changed text is taken out.
    void EditSelected();
    void PutBack(int index, const HistoryEntry& entry);
    void RestoreDefaultButton(int from);
    void OnListKey(UINT virtualKey);
    void OnContextMenu(int x, int y);

    HistoryHost& host_;
    HistoryList history_;
    SavedHistoryFile file_;
    SavedHistory saved_;
    HWND listBox_ = nullptr;  // control 1012, looked up once
    CZurimoListBox list_;
    Profile profile_;
    WinCaseFolding folding_;
    CFindDlg find_;
    bool quoteBox_ = false;
    bool dateTimeBox_ = false;
    bool menuChoicePending_ = false;
    std::string menuChoice_;
    bool paused_ = false;
    bool helpRequested_ = false;
};

}  // namespace zurimo
