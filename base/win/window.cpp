#include "base/win/window.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "base/win/program.h"

namespace zurimo {
namespace {

std::vector<HWND>& ModelessDialogs() {
    static std::vector<HWND> dialogs;
    return dialogs;
}

// Unties a dialog window from its object: later messages reach no object.
void ForgetDialog(HWND hwnd) {
    auto& dialogs = ModelessDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), hwnd), dialogs.end());
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
}

}  // namespace

void ReportEscapedException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(nullptr);
    } catch (...) {
        // Nothing to tell: the handler that threw has left its data as it was.
    }
}

void CenterOnWorkArea(HWND hwnd) {
    RECT work = {}, rect = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hwnd, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::Create(const CreateArgs& args) {
    HWND hwnd = CreateWindowExA(args.exStyle, args.className, args.title, args.style, args.x,
                                args.y, args.width, args.height, args.parent, args.menu,
                                ProgramInstance(), this);
    return hwnd != nullptr;
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool Window::OnCommand(int, int, HWND) { return false; }

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        if (message != WM_COMMAND ||
            !self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) {
            result = self->OnMessage(message, wParam, lParam);
        }
    } catch (...) {
        ReportEscapedException();
        result = message == WM_CREATE ? -1 : 0;  // a window that could not be made whole is not made
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

Dialog::~Dialog() {
    // The window is untied first: what it is sent while it goes must not reach this object,
    // which is no longer whole.
    if (HWND hwnd = std::exchange(hwnd_, nullptr)) {
        ForgetDialog(hwnd);
        DestroyWindow(hwnd);
    }
}

bool Dialog::CreateModeless(HINSTANCE instance, int templateId, HWND owner, bool wide) {
    HWND hwnd = wide ? CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner,
                                          DialogProc, reinterpret_cast<LPARAM>(this))
                     : CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner,
                                          DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd) return false;
    ModelessDialogs().push_back(hwnd);
    return true;
}

bool Dialog::PreTranslate(MSG* msg) {
    for (HWND dialog : ModelessDialogs()) {
        if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) continue;
        if (IsWindowUnicode(dialog) ? IsDialogMessageW(dialog, msg) : IsDialogMessageA(dialog, msg)) {
            return true;
        }
    }
    return false;
}

INT_PTR Dialog::DoModal(HINSTANCE instance, int templateId, HWND owner, bool wide) {
    if (wide) {
        return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc,
                               reinterpret_cast<LPARAM>(this));
    }
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void Dialog::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_HELP: return OnHelp(*reinterpret_cast<const HELPINFO*>(lParam));
    default: return FALSE;
    }
}

bool Dialog::OnCommand(int, int, HWND) { return false; }

bool Dialog::OnHelp(const HELPINFO&) { return true; }

void Dialog::SetIcons(int iconId) {
    HINSTANCE instance = ProgramInstance();
    HICON big = LoadIconA(instance, MAKEINTRESOURCEA(iconId));
    // The small one drawn at its own size, not the big one shrunk.
    auto small = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small) SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

INT_PTR Dialog::SetResult(LRESULT result) {
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) self = reinterpret_cast<Dialog*>(lParam);
    return Dispatch(self, hwnd, message, wParam, lParam);
}

INT_PTR Dialog::Dispatch(Dialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG && self) {
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        ReportEscapedException();
    }
    if (message == WM_NCDESTROY) {
        ForgetDialog(hwnd);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();  // nothing here may touch `self` after this
    }
    return result;
}

void PropertyPage::Describe(PROPSHEETPAGEA* page, HINSTANCE instance, int templateId) {
    modified_ = false;  // a new sheet starts with every page unchanged
    *page = PROPSHEETPAGEA();
    page->dwSize = sizeof *page;
    page->dwFlags = PSP_HASHELP;
    page->hInstance = instance;
    page->pszTemplate = MAKEINTRESOURCEA(templateId);
    page->pfnDlgProc = PageProc;
    page->lParam = reinterpret_cast<LPARAM>(this);
}

bool PropertyPage::OnHelp(const HELPINFO&) { return false; }

bool PropertyPage::IsActive() const {
    return reinterpret_cast<HWND>(SendMessageA(sheet(), PSM_GETCURRENTPAGEHWND, 0, 0)) == hwnd();
}

void PropertyPage::SetModified(bool modified) {
    modified_ = modified;
    SendMessageA(sheet(), modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd()),
                 0);
}

INT_PTR CALLBACK PropertyPage::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<PropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
    }
    return Dispatch(self, hwnd, message, wParam, lParam);
}

}  // namespace zurimo
