// The history list box: a plain list box that also lets an entry be dragged out, and keeps
// Ctrl combinations away from its own type-ahead search.
#pragma once

#include <windows.h>

namespace zurimo {

class CZurimoDlg;

class CZurimoListBox {
public:
    CZurimoListBox() = default;
    ~CZurimoListBox() { Detach(); }
    CZurimoListBox(const CZurimoListBox&) = delete;
    CZurimoListBox& operator=(const CZurimoListBox&) = delete;

    void Attach(HWND list, CZurimoDlg* dialog);
    void Detach();
    HWND hwnd() const { return list_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR data);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);

    HWND list_ = nullptr;
    CZurimoDlg* dialog_ = nullptr;
};

}  // namespace zurimo
