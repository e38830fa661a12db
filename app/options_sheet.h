// The options sheet "Zurimo! オプション" and its General, View and Key pages. The sheet is
// made once and shown modally on demand; its pages keep their values between openings.
#pragma once

#include <windows.h>

#include "app/options_model.h"
#include "base/win/window.h"

namespace zurimo {

class CZurimoPropSheet;

// A page of this sheet: reads its controls into its part of the options.
class CZurimoOptPage : public PropertyPage {
public:
    CZurimoOptPage(CZurimoPropSheet& sheet, int index) : sheet_(sheet), index_(index) {}
    // Reads the controls; with `validate`, a bad value is reported and false returned.
    virtual bool Transfer(bool validate) = 0;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Writes the values into the controls.
    virtual void Load() = 0;
    // A change by the user marks the page modified; ignored while loading.
    void Changed();

    CZurimoPropSheet& sheet_;
    int index_;
    bool loading_ = false;
};

class CZurimoOptPageGeneral : public CZurimoOptPage {
public:
    CZurimoOptPageGeneral(CZurimoPropSheet& sheet, GeneralOptions& values)
        : CZurimoOptPage(sheet, kPageGeneral), values_(values) {}
    bool Transfer(bool validate) override;

protected:
    void Load() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void OpenRegionalSettings();
    GeneralOptions& values_;
};

class CZurimoOptPageView : public CZurimoOptPage {
public:
    CZurimoOptPageView(CZurimoPropSheet& sheet, ViewOptions& values)
        : CZurimoOptPage(sheet, kPageView), values_(values) {}
    bool Transfer(bool validate) override;

protected:
    void Load() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    ViewOptions& values_;
};

class CZurimoOptPageKey : public CZurimoOptPage {
public:
    CZurimoOptPageKey(CZurimoPropSheet& sheet, KeyOptions& values)
        : CZurimoOptPage(sheet, kPageKey), values_(values) {}
    bool Transfer(bool validate) override;

protected:
    void Load() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    friend class CPageGeneralHotKeyCtrl;
    friend class CPageKeyHotKeyCtrl;
    void OnGlobalHotKeyDown();
    void OnOperationKeyDown();
    void Assign();
    void ShowOperationKey();
    void ForgetDuplicate();
    // Shows the check's message, if any, and resets the operation field when it says so.
    void Report(const KeyCheckResult& check);

    KeyOptions& values_;
    int duplicate_ = -1;        // the operation whose key was last typed, while 1075 names it
    int currentOperation_ = 0;  // kept between openings
};

// The two hot-key fields of the Key page: each tells the page after it took a key.
class CPageGeneralHotKeyCtrl {
public:
    static void Attach(HWND control, CZurimoOptPageKey* page);
};
class CPageKeyHotKeyCtrl {
public:
    static void Attach(HWND control, CZurimoOptPageKey* page);
};

class CZurimoPropSheet {
public:
    CZurimoPropSheet();

    Options& options() { return options_; }
    // Shows the sheet modally; true when it was closed with OK.
    bool DoModal(HWND owner);
    bool running() const { return running_; }
    HWND hwnd() const { return hwnd_; }
    CZurimoOptPage* page(int index);

    // Called by the pages.
    void OnPageCreated(HWND sheet);
    void OnOkApplied(bool valid) { okApplied_ = valid; }
    void OpenHelp();

private:
    Options options_;
    CZurimoOptPageGeneral general_;
    CZurimoOptPageView view_;
    CZurimoOptPageKey key_;
    HWND hwnd_ = nullptr;
    bool running_ = false;
    bool okApplied_ = false;
};

}  // namespace zurimo
