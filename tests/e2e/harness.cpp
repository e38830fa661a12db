#include "harness.h"

#include <commctrl.h>
#include <prsht.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>

#include "resources/resource.h"
#include "tests/support/win_keys.h"

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

UniqueHKey OpenSettings(bool create) {
    if (create) return CreateUserKey(kSettingsKey);
    HKEY key = nullptr;
    LONG error = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key);
    return UniqueHKey(error == ERROR_SUCCESS ? key : nullptr);
}

AssertionResult LastErrorFailure(const char* what) {
    DWORD error = GetLastError();
    return testing::AssertionFailure() << what << " failed with error " << error;
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
        !strcmp(title, "Zurimo!") && !GetDlgItem(hwnd, IDC_HISTORY_LIST)) {
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
    if (GetWindow(hwnd, GW_OWNER) == find->owner && GetDlgItem(hwnd, IDC_HISTORY_LIST)) {
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

UniqueHKey CreateUserKey(const char* path) {
    HKEY key = nullptr;
    LONG error = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr);
    return UniqueHKey(error == ERROR_SUCCESS ? key : nullptr);
}

void SetDword(const char* name, DWORD value) {
    UniqueHKey key = OpenSettings(true);
    RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

void SetString(const char* name, const std::string& value) {
    UniqueHKey key = OpenSettings(true);
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

AssertionResult ReadDword(const char* name, DWORD* value) {
    UniqueHKey key = OpenSettings(false);
    if (!key) return testing::AssertionFailure() << "no Settings key";
    DWORD type = 0, size = sizeof *value;
    LONG error = RegQueryValueExA(key.get(), name, nullptr, &type,
                                  reinterpret_cast<BYTE*>(value), &size);
    if (error == ERROR_SUCCESS && type == REG_DWORD && size == 4) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << name << ": error " << error << ", type " << type
                                       << ", " << size << " bytes";
}

AssertionResult ReadString(const char* name, std::string* value) {
    UniqueHKey key = OpenSettings(false);
    if (!key) return testing::AssertionFailure() << "no Settings key";
    char buffer[1024] = {};
    DWORD type = 0, size = sizeof buffer - 1;
    LONG error = RegQueryValueExA(key.get(), name, nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer), &size);
    if (error != ERROR_SUCCESS || type != REG_SZ) {
        return testing::AssertionFailure() << name << ": error " << error << ", type " << type;
    }
    *value = buffer;
    return testing::AssertionSuccess();
}

bool ValueExists(const char* name, DWORD* type) {
    UniqueHKey key = OpenSettings(false);
    if (!key) return false;
    DWORD t = 0;
    LONG error = RegQueryValueExA(key.get(), name, nullptr, &t, nullptr, nullptr);
    if (type) *type = t;
    return error == ERROR_SUCCESS;
}

AssertionResult WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return testing::AssertionFailure() << "cannot create " << path;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (fclose(f) == 0 && ok) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "cannot write " << bytes.size() << " bytes to " << path;
}

AssertionResult ReadBytes(const std::string& path, std::string* bytes) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return testing::AssertionFailure() << "no file " << path;
    bytes->clear();
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes->append(buffer, n);
    fclose(f);
    return testing::AssertionSuccess() << path << " holds " << bytes->size() << " bytes";
}

void RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

FileSetAside::FileSetAside(std::string path) : path_(std::move(path)) {
    std::string aside = path_ + ".aside";
    DeleteFileA(aside.c_str());  // left by a run that was killed
    moved_ = MoveFileA(path_.c_str(), aside.c_str()) != FALSE;
    if (!moved_) error_ = GetLastError();
}

FileSetAside::~FileSetAside() {
    if (moved_) MoveFileExA((path_ + ".aside").c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

AssertionResult FileSetAside::moved() const {
    if (moved_) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "cannot move " << path_ << " aside: error " << error_;
}

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

// Puts a copy of the bytes on the open clipboard in `format`; the clipboard owns it then.
bool PutOnClipboard(UINT format, const void* data, size_t size) {
    zurimo::UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!block) return false;
    {
        zurimo::GlobalLockGuard lock(block.get());
        if (!lock) return false;
        memcpy(lock.get(), data, size);
    }
    if (!SetClipboardData(format, block.get())) return false;
    (void)block.release();
    return true;
}

}  // namespace

ClipboardHeld::ClipboardHeld() : open_(OpenClipboardPatiently()) {}

