// The program under test and its folder: where it runs from, starting and ending it, its
// windows and message boxes as found from outside, the files beside it, and the session a
// test drives.
#include "harness.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "resources/resource.h"

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

}  // namespace

AssertionResult LastErrorFailure(const char* what) {
    DWORD error = GetLastError();
    return testing::AssertionFailure() << what << " failed with error " << error;
}

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

void FreshUserTest::SetUp() {
    ResetSettings();
    for (const char* suffix : {"", ".tmp", ".bak"}) RemoveFile(HistoryFilePath() + suffix);
    EmptyTheClipboard();
}

void FreshUserTest::TearDown() { ResetSettings(); }

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
