#include "app/win/tray_icon.h"

#include <cstring>
#include <string>

#include "base/win/handles.h"
#include "base/win/program.h"
#include "base/win/win_text.h"

namespace zurimo {
namespace {

// The Windows 95 form of the record: window, id, flags, message, icon and a 64-byte tip
// (88 bytes in a 32-bit build). Every shell takes this form.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;

void CopyTip(char (&tip)[128], const std::string& text) {
    std::size_t n = text.size() < 63 ? text.size() : 63;
    std::memcpy(tip, text.data(), n);
    tip[n] = '\0';
}

}  // namespace

CTrayIcon::CTrayIcon(UINT id) {
    std::memset(&data_, 0, sizeof data_);
    data_.cbSize = kRecordSize;
    data_.uID = id;
    CopyTip(data_.szTip, ResourceString(ProgramInstance(), id));
}

CTrayIcon::~CTrayIcon() { SetIconResource(0); }

void CTrayIcon::SetNotificationWindow(HWND hwnd, UINT message) {
    data_.hWnd = hwnd;
    data_.uCallbackMessage = message;
}

BOOL CTrayIcon::SetIconResource(UINT id) {
    if (id == 0) return SetIcon(nullptr, nullptr);
    std::string tip = ResourceString(ProgramInstance(), id);
    HICON icon = static_cast<HICON>(LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return SetIcon(icon, tip.c_str());
}

BOOL CTrayIcon::SetIcon(HICON icon, const char* tooltip) {
    DWORD operation = NIM_DELETE;
    data_.uFlags = 0;
    if (icon) {
        operation = data_.hIcon ? NIM_MODIFY : NIM_ADD;
        data_.hIcon = icon;
        data_.uFlags |= NIF_ICON;
    } else if (!data_.hIcon) {
        return TRUE;  // nothing shown, nothing to delete
    }
    if (tooltip) CopyTip(data_.szTip, tooltip);
    if (data_.szTip[0]) data_.uFlags |= NIF_TIP;
    if (data_.uCallbackMessage && data_.hWnd) data_.uFlags |= NIF_MESSAGE;

    BOOL result = Shell_NotifyIconA(operation, &data_);
    if (operation == NIM_DELETE || !result) data_.hIcon = nullptr;  // the next icon adds again
    return result;
}

BOOL CTrayIcon::Restore() {
    HICON icon = data_.hIcon;
    data_.hIcon = nullptr;  // the notification area has forgotten it: add, not modify
    if (!icon) {
        icon = static_cast<HICON>(LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(data_.uID),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    }
    return SetIcon(icon, nullptr);
}

LRESULT CTrayIcon::OnTrayNotification(WPARAM id, LPARAM mouseMessage) {
    if (id != data_.uID || (mouseMessage != WM_RBUTTONUP && mouseMessage != WM_LBUTTONDBLCLK)) {
        return 0;
    }
    UniqueHMenu menu(LoadMenuA(ProgramInstance(), MAKEINTRESOURCEA(data_.uID)));
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return 0;
    if (mouseMessage == WM_RBUTTONUP) {
        SetMenuDefaultItem(popup, 0, TRUE);
        POINT cursor = {};
        GetCursorPos(&cursor);
        SetForegroundWindow(data_.hWnd);
        if (TrackPopupMenuEx(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, data_.hWnd, nullptr)) {
            PostMessageA(data_.hWnd, WM_NULL, 0, 0);
        }
    } else {
        PostMessageA(data_.hWnd, WM_COMMAND, GetMenuItemID(popup, 0), 0);
    }
    return 1;
}

}  // namespace zurimo