ClipboardHeld::~ClipboardHeld() { Release(); }

void ClipboardHeld::Release() {
    if (open_) CloseClipboard();
    open_ = false;
}

AssertionResult SetClipboardText(const std::string& text, const char* markFormat, DWORD markValue) {
    ClipboardHeld clipboard;
    if (!clipboard) return testing::AssertionFailure() << "the clipboard stays busy";
    EmptyClipboard();
    if (markFormat) {
        PutOnClipboard(RegisterClipboardFormatA(markFormat), &markValue, sizeof markValue);
    }
    if (!PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1)) {
        return LastErrorFailure("putting the text on the clipboard");
    }
    return testing::AssertionSuccess();
}

AssertionResult SetClipboardWide(const std::u16string& text) {
    ClipboardHeld clipboard;
    if (!clipboard) return testing::AssertionFailure() << "the clipboard stays busy";
    EmptyClipboard();
    if (!PutOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t))) {
        return LastErrorFailure("putting the text on the clipboard");
    }
    return testing::AssertionSuccess();
}

AssertionResult CopyAsOwner(const char* text) {
    HWND owner = CreateWindowA("STATIC", "clipboard owner", 0, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
    bool copied = false;
    for (int i = 0; i < 100 && !copied; ++i) {
        if (OpenClipboard(owner)) {
            EmptyClipboard();
            copied = PutOnClipboard(CF_TEXT, text, strlen(text) + 1);
            CloseClipboard();
        } else {
            Sleep(10);
        }
    }
    // The program asks who the owner is when it is told of the change.
    AssertionResult told = copied ? WaitForViewers() : testing::AssertionSuccess();
    DestroyWindow(owner);
    if (!copied) return testing::AssertionFailure() << "could not copy \"" << text << "\"";
    return told;
}

AssertionResult WaitForViewers(DWORD ms) {
    HWND viewer = GetClipboardViewer();
    DWORD_PTR ignored = 0;
    if (!viewer || SendMessageTimeoutA(viewer, WM_NULL, 0, 0, SMTO_NORMAL, ms, &ignored)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "the clipboard viewer " << viewer
                                       << " did not answer within " << ms << " ms";
}

AssertionResult CopyBurst(int count, const std::string& prefix, const Program* pacer) {
    HWND owner = CreateWindowA("STATIC", "clipboard owner", 0, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
    int copied = 0;
    AssertionResult paced = testing::AssertionSuccess();
    for (int i = 0; i < count && paced; ++i) {
        std::string text = prefix + std::to_string(i);
        for (int tries = 0; tries < 200; ++tries) {
            if (!OpenClipboard(owner)) {
                Sleep(5);
                continue;
            }
            EmptyClipboard();
            if (PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1)) ++copied;
            CloseClipboard();
            break;
        }
        if (pacer) paced = pacer->CatchUp();
    }
    AssertionResult told = WaitForViewers();
    DestroyWindow(owner);
    if (!paced) return paced << " (after copy " << copied << ")";
    if (copied != count) return testing::AssertionFailure() << "copied " << copied << " of " << count;
    return told;
}

AssertionResult CopyFromProgram(const char* programName, const std::string& text) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string program = ProgramFolder() + "\\" + programName;
    CopyFileA(self, program.c_str(), FALSE);
    ChildProcess copier;
    AssertionResult started =
        copier.Start("\"" + program + "\" --copy-as-owner \"" + text + "\"");
    if (!started) return started;
    DWORD code = 1;
    AssertionResult ended = copier.WaitForExit(kWaitMs, &code);
    if (!ended) return ended;
    if (code == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << programName << " copying \"" << text << "\" ended with "
                                       << code;
}

AssertionResult SetClipboardBitmap() {
    ClipboardHeld clipboard;
    if (!clipboard) return testing::AssertionFailure() << "the clipboard stays busy";
    EmptyClipboard();
    static const WORD bits[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    if (!SetClipboardData(CF_BITMAP, CreateBitmap(8, 8, 1, 1, bits))) {
        return LastErrorFailure("putting a bitmap on the clipboard");
    }
    return testing::AssertionSuccess();
}

std::string ClipboardText() {
    ClipboardHeld clipboard;
    if (!clipboard) return "<busy>";
    std::string text = "<none>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        zurimo::GlobalLockGuard lock(data);
        if (lock) text = static_cast<const char*>(lock.get());
    }
    return text;
}

std::u16string ClipboardWideText() {
    ClipboardHeld clipboard;
    if (!clipboard) return u"<busy>";
    std::u16string text = u"<none>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        zurimo::GlobalLockGuard lock(data);
        if (lock) text = static_cast<const char16_t*>(lock.get());
    }
    return text;
}

void PressKeys(const char* chord) {
    if (!zurimo::PressChord(chord)) ADD_FAILURE() << "unknown key in \"" << chord << "\"";
}

void MouseTo(POINT p, DWORD buttons) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
}

