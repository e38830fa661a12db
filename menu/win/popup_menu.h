// The context menu as a Windows popup menu, chosen from with TrackPopupMenu.
#pragma once

#include <windows.h>

#include "base/win/handles.h"
#include "menu/zurimo_menu.h"

namespace zurimo {

class WinPopupMenu : public MenuPlatform {
public:
    bool CreatePopup() override;
    bool HasPopup() const override { return static_cast<bool>(menu_); }
    bool Append(unsigned flags, int id, const std::string& caption) override;
    int Track(int x, int y, std::uintptr_t owner) override;
    void ReportOutOfMemory() override;

private:
    UniqueHMenu menu_;
};

}  // namespace zurimo
