// The About box (101): the program's name, version and copyright from its own version
// block, the running Windows, and links to the maker's web and mail addresses.
#pragma once

#include <windows.h>

#include "base/win/static_link.h"
#include "base/win/window.h"

namespace zurimo {

class CAboutDlg : public Dialog {
public:
    INT_PTR DoModal(HWND owner);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CStaticLink web_;
    CStaticLink mail_;
};

}  // namespace zurimo