AssertionResult BringToFront(HWND hwnd) {
    bool front = WaitUntil(
        [&] {
            if (GetForegroundWindow() == hwnd) return true;
            SetForegroundWindow(hwnd);
            return false;
        },
        3000);
    SettleFocus();
    if (front) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the foreground stays on " << GetForegroundWindow()
                                       << ", not " << hwnd;
}

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

void FreshUserTest::SetUp() {
    ResetSettings();
    for (const char* suffix : {"", ".tmp", ".bak"}) RemoveFile(HistoryFilePath() + suffix);
    EmptyTheClipboard();
}

void FreshUserTest::TearDown() { ResetSettings(); }

void SetText(HWND control, const char* text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

AssertionResult Session::Start() {
    AssertionResult started = program.Start();
    if (started) started = program.WaitForMainWindow();
    if (!started) return started;
    history = program.historyWindow();
    list = history ? GetDlgItem(history, IDC_HISTORY_LIST) : nullptr;
    preview = history ? GetDlgItem(history, IDC_PREVIEW) : nullptr;
    if (list) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no history window with list 1012 (window " << history
                                       << ")";
}

std::vector<std::string> Session::Lines() const { return ListBoxLines(list); }

int Session::Selection() const { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

AssertionResult Session::Show() {
    PostMessageA(program.mainWindow(), WM_COMMAND, ID_SHOW, 0);
    bool shown = WaitUntil([&] { return IsWindowVisible(history) != FALSE; }) &&
                 WaitUntil([&] { return GetForegroundWindow() == history; }, 3000) &&
                 WaitUntil([&] { return FocusOf(history) == list; }, 3000);
    SettleFocus();
    if (shown) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "history window " << history << (IsWindowVisible(history) ? " shown" : " hidden")
           << ", foreground " << GetForegroundWindow() << ", focus " << FocusOf(history)
           << " (the list is " << list << ")";
}

void SettleFocus() {
    // When X reports the new focus, Wine takes the keyboard state from X, where the keys
    // that SendInput pressed are up: a Ctrl sent before that report is lost. Nothing on
    // the Windows side tells when that report has come (the window is in front already),
    // so this is the one wait left to time.
    Pump(300);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

AssertionResult Session::Capture(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        int before = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        AssertionResult captured = SetClipboardText(text);
        if (captured) captured = WaitForLineCount(list, before + 1);
        if (!captured) return captured << " (capturing \"" << text << "\")";
    }
    return testing::AssertionSuccess();
}

AssertionResult Session::Click(int id) {
    PostMessageA(history, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(history, id)));
    return program.CatchUp();
}

ChildProcess::~ChildProcess() {
    if (pi_.hProcess) {
        if (!WaitForExit(0)) Kill();
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
}

AssertionResult ChildProcess::Start(const std::string& commandLine, const char* folder) {
    if (pi_.hProcess) return testing::AssertionFailure() << "started already";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string command = commandLine;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &si,
                       &pi_)) {
        return testing::AssertionSuccess();
    }
    pi_ = {};
    return LastErrorFailure(("starting " + commandLine).c_str());
}

AssertionResult ChildProcess::WaitForExit(DWORD ms, DWORD* exitCode) {
    if (!pi_.hProcess) return testing::AssertionSuccess() << "never started";
    DWORD end = GetTickCount() + ms;
    for (;;) {
        // Messages for this thread are handled meanwhile: the process may send some.
        HandlePendingMessages();
        LONG left = static_cast<LONG>(end - GetTickCount());
        DWORD woke = MsgWaitForMultipleObjects(1, &pi_.hProcess, FALSE,
                                               left > 0 ? static_cast<DWORD>(left) : 0,
                                               QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) break;
        if (woke != WAIT_OBJECT_0 + 1 || left <= 0) {
            return testing::AssertionFailure() << "process " << pi_.dwProcessId
                                               << " still runs after " << ms << " ms";
        }
    }
    if (exitCode) GetExitCodeProcess(pi_.hProcess, exitCode);
    return testing::AssertionSuccess();
}

void ChildProcess::Kill() {
    if (pi_.hProcess) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
}

AssertionResult Program::Start() {
    return process_.Start("\"" + ProgramPath() + "\"", ProgramFolder().c_str());
}

AssertionResult Program::WaitForMainWindow(DWORD ms) {
    bool found = WaitUntil(
        [&] {
            HWND hwnd = nullptr;
            while ((hwnd = FindWindowExA(nullptr, hwnd, "KestroZurimoClass", nullptr))) {
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                if (pid == process_.id()) {
                    main_ = hwnd;
                    // The window shows up during its own creation; wait until start-up is
                    // through and the program waits for input.
                    WaitForInputIdle(process_.handle(), ms);
                    return true;
                }
            }
            return false;
        },
        ms);
    if (found) return testing::AssertionSuccess();
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.handle(), &code);
    AssertionResult failure = testing::AssertionFailure();
    failure << "no window of class KestroZurimoClass within " << ms << " ms; the program ";
    if (code == STILL_ACTIVE) return failure << "runs";
    return failure << "ended with " << code;
}

