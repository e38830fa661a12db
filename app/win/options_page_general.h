// The General page: saving, pasting, the quote text, the date form, MS Word and autostart.
#pragma once

#include "app/options_model.h"
#include "app/win/options_page.h"

namespace zurimo {

class CZurimoOptPageGeneral : public CZurimoOptPage {
public:
    CZurimoOptPageGeneral(CZurimoPropSheet& sheet, GeneralOptions& values);
    bool Transfer(bool validate) override;

protected:
    void Load() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void OpenRegionalSettings();

    GeneralOptions& values_;
};

}  // namespace zurimo
