// The editor (112): a resizable modal window in which the user changes an entry's text
// before taking it out. The buttons stay in a band at the top; the text fills the rest.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/window.h"
#include "history/history_entry.h"

namespace zurimo {

// An entry with a wide original is edited in a wide window, in its real characters: an ANSI
// dialog's edit control would keep its text in the code page. Any other entry is edited in
// an ANSI window, so that its bytes come back as they were.
class CEditDlg : public Dialog {
public:
    // `tab`: the Tab setting (0 standard, 1 four, else eight dialog units).
    CEditDlg(HistoryEntry entry, int tab) : entry_(std::move(entry)), tab_(tab) {}
    INT_PTR DoModal(HWND owner);
    // After OK: the whole text when the user changed it (with its original when the code
    // page cannot hold it), else empty.
    const HistoryEntry& result() const { return result_; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();

    HistoryEntry entry_;
    int tab_;
    HistoryEntry result_;
};

}  // namespace zurimo
