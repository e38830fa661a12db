// A page of the options sheet: loads its part of the options into its controls when it is
// created, reads them back (checked) when it is left or confirmed, and marks itself changed
// when the user edits a control.
#pragma once

#include <windows.h>

#include "base/win/window.h"

namespace zurimo {

class CZurimoPropSheet;

class CZurimoOptPage : public PropertyPage {
public:
    // The page at `index` of the sheet (see OptionsPage), made from dialog `templateId`.
    CZurimoOptPage(CZurimoPropSheet& sheet, int index, int templateId)
        : sheet_(sheet), index_(index), templateId_(templateId) {}

    int index() const { return index_; }
    int templateId() const { return templateId_; }

    // Reads the controls; with `validate`, a bad value is reported and false returned.
    virtual bool Transfer(bool validate) = 0;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Writes the values into the controls.
    virtual void Load() = 0;
    // A change by the user marks the page modified; ignored while loading.
    void Changed();

    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }
    void SetCheck(int id, bool on) { CheckDlgButton(hwnd(), id, on ? BST_CHECKED : BST_UNCHECKED); }

private:
    // The sheet's Apply (not OK): the page in front is read and applied; others do nothing.
    LRESULT OnApplyButton();

    CZurimoPropSheet& sheet_;
    int index_;
    int templateId_;
    bool loading_ = false;
};

}  // namespace zurimo
