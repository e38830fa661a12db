// The options sheet "Zurimo! オプション" with its General, View, Key, context-menu and
// shell-extension pages. The sheet is made once and shown modally on demand; its pages keep their values
// between openings.
#pragma once

#include <windows.h>

#include <array>

#include "app/options_model.h"
#include "app/win/options_page_context_menu.h"
#include "app/win/options_page_general.h"
#include "app/win/options_page_key.h"
#include "app/win/options_page_shell_ext.h"
#include "app/win/options_page_view.h"

namespace zurimo {

class CZurimoPropSheet {
public:
    CZurimoPropSheet();
    CZurimoPropSheet(const CZurimoPropSheet&) = delete;
    CZurimoPropSheet& operator=(const CZurimoPropSheet&) = delete;

    Options& options() { return options_; }
    // Shows the sheet modally over `owner`; true when it was closed with OK. The owner is
    // sent ZurimoApply for the sheet's Apply button.
    bool DoModal(HWND owner);
    bool running() const { return running_; }
    HWND hwnd() const { return hwnd_; }

    // Called by the pages.
    void OnPageCreated(HWND sheet);
    void OnOkApplied(bool valid) { okApplied_ = valid; }
    // Has the owner apply the page at `index`, whose values the page has just read.
    void ApplyPage(int index);
    // Reads the controls of the page at `index` again, if it is open, without messages.
    void TransferPage(int index);
    void OpenHelp();

private:
    static constexpr int kPageCount = 5;
    std::array<CZurimoOptPage*, kPageCount> Pages() {
        return {&general_, &view_, &key_, &contextMenu_, &shellExt_};
    }

    Options options_;
    CZurimoOptPageGeneral general_;
    CZurimoOptPageView view_;
    CZurimoOptPageKey key_;
    CZurimoOptPageContextMenu contextMenu_;
    CZurimoOptPageShellExt shellExt_;
    HWND owner_ = nullptr;
    HWND hwnd_ = nullptr;
    bool running_ = false;
    bool okApplied_ = false;
};

}  // namespace zurimo
