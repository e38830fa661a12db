// The history list box: a plain list box that also lets an entry be dragged out, and keeps
// Ctrl combinations away from its own type-ahead search.
#pragma once

#include <windows.h>

#include "base/win/subclass.h"

namespace zurimo {

class CZurimoDlg;

class CZurimoListBox : public Subclass {
public:
    // Attaches to the list of `dialog`, whose history it shows.
    void Attach(HWND list, CZurimoDlg* dialog);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);

    CZurimoDlg* dialog_ = nullptr;
};

}  // namespace zurimo
