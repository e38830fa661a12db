// Windows and dialogs: finding the program's dialogs, reading their controls, a window of the
// test's own, and the message pump that keeps it answering.
#include "harness.h"

#include <commctrl.h>
#include <prsht.h>

#include "resources/resource.h"

namespace e2e {
namespace {

BOOL CALLBACK CollectStaticText(HWND hwnd, LPARAM lParam) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (!_stricmp(cls, "Static")) {
        std::string text = ControlText(hwnd);
        if (!text.empty()) {
            *reinterpret_cast<std::string*>(lParam) = text;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

HWND WaitForDialog(const char* title, DWORD ms) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowA("#32770", title)) && IsWindowVisible(found); }, ms);
    return found;
}

AssertionResult OpenOptionsSheet(const Program& program, HWND* sheet) {
    PostMessageA(program.mainWindow(), WM_COMMAND, ID_OPTIONS, 0);
    HWND found = nullptr;
    bool shown = WaitUntil([&] {
        found = FindWindowA("#32770", kOptionsSheetTitle);
        return found && IsWindowVisible(found);
    });
    *sheet = found;
    if (shown) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no visible sheet \"" << kOptionsSheetTitle
                                       << "\" (found " << found << ")";
}

AssertionResult WaitForLineCount(HWND list, int count, DWORD ms) {
    if (WaitUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == count; }, ms)) {
        return testing::AssertionSuccess();
    }
    AssertionResult failure = testing::AssertionFailure();
    failure << "the list holds " << SendMessageA(list, LB_GETCOUNT, 0, 0) << " lines, not "
            << count << ":";
    for (const std::string& line : ListBoxLines(list)) failure << " \"" << line << "\"";
    return failure;
}

TestWindow::TestWindow(const char* className, const char* title, DWORD style, DWORD exStyle) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    hwnd = CreateWindowExA(exStyle, className, title, style, 100, 100, 300, 200, nullptr, nullptr,
                           wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TestWindow::~TestWindow() { DestroyWindow(hwnd); }

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
        switch (message) {
        case WM_KEYDOWN: self->keys.push_back("down:" + std::to_string(wParam)); break;
        case WM_SYSKEYDOWN: self->keys.push_back("sysdown:" + std::to_string(wParam)); break;
        case WM_PASTE: self->keys.push_back("paste"); break;
        case WM_SETFOCUS:
            if (self->focusChild) SetFocus(self->focusChild);
            break;
        case PSM_SETCURSELID: self->pageId = lParam; return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) self->activated = true;
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) self->closeAsked = true;
            return 0;  // no window menu either: it would hold this thread in its own loop
        case WM_SYSCHAR: return 0;
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const char* text = static_cast<const char*>(data->lpData);
            self->copies.emplace_back(text, text ? strnlen(text, data->cbData) : 0);
            return TRUE;
        }
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void SetText(HWND control, const char* text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void DismissMessageBox(HWND box) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::string ControlText(HWND control) {
    char buffer[8192] = {};
    SendMessageA(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::u16string WideControlText(HWND control) {
    LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    LRESULT got = SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::u16string WideListLine(HWND list, int index) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return u"<none>";
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    LRESULT got = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::vector<std::string> ListBoxLines(HWND list) {
    // Wide text, converted here: Wine hands an ANSI LB_GETTEXT from another process the
    // list's UTF-16 unconverted.
    std::vector<std::string> lines;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring wide(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
        wide.resize(got > 0 ? static_cast<size_t>(got) : 0);
        std::string line;
        if (!wide.empty()) {
            int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
            line.resize(static_cast<size_t>(n));
            WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &line[0],
                                n, nullptr, nullptr);
        }
        lines.push_back(line);
    }
    return lines;
}

void HandlePendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    do {
        HandlePendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

}  // namespace e2e
