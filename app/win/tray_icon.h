// The icon in the notification area: one record, added, modified and deleted through
// Shell_NotifyIconA, and the tray menu it opens.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace zurimo {

class CTrayIcon {
public:
    // Clears the record and loads the tooltip from the string of the same id.
    explicit CTrayIcon(UINT id);
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    void SetNotificationWindow(HWND hwnd, UINT message);
    // With an id: the tooltip string and the icon of that id. With 0: removes the icon.
    BOOL SetIconResource(UINT id);
    // The one call that talks to the shell: adds, modifies or (with no icon) deletes.
    BOOL SetIcon(HICON icon, const char* tooltip);
    // Adds the icon again after the notification area forgot it (Explorer restarted).
    BOOL Restore();
    // Right button released: the tray menu; double click: the menu's first command.
    // Returns 1 when it acted.
    LRESULT OnTrayNotification(WPARAM id, LPARAM mouseMessage);

    bool shown() const { return data_.hIcon != nullptr; }

private:
    NOTIFYICONDATAA data_;
};

}  // namespace zurimo
