// What the history window asks of the program that shows it. The window knows nothing else
// of the program: it is given this at construction.
#pragma once

#include <windows.h>

#include <string>

#include "history/history_settings.h"

namespace zurimo {

class HistoryHost {
public:
    virtual ~HistoryHost() = default;

    // The settings as they stand now (options may change them while the window lives).
    virtual HistorySettings Settings() const = 0;
    // The options sheet, modal.
    virtual void ShowOptions() = 0;
    // Gives the foreground back to the window the user worked in before.
    virtual void ReturnFocus() = 0;
    // Pastes the clipboard into the foreground window.
    virtual void PasteIntoForeground() = 0;
    // One of the program's modal dialogs that is open (options, About, editor), or null.
    virtual HWND OpenModalDialog() const = 0;
    // Shows the program's context menu with its top-left corner at (x, y) on the screen,
    // owned by `owner`. True, with the chosen entry's text, when an entry was chosen.
    virtual bool TrackContextMenu(int x, int y, HWND owner, std::string* text) = 0;
};

}  // namespace zurimo
