#include "history/win/about_dialog.h"

#include <string>

#include "base/win/file_version_info.h"
#include "base/win/program.h"
#include "base/win/win_text.h"
#include "history/windows_version.h"
#include "resources/resource.h"

namespace zurimo {
namespace {

bool QueryWindowsVersion(WindowsVersion* version) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    version->platform = info.dwPlatformId;
    version->major = info.dwMajorVersion;
    version->minor = info.dwMinorVersion;
    version->build = info.dwBuildNumber;
    version->servicePack = info.szCSDVersion;
    return true;
}

}  // namespace

INT_PTR CAboutDlg::DoModal(HWND owner) {
    return Dialog::DoModal(ProgramInstance(), IDD_ABOUT, owner);
}

BOOL CAboutDlg::OnInitDialog() {
    WindowsVersion windows;
    FileVersionInfo version;
    if (!QueryWindowsVersion(&windows) || !version.Load(ModulePath(nullptr))) {
        EndDialog(hwnd(), IDCANCEL);
        return TRUE;
    }
    web_.Attach(Item(IDC_ABOUT_WEB));
    mail_.Attach(Item(IDC_ABOUT_MAIL));
    SetDlgItemTextA(hwnd(), IDC_ABOUT_WINDOWS, WindowsVersionDescription(windows).c_str());
    HINSTANCE instance = ProgramInstance();
    SetDlgItemTextA(hwnd(), IDC_ABOUT_WEB,
                    ("http://" + ResourceString(instance, IDS_MAKER_WEB)).c_str());
    SetDlgItemTextA(hwnd(), IDC_ABOUT_MAIL,
                    ("mailto:" + ResourceString(instance, IDS_MAKER_MAIL)).c_str());

    auto product = version.QueryString("ProductName", 256);
    auto fileVersion = version.QueryString("FileVersion", 256);
    auto copyright = version.QueryString("LegalCopyright", 256);
    if (product && fileVersion && copyright) {
        SetDlgItemTextA(hwnd(), IDC_ABOUT_PRODUCT, product->c_str());
        SetDlgItemTextA(hwnd(), IDC_ABOUT_VERSION, fileVersion->c_str());
        SetDlgItemTextA(hwnd(), IDC_ABOUT_COPYRIGHT, copyright->c_str());
    }
    SetWindowTextA(hwnd(), (ResourceString(instance, IDS_APP_NAME) + " バージョン情報").c_str());
    SetIcons(IDR_MAINFRAME);
    CenterOnWorkArea(hwnd());  // its owner, the main window, is hidden
    return TRUE;
}

INT_PTR CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        auto control = reinterpret_cast<HWND>(lParam);
        auto dc = reinterpret_cast<HDC>(wParam);
        HBRUSH brush = control == web_.hwnd()    ? web_.OnColor(dc)
                       : control == mail_.hwnd() ? mail_.OnColor(dc)
                                                 : nullptr;
        if (brush) return reinterpret_cast<INT_PTR>(brush);
        break;
    }
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

bool CAboutDlg::OnCommand(int id, int, HWND) {
    if (id != IDOK && id != IDCANCEL) return false;
    EndDialog(hwnd(), id);
    return true;
}

}  // namespace zurimo
