#include "history/win/history_list_box.h"

#include "base/win/text_drag.h"
#include "history/win/history_window.h"

namespace zurimo {

void CZurimoListBox::Attach(HWND list, CZurimoDlg* dialog) {
    dialog_ = dialog;
    Subclass::Attach(list);
}

LRESULT CZurimoListBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CHAR:
        // Ctrl combinations are commands of the history window, never a type-ahead search.
        if (GetKeyState(VK_CONTROL) < 0) return 0;
        break;
    case WM_LBUTTONDOWN:
        return OnLButtonDown(wParam, lParam);
    }
    return Default(message, wParam, lParam);
}

LRESULT CZurimoListBox::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    // The list selects the entry under the pointer first.
    LRESULT result = Default(WM_LBUTTONDOWN, wParam, lParam);
    int index = static_cast<int>(SendMessageA(hwnd(), LB_GETCURSEL, 0, 0));
    HistoryList& history = dialog_->history();
    if (index < 0 || index >= history.Count() || history.At(index).text.empty()) return result;

    HistoryEntry entry = history.At(index);
    dialog_->UpdatePreview(entry);
    POINT press = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(hwnd(), &press);
    // The list tracks the mouse from its own button-down; our wait takes the capture, so
    // the list is given the button-up that ends its tracking afterwards.
    bool drag = WaitForDragStart(hwnd(), press);
    Default(WM_LBUTTONUP, wParam, lParam);
    if (drag) dialog_->DragOut(index, entry);
    return result;
}

}  // namespace zurimo
