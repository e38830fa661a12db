// The Find window (111): a modeless window owned by the history window, in which the user
// searches the history up or down for a text. It keeps the last five search texts in the
// settings. It asks the history window to search with the registered message
// KestroFindDialog, and tells it the same way when it goes.
//
// It is a wide window, so that its search box takes any character; a search text that the
// code page cannot hold keeps its original, in the settings too.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/profile.h"
#include "base/win/window.h"
#include "history/find.h"

namespace zurimo {

extern const UINT kKestroFindDialog;

// A search the user asked for.
struct FindRequest {
    HistoryEntry text;  // as typed, with its original when the code page cannot hold it
    bool down = true;
    bool matchCase = false;
};

// What the Find window asks of the window that owns it.
class FindHost {
public:
    virtual ~FindHost() = default;
    virtual void OnFindRequest(const FindRequest& request) = 0;
};

// The object lives as long as its owner; its window comes and goes. Each request, and the
// window's end, is announced to the owner with KestroFindDialog, whose handler calls
// PassRequest.
class CFindDlg : public Dialog {
public:
    CFindDlg(FindHost& host, Profile& profile, CaseFolding& folding)
        : host_(host), profile_(profile), folding_(folding) {}

    // Shows the window, made from template 111 above `owner` when there is none; false when
    // it could not be made.
    bool Open(HWND owner);
    // Saves the search texts and destroys the window.
    void Close();
    // The owner's handler of KestroFindDialog: hands a pending request to the host.
    void PassRequest();

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

    FindHost& host_;
    Profile& profile_;
    CaseFolding& folding_;
    HWND owner_ = nullptr;
    HWND closing_ = nullptr;  // the window's handle while it goes, named in its last message
    std::optional<FindRequest> pending_;
    std::vector<HistoryEntry> recent_;  // the search box's list, as its texts were read
};

// The case folding of the user's locale.
class WinCaseFolding : public CaseFolding {
public:
    void Lower(char* text, std::size_t size) override;
    void LowerWide(char16_t* text, std::size_t size) override;
};

}  // namespace zurimo
