// Shows the Explorer menu of ZurimoEx.dll without Explorer: loads the library, makes its
// object through the class factory, hands it the files named on the command line and lets
// it add its popup to a right-click menu of this window, which then opens with the
// "Zurimo!" popup unfolded. A chosen command runs, so its text lands on the clipboard.
//
//   menu_host.exe [--dll PATH] [--open N] FILE...
//
// The library is taken from this program's folder unless --dll names it. --open N also
// unfolds the Nth entry of the popup (counted from 1, separators not counted), for the
// grouped layout. The menu closes with Escape or a WM_CANCELMODE sent to the window.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "base/win/com.h"
#include "base/win/handles.h"
#include "tests/shellext/data_object.h"

namespace {

const CLSID kClsid = {0x7A31C2E4, 0x5B6D, 0x4E8F, {0x9A, 0x0B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};
constexpr char kClassName[] = "ZurimoMenuHost";
constexpr UINT kOpenMenu = WM_APP;
constexpr UINT kFirstId = 100;  // the host's own items use the identifiers below

using shellext_test::DataObject;

struct Host {
    std::vector<std::string> files;
    int open = 0;  // the entry of the popup to unfold as well, 0 for none
    zurimo::Com<IContextMenu> menu;
    HMENU shown = nullptr;  // the menu on the screen, until its popup has been unfolded
    POINT menuAt = {0, 0};  // in the client area: over the selected items, as a right click
};
Host* g_host = nullptr;

std::string FileName(const std::string& path) {
    return path.substr(zurimo::FindLastChar(path, '\\') + 1);  // npos + 1: the whole path
}

void PostKey(HWND hwnd, WORD vk, int times = 1) {
    for (int i = 0; i < times; ++i) {
        PostMessageA(hwnd, WM_KEYDOWN, vk, 1);
        PostMessageA(hwnd, WM_KEYUP, vk, 0xC0000001);
    }
}

// How many items up to `end` (excluded) the arrow keys stop at. (Not GetMenuState: for a
// popup its high byte is the popup's item count, not flags.)
int StopsBefore(HMENU menu, int end) {
    int stops = 0;
    for (int i = 0; i < end; ++i) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item) &&
            !(item.fType & MFT_SEPARATOR)) {
            ++stops;
        }
    }
    return stops;
}

// Posts the keys that unfold the extension's popup (and the entry of it asked for); the
// menu's own loop reads them from this thread's queue.
void UnfoldPopup(HWND hwnd, HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (!GetSubMenu(menu, i)) continue;
        PostKey(hwnd, VK_DOWN, StopsBefore(menu, i + 1));
        PostKey(hwnd, VK_RIGHT);  // unfolds the popup, its first entry selected
        if (g_host->open > 1) PostKey(hwnd, VK_DOWN, g_host->open - 1);
        if (g_host->open > 0) PostKey(hwnd, VK_RIGHT);
        return;
    }
}

// Builds a right-click menu around the extension's popup, shows it and runs what is chosen.
void OpenMenu(HWND hwnd) {
    zurimo::UniqueHMenu menu(CreatePopupMenu());
    AppendMenuA(menu.get(), MF_STRING, 1, "開く(&O)");
    AppendMenuA(menu.get(), MF_STRING, 2, "印刷(&P)");
    // Explorer's handlers go in at the separator below the verbs.
    UINT index = static_cast<UINT>(GetMenuItemCount(menu.get()));
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, 3, "切り取り(&T)");
    AppendMenuA(menu.get(), MF_STRING, 4, "コピー(&C)");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, 5, "削除(&D)");
    AppendMenuA(menu.get(), MF_STRING, 6, "名前の変更(&M)");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, 7, "プロパティ(&R)");
    if (FAILED(g_host->menu->QueryContextMenu(menu.get(), index, kFirstId, 0x7FFF, CMF_NORMAL))) {
        return;
    }
    g_host->shown = menu.get();
    POINT at = g_host->menuAt;
    ClientToScreen(hwnd, &at);
    SetForegroundWindow(hwnd);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN, at.x, at.y, 0, hwnd, nullptr));
    g_host->shown = nullptr;
    if (chosen >= kFirstId) {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof info;
        info.hwnd = hwnd;
        info.lpVerb = MAKEINTRESOURCEA(chosen - kFirstId);
        info.nShow = SW_SHOWNORMAL;
        g_host->menu->InvokeCommand(&info);
    }
}

