// One way to subclass a control: the object attached to it sees each of its messages first
// and hands on what it does not handle. The object detaches itself when the control goes.
// It needs user32 only, so that the common-controls library need not be loaded for it.
#pragma once

#include <windows.h>

namespace zurimo {

class Subclass {
public:
    Subclass() = default;
    virtual ~Subclass() { Detach(); }
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

    // Attaches to `control`, detaching from a control held before; false when it failed.
    bool Attach(HWND control);
    void Detach();
    HWND hwnd() const { return hwnd_; }

protected:
    // Handles one message; the default hands it to the control.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The control's own handling of a message.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
    bool wide_ = false;  // attached with the W functions
};

}  // namespace zurimo
