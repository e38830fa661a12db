// Clipboard capture: membership of the clipboard viewer chain, pausing, and the read of each
// accepted change. The text read is handed to the history as an entry: the CF_TEXT bytes as
// they are, with the CF_UNICODETEXT original beside them when the code page cannot hold it.
#pragma once

#include <windows.h>

#include "app/capture_rules.h"
#include "base/win/handles.h"
#include "history/history_entry.h"

namespace zurimo {

// Where captured texts go.
class CaptureTarget {
public:
    virtual ~CaptureTarget() = default;
    // False while there is nothing to add to (no history window): changes are not read.
    virtual bool Accepting() const = 0;
    virtual void AddCaptured(HistoryEntry entry) = 0;
};

class CClipboardCapture {
public:
    // `window` receives the chain's messages and the posted read (`readMessage`).
    CClipboardCapture(CaptureTarget& target, UINT readMessage)
        : target_(target), readMessage_(readMessage) {}

    // Joins the chain; the system's first WM_DRAWCLIPBOARD captures the current text.
    void Join(HWND window);
    // Leaves the chain for good, paused or not.
    void Leave();

    // WM_DRAWCLIPBOARD: posts one read for an accepted change (with `word` on, every second
    // change that MS Word makes), then passes the notification on.
    void OnDrawClipboard(bool word);
    // WM_CHANGECBCHAIN.
    void OnChangeCbChain(HWND removed, HWND next);
    // The posted read.
    void Read();
    // Leaves the chain or joins it again; returns the new paused state.
    bool TogglePause();
    bool paused() const { return paused_; }

private:
    // Passes a chain notification on; a viewer that hangs is given up on.
    void ForwardToNextViewer(UINT message, WPARAM wParam, LPARAM lParam);

    CaptureTarget& target_;
    const UINT readMessage_;
    HWND window_ = nullptr;
    bool paused_ = false;
    HWND nextViewer_ = nullptr;
    DWORD lastSequence_ = 0;  // the clipboard change read last
    WordFilter wordFilter_;
    CriticalSection lock_;  // around the Word test
};

}  // namespace zurimo
