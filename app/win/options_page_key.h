// The Key page: the global hot key, the Ctrl keys of the history window's operations, and
// taking out with Ctrl and a digit.
#pragma once

#include "app/options_model.h"
#include "app/win/options_page.h"
#include "base/win/subclass.h"

namespace zurimo {

class CZurimoOptPageKey;

// A hot-key field of the Key page: the control takes each key first, then the page hears
// of it.
class HotKeyField : public Subclass {
public:
    using KeyDownHandler = void (CZurimoOptPageKey::*)();
    HotKeyField(CZurimoOptPageKey& page, KeyDownHandler onKeyDown)
        : page_(page), onKeyDown_(onKeyDown) {}

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CZurimoOptPageKey& page_;
    KeyDownHandler onKeyDown_;
};

// Control 1013, the global hot key.
class CPageGeneralHotKeyCtrl : public HotKeyField {
public:
    explicit CPageGeneralHotKeyCtrl(CZurimoOptPageKey& page);
};

// Control 1073, the key of the operation chosen in the list.
class CPageKeyHotKeyCtrl : public HotKeyField {
public:
    explicit CPageKeyHotKeyCtrl(CZurimoOptPageKey& page);
};

class CZurimoOptPageKey : public CZurimoOptPage {
public:
    CZurimoOptPageKey(CZurimoPropSheet& sheet, KeyOptions& values);
    bool Transfer(bool validate) override;

protected:
    void Load() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    friend class CPageGeneralHotKeyCtrl;
    friend class CPageKeyHotKeyCtrl;
    void OnGlobalHotKeyDown();
    void OnOperationKeyDown();
    void ReadGlobalHotKey();
    void Assign();
    void ShowOperationKey();
    void ForgetDuplicate();
    // Shows the check's message, if any, and resets the operation field when it says so.
    void Report(const KeyCheckResult& check);

    KeyOptions& values_;
    CPageGeneralHotKeyCtrl globalField_{*this};
    CPageKeyHotKeyCtrl operationField_{*this};
    int duplicate_ = -1;        // the operation whose key was last typed, while 1075 names it
    int currentOperation_ = 0;  // kept between openings
};

}  // namespace zurimo
