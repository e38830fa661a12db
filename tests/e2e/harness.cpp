#include "harness.h"

#include <commctrl.h>
#include <prsht.h>

#include <cctype>
#include <cstdio>
#include <cstring>

namespace e2e {
namespace {

std::string Directory(const std::string& path) {
    std::string::size_type slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string OwnFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Directory(std::string(path, n));
}

// The built binaries sit in ..\bin beside the tests' folder, unless ZURIMO_BIN says else.
std::string BuiltBinFolder() {
    char env[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZURIMO_BIN", env, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return env;
    return Directory(OwnFolder()) + "\\bin";
}

HKEY OpenSettings(bool create) {
    HKEY key = nullptr;
    LONG error = create ? RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                                          KEY_ALL_ACCESS, nullptr, &key, nullptr)
                        : RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key);
    return error == ERROR_SUCCESS ? key : nullptr;
}

struct FindBox {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMessageBoxProc(HWND hwnd, LPARAM lParam) {
    auto* find = reinterpret_cast<FindBox*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {}, title[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    if (pid == find->processId && IsWindowVisible(hwnd) && !strcmp(cls, "#32770") &&
        !strcmp(title, "Zurimo!") && !GetDlgItem(hwnd, 1012)) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct FindOwned {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindHistoryProc(HWND hwnd, LPARAM lParam) {
    auto* find = reinterpret_cast<FindOwned*>(lParam);
    if (GetWindow(hwnd, GW_OWNER) == find->owner && GetDlgItem(hwnd, 1012)) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

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

std::string ProgramFolder() {
    static std::string folder;
    if (!folder.empty()) return folder;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "zurimo-e2e";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string bin = BuiltBinFolder();
    for (const char* file : {"zurimo.exe", "Zurimo.dll", "ZurimoEx.dll"}) {
        CopyFileA((bin + "\\" + file).c_str(), (folder + "\\" + file).c_str(), FALSE);
    }
    return folder;
}

std::string ProgramPath() { return ProgramFolder() + "\\zurimo.exe"; }
std::string HistoryFilePath() { return ProgramFolder() + "\\zurimo.zhd"; }

void ResetSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kestro!"); }

void SetDword(const char* name, DWORD value) {
    HKEY key = OpenSettings(true);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void SetString(const char* name, const std::string& value) {
    HKEY key = OpenSettings(true);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

bool ReadDword(const char* name, DWORD* value) {
    HKEY key = OpenSettings(false);
    if (!key) return false;
    DWORD type = 0, size = sizeof *value;
    LONG error = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return error == ERROR_SUCCESS && type == REG_DWORD && size == 4;
}

bool ReadString(const char* name, std::string* value) {
    HKEY key = OpenSettings(false);
    if (!key) return false;
    char buffer[1024] = {};
    DWORD type = 0, size = sizeof buffer - 1;
    LONG error = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (error != ERROR_SUCCESS || type != REG_SZ) return false;
    *value = buffer;
    return true;
}

bool ValueExists(const char* name, DWORD* type) {
    HKEY key = OpenSettings(false);
    if (!key) return false;
    DWORD t = 0;
    LONG error = RegQueryValueExA(key, name, nullptr, &t, nullptr, nullptr);
    RegCloseKey(key);
    if (type) *type = t;
    return error == ERROR_SUCCESS;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool ReadBytes(const std::string& path, std::string* bytes) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes->append(buffer, n);
    fclose(f);
    return true;
}

void RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

void EmptyTheClipboard() {
    for (int i = 0; i < 50; ++i) {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
            return;
        }
        Sleep(20);
    }
}

namespace {

bool OpenClipboardPatiently() {
    for (int i = 0; i < 100; ++i) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
}

HGLOBAL GlobalBytes(const void* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) return nullptr;
    memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return block;
}

}  // namespace

bool SetClipboardText(const std::string& text, const char* markFormat, DWORD markValue) {
    if (!OpenClipboardPatiently()) return false;
    EmptyClipboard();
    if (markFormat) {
        SetClipboardData(RegisterClipboardFormatA(markFormat),
                         GlobalBytes(&markValue, sizeof markValue));
    }
    bool ok = SetClipboardData(CF_TEXT, GlobalBytes(text.c_str(), text.size() + 1)) != nullptr;
    CloseClipboard();
    return ok;
}

bool CopyAsOwner(const char* text) {
    HWND owner = CreateWindowA("STATIC", "clipboard owner", 0, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
    bool copied = false;
    for (int i = 0; i < 100 && !copied; ++i) {
        if (OpenClipboard(owner)) {
            EmptyClipboard();
            copied = SetClipboardData(CF_TEXT, GlobalBytes(text, strlen(text) + 1)) != nullptr;
            CloseClipboard();
        } else {
            Sleep(10);
        }
    }
    Pump(800);  // the program asks who the owner is after the change
    DestroyWindow(owner);
    return copied;
}

bool CopyFromProgram(const char* programName, const std::string& text) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string program = ProgramFolder() + "\\" + programName;
    CopyFileA(self, program.c_str(), FALSE);
    std::string command = "\"" + program + "\" --copy-as-owner \"" + text + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return false;
    }
    DWORD code = 1;
    bool ended = WaitUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; });
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ended && code == 0;
}

bool SetClipboardBitmap() {
    if (!OpenClipboardPatiently()) return false;
    EmptyClipboard();
    static const WORD bits[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    bool ok = SetClipboardData(CF_BITMAP, CreateBitmap(8, 8, 1, 1, bits)) != nullptr;
    CloseClipboard();
    return ok;
}

std::string ClipboardText() {
    if (!OpenClipboardPatiently()) return "<busy>";
    std::string text = "<none>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PressKeys(const char* chord) {
    std::vector<WORD> keys;
    std::string rest = chord;
    for (;;) {
        std::string::size_type plus = rest.find('+');
        std::string part = rest.substr(0, plus);
        WORD vk = 0;
        if (part == "ctrl") vk = VK_CONTROL;
        else if (part == "alt") vk = VK_MENU;
        else if (part == "shift") vk = VK_SHIFT;
        else if (part == "enter") vk = VK_RETURN;
        else if (part == "esc") vk = VK_ESCAPE;
        else if (part == "delete") vk = VK_DELETE;
        else if (part == "f3") vk = VK_F3;
        else if (part == "comma") vk = VK_OEM_COMMA;
        else if (part == "period") vk = VK_OEM_PERIOD;
        else if (part.size() == 1) vk = static_cast<WORD>(toupper(static_cast<unsigned char>(part[0])));
        keys.push_back(vk);
        if (plus == std::string::npos) break;
        rest = rest.substr(plus + 1);
    }
    auto send = [](WORD vk, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &input, sizeof input);
        Sleep(15);
    };
    for (WORD vk : keys) send(vk, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) send(*it, true);
    Pump(150);
}

bool BringToFront(HWND hwnd) {
    bool front = WaitUntil(
        [&] {
            if (GetForegroundWindow() == hwnd) return true;
            SetForegroundWindow(hwnd);
            return false;
        },
        3000);
    SettleFocus();
    return front;
}

bool WaitForLineCount(HWND list, int count, DWORD ms) {
    return WaitUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == count; }, ms);
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
    Pump(100);
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
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void FreshUserTest::SetUp() {
    ResetSettings();
    for (const char* suffix : {"", ".tmp", ".bak"}) RemoveFile(HistoryFilePath() + suffix);
    EmptyTheClipboard();
}

void FreshUserTest::TearDown() { ResetSettings(); }

void SetText(HWND control, const char* text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool Session::Start() {
    if (!program.Start() || !program.WaitForMainWindow()) return false;
    history = program.historyWindow();
    list = history ? GetDlgItem(history, 1012) : nullptr;
    preview = history ? GetDlgItem(history, 1005) : nullptr;
    return list != nullptr;
}

std::vector<std::string> Session::Lines() const { return ListBoxLines(list); }

int Session::Selection() const { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

bool Session::Show() {
    PostMessageA(program.mainWindow(), WM_COMMAND, 32768, 0);
    bool shown = WaitUntil([&] { return IsWindowVisible(history) != FALSE; }) &&
                 WaitUntil([&] { return GetForegroundWindow() == history; }, 3000) &&
                 WaitUntil([&] { return FocusOf(history) == list; }, 3000);
    SettleFocus();
    return shown;
}

void SettleFocus() {
    // When X reports the new focus, Wine takes the keyboard state from X, where the keys
    // that SendInput pressed are up: a Ctrl sent before that report is lost.
    Pump(300);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

bool Session::Capture(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        int before = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        if (!SetClipboardText(text) || !WaitForLineCount(list, before + 1)) return false;
    }
    return true;
}

void Session::Click(int id) {
    PostMessageA(history, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(history, id)));
    Pump(100);
}

Program::~Program() {
    if (pi_.hProcess) {
        if (!WaitForExit(0)) Kill();
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
}

bool Program::Start() {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string command = "\"" + ProgramPath() + "\"";
    std::string folder = ProgramFolder();
    return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &si, &pi_) != FALSE;
}

bool Program::WaitForMainWindow(DWORD ms) {
    return WaitUntil(
        [&] {
            HWND hwnd = nullptr;
            while ((hwnd = FindWindowExA(nullptr, hwnd, "KestroZurimoClass", nullptr))) {
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                if (pid == pi_.dwProcessId) {
                    main_ = hwnd;
                    // The window shows up during its own creation; wait until start-up is
                    // through and the program waits for input.
                    WaitForInputIdle(pi_.hProcess, ms);
                    return true;
                }
            }
            return false;
        },
        ms);
}

HWND Program::historyWindow() const {
    FindOwned find = {main_, nullptr};
    EnumWindows(FindHistoryProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool Program::Close(DWORD ms) {
    if (!main_) return false;
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return WaitForExit(ms);
}

bool Program::WaitForExit(DWORD ms, DWORD* exitCode) {
    if (!pi_.hProcess) return true;
    DWORD end = GetTickCount() + ms;
    for (;;) {
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) break;
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
        Pump(20);
    }
    if (exitCode) GetExitCodeProcess(pi_.hProcess, exitCode);
    return true;
}

void Program::Kill() {
    if (pi_.hProcess) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
}

HWND Program::WaitForMessageBox(DWORD ms) const {
    FindBox find = {pi_.dwProcessId, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(FindMessageBoxProc, reinterpret_cast<LPARAM>(&find));
            return find.found != nullptr;
        },
        ms);
    return find.found;
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

void Pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char part[4];
    for (unsigned char c : bytes) {
        snprintf(part, sizeof part, out.empty() ? "%02x" : " %02x", c);
        out += part;
    }
    return out;
}

}  // namespace e2e
