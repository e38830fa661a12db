// A static text that acts as a hyperlink: drawn underlined in blue (purple once opened),
// with a hand cursor, opening its target through the shell when clicked. The dialog that
// holds it hands it the colour requests of its statics (OnColor).
#pragma once

#include <windows.h>

#include <string>

#include "base/win/handles.h"
#include "base/win/subclass.h"

namespace zurimo {

class CStaticLink : public Subclass {
public:
    CStaticLink() = default;
    ~CStaticLink() override;

    // The target to open; when empty, the control's own text is the target.
    void SetTarget(std::string target) { target_ = std::move(target); }
    // For the dialog's WM_CTLCOLORSTATIC of this control: the brush to return, or null when
    // the control is not a text static and draws by default.
    HBRUSH OnColor(HDC dc);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Open();
    HCURSOR LinkCursor();

    std::string target_;
    COLORREF color_ = RGB(0, 0, 255);
    HFONT underlined_ = nullptr;
    HCURSOR cursor_ = nullptr;
    bool cursorLooked_ = false;
};

}  // namespace zurimo
