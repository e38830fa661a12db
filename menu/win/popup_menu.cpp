#include "menu/win/popup_menu.h"

#include "base/win/program.h"

namespace zurimo {

bool WinPopupMenu::CreatePopup() {
    menu_.reset(CreatePopupMenu());
    return static_cast<bool>(menu_);
}

bool WinPopupMenu::Append(unsigned flags, int id, const std::string& caption) {
    const char* text = (flags & MF_SEPARATOR) ? nullptr : caption.c_str();
    return AppendMenuA(menu_.get(), flags, static_cast<UINT_PTR>(id), text) != FALSE;
}

int WinPopupMenu::Track(int x, int y, std::uintptr_t owner) {
    // The chosen identifier is returned, not sent: the owner gets no WM_COMMAND.
    return static_cast<int>(TrackPopupMenu(menu_.get(), TPM_RETURNCMD, x, y, 0,
                                           reinterpret_cast<HWND>(owner), nullptr));
}

void WinPopupMenu::ReportOutOfMemory() { zurimo::ReportOutOfMemory(nullptr); }

}  // namespace zurimo
