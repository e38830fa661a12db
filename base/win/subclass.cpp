#include "base/win/subclass.h"

#include "base/win/window.h"

namespace zurimo {
namespace {

// Where the control keeps its object.
constexpr char kObjectProperty[] = "ZurimoSubclass";

}  // namespace

bool Subclass::Attach(HWND control) {
    Detach();
    if (!control || !SetPropA(control, kObjectProperty, this)) return false;
    // A control that keeps UTF-16 text stays a wide window: an ANSI procedure in its chain
    // would have every text sent to it converted to the code page on the way.
    wide_ = IsWindowUnicode(control) != FALSE;
    auto proc = reinterpret_cast<LONG_PTR>(Proc);
    previous_ = reinterpret_cast<WNDPROC>(wide_ ? SetWindowLongPtrW(control, GWLP_WNDPROC, proc)
                                                : SetWindowLongPtrA(control, GWLP_WNDPROC, proc));
    if (!previous_) {
        RemovePropA(control, kObjectProperty);
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
    RemovePropA(hwnd_, kObjectProperty);
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
    auto* self = static_cast<Subclass*>(GetPropA(hwnd, kObjectProperty));
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
