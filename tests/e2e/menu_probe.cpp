// menu_probe.dll: a hook library the end-to-end tests put into the program under test.
// Menus belong to their process, so no other program can read them; from inside, after a
// window of the program has prepared a popup menu (WM_INITMENUPOPUP), this sends the menu's
// items to the test's window of class "ZurimoMenuProbe" as WM_COPYDATA, one line each:
// "id caption" with " [checked]" or " [grayed]", "-" for a separator, "> caption" for a
// submenu.
#include <windows.h>

#include <string>

namespace {

std::string DescribeMenu(HMENU menu) {
    std::string lines;
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        char caption[512] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = caption;
        item.cch = sizeof caption - 1;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item)) {
            lines += "?\n";
            continue;
        }
        if (item.fType & MFT_SEPARATOR) {
            lines += "-\n";
            continue;
        }
        lines += item.hSubMenu ? std::string(">") : std::to_string(item.wID);
        lines += std::string(" ") + caption;
        if (item.fState & MFS_CHECKED) lines += " [checked]";
        if (item.fState & MFS_GRAYED) lines += " [grayed]";
        lines += "\n";
    }
    return lines;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam,
                                                                LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_INITMENUPOPUP) {
        if (HWND receiver = FindWindowA("ZurimoMenuProbe", nullptr)) {
            std::string report = DescribeMenu(reinterpret_cast<HMENU>(sent->wParam));
            COPYDATASTRUCT data = {};
            data.cbData = static_cast<DWORD>(report.size() + 1);
            data.lpData = const_cast<char*>(report.c_str());
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(receiver, WM_COPYDATA, reinterpret_cast<WPARAM>(sent->hwnd),
                                reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000, &ignored);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
