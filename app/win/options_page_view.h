// The View page: the number of entries the history keeps, and the tab stops.
#pragma once

#include "app/options_model.h"
#include "app/win/options_page.h"

namespace zurimo {

class CZurimoOptPageView : public CZurimoOptPage {
public:
    CZurimoOptPageView(CZurimoPropSheet& sheet, ViewOptions& values);
    bool Transfer(bool validate) override;

protected:
    void Load() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    ViewOptions& values_;
};

}  // namespace zurimo
