// The Find window (111): a modeless window owned by the history window, in which the user
// searches the history up or down for a text. It keeps the last five search texts in the
// settings. It asks the history window to search with the registered message
// KestroFindDialog, and tells it the same way when it goes.
//
// It is a wide window, so that its search box takes any character; a search text that the
// code page cannot hold keeps its original, in the settings too.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/profile.h"
#include "base/win/window.h"
#include "history/find.h"

namespace zurimo {

extern const UINT kKestroFindDialog;

class CFindDlg : public Dialog {
public:
    CFindDlg(HWND historyWindow, Profile& profile, CaseFolding& folding)
        : history_(historyWindow), profile_(profile), folding_(folding) {}

    // The window, hidden, from template 111.
    bool Create();
    // Saves the search texts and destroys the window; the history window then lets the
    // object go, so nothing may use it after this call.
    void Close();

    // The request the history window reads when it gets KestroFindDialog.
    bool terminating = false;
    bool searchDown = true;
    bool findNext = false;
    bool matchCase = false;
    HistoryEntry findText;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage() override;

private:
    void Search(bool down);
    void PlaceAboveHistory();
    void ShowRecentTexts(const std::vector<HistoryEntry>& texts);
    void SaveRecentTexts();

    HWND history_;
    HWND self_ = nullptr;  // this window's handle, still named in the closing message
    Profile& profile_;
    CaseFolding& folding_;
    std::vector<HistoryEntry> recent_;  // the search box's list, as its texts were read
};

// The case folding of the user's locale.
class WinCaseFolding : public CaseFolding {
public:
    void Lower(char* text, std::size_t size) override;
    void LowerWide(char16_t* text, std::size_t size) override;
};

}  // namespace zurimo
