#include "base/win/static_link.h"

#include <shellapi.h>

#include "base/win/win_text.h"

namespace zurimo {
namespace {

constexpr COLORREF kVisited = RGB(128, 0, 128);

// The link cursor of the help viewer, copied; none (the default cursor shows) without it.
HCURSOR LoadLinkCursor() {
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string viewer = std::string(windows, length) + "\\winhlp32.exe";
        UniqueLibrary module(LoadLibraryExA(viewer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (module) {
            if (HCURSOR cursor = LoadCursorA(module.get(), MAKEINTRESOURCEA(106))) {
                return CopyCursor(cursor);
            }
        }
    }
    return nullptr;
}

}  // namespace

CStaticLink::~CStaticLink() {
    if (underlined_) DeleteObject(underlined_);
    if (cursor_) DestroyCursor(cursor_);
}

HBRUSH CStaticLink::OnColor(HDC dc) {
    DWORD type = static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE)) & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT) return nullptr;
    if (!underlined_) {
        LOGFONTA font = {};
        auto current = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
        GetObjectA(current ? current : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        font.lfUnderline = TRUE;
        underlined_ = CreateFontIndirectA(&font);
    }
    if (underlined_) SelectObject(dc, underlined_);
    SetTextColor(dc, color_);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

LRESULT CStaticLink::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return HTCLIENT;  // a static is transparent to clicks otherwise
    case WM_SETCURSOR:
        if (HCURSOR cursor = LinkCursor()) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN: Open(); return 0;
    }
    return Default(message, wParam, lParam);
}

HCURSOR CStaticLink::LinkCursor() {
    if (!cursorLooked_) {
        cursor_ = LoadLinkCursor();
        cursorLooked_ = true;
    }
    return cursor_;
}

void CStaticLink::Open() {
    std::string target = target_.empty() ? WindowText(hwnd()) : target_;
    if (target.empty()) return;
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_DOENVSUBST;
    execute.hwnd = hwnd();
    execute.lpFile = target.c_str();
    execute.nShow = SW_SHOW;
    if (ShellExecuteExA(&execute)) {
        color_ = kVisited;
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
}

}  // namespace zurimo
