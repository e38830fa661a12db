#include "base/win/subclass.h"

namespace zurimo {
namespace {

// Where the control keeps its object.
constexpr char kObjectProperty[] = "ZurimoSubclass";

}  // namespace

bool Subclass::Attach(HWND control) {
    Detach();
    if (!control || !SetPropA(control, kObjectProperty, this)) return false;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
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
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    RemovePropA(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
}

LRESULT Subclass::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT Subclass::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(previous_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Subclass::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Subclass*>(GetPropA(hwnd, kObjectProperty));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC previous = self->previous_;
        self->Detach();
        return CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

}  // namespace zurimo