HWND Program::historyWindow() const {
    FindOwned find = {main_, nullptr};
    EnumWindows(FindHistoryProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

AssertionResult Program::CatchUp(DWORD ms) const {
    // Sent messages are handled in the order they came: once this one is answered, so is a
    // clipboard viewer's notice sent before it. Posted messages are handled in order too,
    // after sent ones: once the one posted next has been handled, so has all that was
    // posted before it. That one widens the history list's horizontal extent by a pixel,
    // which can be read from here and shows nowhere (the list has no horizontal scroll
    // bar); the extent is set back afterwards.
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, ms, &ignored)) {
        return testing::AssertionFailure() << "the program did not answer within " << ms << " ms";
    }
    HWND list = GetDlgItem(historyWindow(), IDC_HISTORY_LIST);
    if (!list) return testing::AssertionFailure() << "no history list";
    LRESULT extent = SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0);
    PostMessageA(list, LB_SETHORIZONTALEXTENT, extent + 1, 0);
    bool handled = WaitUntil(
        [&] { return SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0) == extent + 1; }, ms);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, extent, 0);
    if (handled) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the program did not get to a message posted to it within "
                                       << ms << " ms";
}

AssertionResult Program::Close(DWORD ms) {
    if (!main_) return testing::AssertionFailure() << "no main window to close";
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return WaitForExit(ms);
}

HWND Program::WaitForMessageBox(DWORD ms) const {
    FindBox find = {process_.id(), nullptr};
    WaitUntil(
        [&] {
            EnumWindows(FindMessageBoxProc, reinterpret_cast<LPARAM>(&find));
            return find.found != nullptr;
        },
        ms);
    return find.found;
}

std::string Program::TakeMessage(DWORD ms) const {
    HWND box = WaitForMessageBox(ms);
    if (!box) return "<no message>";
    std::string text = MessageBoxText(box);
    DismissMessageBox(box);
    WaitUntil([&] { return !IsWindow(box); }, 3000);
    return text;
}

MenuProbe::MenuProbe(DWORD threadId) : receiver_("ZurimoMenuProbe", "menu probe", 0) {
    std::string path = OwnFolder() + "\\menu_probe.dll";
    library_ = LoadLibraryA(path.c_str());
    // Through void*: the export's real type is a hook procedure, not FARPROC.
    auto hook = library_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                               GetProcAddress(library_, "MenuProbeHook")))
                         : nullptr;
    if (hook) hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, hook, library_, threadId);
}

MenuProbe::~MenuProbe() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (library_) FreeLibrary(library_);
}

AssertionResult MenuProbe::installed() const {
    if (hook_) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "menu_probe.dll " << (library_ ? "loaded" : "not loaded")
                                       << ", no hook (error " << GetLastError() << ")";
}

AssertionResult MenuProbe::NextMenu(std::vector<std::string>* lines, DWORD ms) {
    if (!WaitUntil([&] { return receiver_.copies.size() > read_; }, ms)) {
        return testing::AssertionFailure() << "no menu was prepared within " << ms << " ms";
    }
    lines->clear();
    const std::string& report = receiver_.copies[read_++];
    for (size_t start = 0, end; (end = report.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines->push_back(report.substr(start, end - start));
    }
    return testing::AssertionSuccess();
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
