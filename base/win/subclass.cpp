#include "base/win/subclass.h"

#include "base/win/window.h"

namespace zurimo {

// The control keeps its object in its GWLP_USERDATA, which controls leave to the program:
// every message of the control looks it up, and a window property would cost a trip to
// the window server each time under Wine.
bool Subclass::Attach(HWND control) {
    Detach();
    if (!control || GetWindowLongPtrA(control, GWLP_USERDATA) != 0) return false;
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // A control that keeps UTF-16 text stays a wide window: an ANSI procedure in its chain
    // would have every text sent to it converted to the code page on the way.
    wide_ = IsWindowUnicode(control) != FALSE;
    auto proc = reinterpret_cast<LONG_PTR>(Proc);
    previous_ = reinterpret_cast<WNDPROC>(wide_ ? SetWindowLongPtrW(control, GWLP_WNDPROC, proc)
                                                : SetWindowLongPtrA(control, GWLP_WNDPROC, proc));
    if (!previous_) {
        SetWindowLongPtrA(control, GWLP_USERDATA, 0);
        return false;
    }
    hwnd_ = control;
    return true;
}

void Subclass::Detach() {
    if (!hwnd_) return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC)) == Proc) {
        auto previous = reinterpret_cast<LONG_PTR>(previous_);
        if (wide_) {
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, previous);
        } else {
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, previous);
        }
    }
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

LRESULT Subclass::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT Subclass::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return wide_ ? CallWindowProcW(previous_, hwnd_, message, wParam, lParam)
                 : CallWindowProcA(previous_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Subclass::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Subclass*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) {
        return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                     : DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        WNDPROC previous = self->previous_;
        bool wide = self->wide_;
        self->Detach();
        return wide ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                    : CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        ReportEscapedException();
        return 0;
    }
}

}  // namespace zurimo
