// One dispatch pattern for every window and dialog: the static procedure finds the object
// (kept in GWLP_USERDATA, or DWLP_USER for dialogs) and hands each message to its virtual
// OnMessage, where the class lists what it handles in one switch.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

namespace zurimo {

// Moves a top-level window to the middle of the screen's work area.
void CenterOnWorkArea(HWND hwnd);

// Called in a catch block where an exception would otherwise cross into Windows (a window,
// dialog or subclass procedure): memory that ran out is told to the user in the program's
// message box; the program carries on.
void ReportEscapedException() noexcept;

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The procedure of every window class whose windows are Window objects.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    struct CreateArgs {
        const char* className = nullptr;
        const char* title = "";
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        HWND parent = nullptr;
        HMENU menu = nullptr;  // owned by the window from then on
    };
    bool Create(const CreateArgs& args);

    // Handles one message; the default is DefWindowProc.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Handles WM_COMMAND before OnMessage sees it; true when it did (the result is then 0).
    virtual bool OnCommand(int id, int code, HWND control);
    // Called after WM_NCDESTROY; the window handle is gone by then.
    virtual void OnFinalMessage() {}

private:
    HWND hwnd_ = nullptr;
};

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // A modeless dialog from a template; shown only if the template says so. A `wide` dialog
    // is made with the W functions: its controls then keep their text in UTF-16, where an
    // ANSI dialog's edit controls keep theirs in the code page.
    bool CreateModeless(HINSTANCE instance, int templateId, HWND owner, bool wide = false);
    INT_PTR DoModal(HINSTANCE instance, int templateId, HWND owner, bool wide = false);
    void Destroy();

    // Gives keyboard messages meant for a modeless dialog to that dialog's navigation
    // (Tab, Enter, Escape, mnemonics). True when the message was used.
    static bool PreTranslate(MSG* msg);

protected:
    // The window's big and small icons, from icon resource `iconId` of the program.
    void SetIcons(int iconId);
    // Context help (F1, or the caption's help button on a control). The default answers it
    // and shows nothing: the program's dialogs have no help topics.
    virtual bool OnHelp(const HELPINFO& info);
    // Handles one message; returns TRUE when it did (see SetResult), FALSE to let the
    // dialog manager go on. The default routes WM_INITDIALOG and WM_COMMAND.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual bool OnCommand(int id, int code, HWND control);
    // Called last, after WM_NCDESTROY; the window is gone, and the object may delete itself.
    virtual void OnFinalMessage() {}
    // Returns TRUE after storing `result` as the message's result.
    INT_PTR SetResult(LRESULT result);

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Hands one message to `self`, which the caller found; shared by dialogs and pages.
    static INT_PTR Dispatch(Dialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND hwnd_ = nullptr;
};

// A page of a property sheet: a dialog whose object comes with its sheet page record.
class PropertyPage : public Dialog {
public:
    // Fills the record that makes the sheet create this page from `templateId`.
    void Describe(PROPSHEETPAGEA* page, HINSTANCE instance, int templateId);
    HWND sheet() const { return GetParent(hwnd()); }
    bool IsActive() const;

protected:
    // A page leaves context help to its sheet.
    bool OnHelp(const HELPINFO& info) override;
    // Turns the sheet's Apply button on for this page, or (false) marks the page as applied;
    // the button stays on while another page is modified.
    void SetModified(bool modified = true);
    bool modified() const { return modified_; }

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool modified_ = false;
};

}  // namespace zurimo
