// The shell-extension page: whether Explorer's context menu gets the "Zurimo!" popup, how
// that popup is laid out, how much text it may put on the clipboard, and the Unix path style.
#pragma once

#include "app/options_model.h"
#include "app/win/options_page.h"

namespace zurimo {

class CZurimoOptPageShellExt : public CZurimoOptPage {
public:
    CZurimoOptPageShellExt(CZurimoPropSheet& sheet, ShellExtOptions& values);
    bool Transfer(bool validate) override;

protected:
    void Load() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    // The popup's own options count only with the popup: they are enabled with 1051.
    void EnableMenuOptions(bool on);

    ShellExtOptions& values_;
};

}  // namespace zurimo
