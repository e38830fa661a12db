// The history window: a modeless dialog (template 100) that shows the history, created
// hidden with the main window and living until the program exits.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/window.h"
#include "history/history_list.h"

namespace zurimo {

class CZurimoDlg : public Dialog, private HistoryView {
public:
    CZurimoDlg();
    ~CZurimoDlg() override;

    bool Create(HWND owner);

    // Adds a captured text at the head; tells the user when memory runs out.
    void AddHistory(const std::string& text);
    void LoadHistory();
    void SaveHistory();
    void ShowHistory();
    void SetPaused(bool paused);
    // Reads and clears the flag that context help was just asked for.
    bool QueryAndClearHelpRequested();

    // The window, then its controls 1012, 1005, 1007, 1008, 1009, 1010, 2, 1022, 1047, into
    // the hook library's record from its second slot on.
    void GetHookWindows(HWND* record) const;

    HistoryList& history() { return history_; }

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    // The list box mirrors the store.
    int LineCount() const override;
    void InsertLine(int index, const std::string& line) override;
    void RemoveLine(int index) override;

    void ReadCheckBoxes();
    void UpdatePreview(const std::string& text);
    void Close();

    HistoryList history_;
    bool quoteBox_ = false;
    bool dateTimeBox_ = false;
    bool paused_ = false;
    bool helpRequested_ = false;
};

}  // namespace zurimo