// The window stands for the Explorer folder: its title is the folder, and it lists the
// selected items as selected.
void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    int line = metrics.tmHeight + 4;
    RECT row = {8, 8, 0, 8 + line};
    for (const std::string& file : g_host->files) {
        std::string name = FileName(file);
        SIZE extent;
        GetTextExtentPoint32A(dc, name.c_str(), static_cast<int>(name.size()), &extent);
        row.right = row.left + extent.cx + 8;
        FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        RECT text = {row.left + 4, row.top + 2, row.right, row.bottom};
        DrawTextA(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_NOPREFIX);
        g_host->menuAt.x = std::max(g_host->menuAt.x, row.right - 16);
        OffsetRect(&row, 0, line);
    }
    g_host->menuAt.y = 8 + line / 2;
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ENTERIDLE:  // the menu is up and waits for input
        if (wParam == MSGF_MENU && g_host->shown) {
            UnfoldPopup(hwnd, std::exchange(g_host->shown, nullptr));
        }
        return 0;
    case kOpenMenu:
        OpenMenu(hwnd);
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::string OwnFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return zurimo::FolderOf(std::string_view(path, n));
}

int Fail(const std::string& what) {
    fprintf(stderr, "menu_host: %s\n", what.c_str());
    MessageBoxA(nullptr, what.c_str(), "menu_host", MB_OK | MB_ICONEXCLAMATION);
    return 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::string library = OwnFolder() + "ZurimoEx.dll";
    std::vector<std::string> files;
    int open = 0;
    for (int i = 1; i < __argc; ++i) {
        if (!strcmp(__argv[i], "--dll") && i + 1 < __argc) {
            library = __argv[++i];
        } else if (!strcmp(__argv[i], "--open") && i + 1 < __argc) {
            open = atoi(__argv[++i]);
        } else {
            char full[MAX_PATH];
            DWORD n = GetFullPathNameA(__argv[i], MAX_PATH, full, nullptr);
            files.emplace_back(n > 0 && n < MAX_PATH ? full : __argv[i]);
        }
    }
    if (files.empty()) return Fail("usage: menu_host.exe [--dll PATH] [--open N] FILE...");

    zurimo::OleInitialization ole;
    zurimo::UniqueLibrary module(LoadLibraryA(library.c_str()));
    // Through void*: the export's real type is not FARPROC.
    auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        module ? reinterpret_cast<void*>(GetProcAddress(module.get(), "DllGetClassObject"))
               : nullptr);
    if (!getClassObject) return Fail("cannot load DllGetClassObject from " + library);

    // Declared after the library, so that the object is gone before the library is.
    DataObject data(files);
    Host host;
    host.files = files;
    host.open = open;
    g_host = &host;
    zurimo::Com<IClassFactory> factory;
    zurimo::Com<IShellExtInit> init;
    HRESULT hr = getClassObject(kClsid, IID_IClassFactory, factory.out());
    if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_IShellExtInit, init.out());
    if (SUCCEEDED(hr)) hr = init->Initialize(nullptr, &data, nullptr);
    if (SUCCEEDED(hr)) hr = init->QueryInterface(IID_IContextMenu, host.menu.out());
    if (FAILED(hr)) {
        // E_FAIL from Initialize: the Settings values the extension reads are missing.
        char code[16];
        snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(hr));
        return Fail(std::string("the extension refused the selection: ") + code);
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    std::string folder = files[0].substr(0, zurimo::FindLastChar(files[0], '\\'));
    HWND hwnd = CreateWindowExA(0, kClassName, folder.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 480,
                                370, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return Fail("cannot create the window");
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    PostMessageA(hwnd, kOpenMenu, 0, 0);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
