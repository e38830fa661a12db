// The editor (112): a resizable modal window in which the user changes an entry's text
// before taking it out. The buttons stay in a band at the top; the text fills the rest.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/window.h"

namespace zurimo {

class CEditDlg : public Dialog {
public:
    // `tab`: the Tab setting (0 standard, 1 four, else eight dialog units).
    CEditDlg(std::string text, int tab) : text_(std::move(text)), tab_(tab) {}
    INT_PTR DoModal(HWND owner);
    // After OK: the whole text when the user changed it, else empty.
    const std::string& result() const { return result_; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();

    std::string text_;
    int tab_;
    std::string result_;
};

}  // namespace zurimo
