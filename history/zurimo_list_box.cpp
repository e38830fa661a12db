#include "history/zurimo_list_box.h"

#include <commctrl.h>

#include "base/win/text_drag.h"
#include "history/zurimo_dlg.h"

namespace zurimo {
namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

void CZurimoListBox::Attach(HWND list, CZurimoDlg* dialog) {
    Detach();
    if (list && SetWindowSubclass(list, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        list_ = list;
        dialog_ = dialog;
    }
}

void CZurimoListBox::Detach() {
    if (list_) RemoveWindowSubclass(list_, Proc, kSubclassId);
    list_ = nullptr;
}

LRESULT CALLBACK CZurimoListBox::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<CZurimoListBox*>(data);
    switch (message) {
    case WM_CHAR:
        // Ctrl combinations are commands of the history window, never a type-ahead search.
        if (GetKeyState(VK_CONTROL) < 0) return 0;
        break;
    case WM_LBUTTONDOWN:
        return self->OnLButtonDown(wParam, lParam);
    case WM_NCDESTROY:
        self->Detach();
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CZurimoListBox::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    // The list selects the entry under the pointer first.
    LRESULT result = DefSubclassProc(list_, WM_LBUTTONDOWN, wParam, lParam);
    int index = static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
    HistoryList& history = dialog_->history();
    if (index < 0 || index >= history.Count() || history.At(index).empty()) return result;

    std::string text = history.At(index);
    dialog_->UpdatePreview(text);
    POINT press = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(list_, &press);
    // The list tracks the mouse from its own button-down; our wait takes the capture, so
    // the list is given the button-up that ends its tracking afterwards.
    bool drag = WaitForDragStart(list_, press);
    DefSubclassProc(list_, WM_LBUTTONUP, wParam, lParam);
    if (drag) dialog_->DragOut(index, text);
    return result;
}

}  // namespace zurimo
