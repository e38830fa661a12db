// Drives zurimo.exe from outside, as another program would: starts it from a folder of its
// own, finds its windows, reads and writes its registry key and files. Helpers that can fail
// return testing::AssertionResult, so that a failed ASSERT_TRUE shows what was seen; what a
// test holds (keys, processes, hooks, OLE) is held by an owner, so a failed assertion leaks
// nothing. The definitions are kept by area: harness.cpp (the program, its folder and files,
// the session), harness_registry.cpp, harness_clipboard.cpp, harness_windows.cpp (windows,
// dialogs, the message pump) and harness_input.cpp (keys, mouse, focus).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/win/handles.h"

namespace e2e {

using testing::AssertionResult;
using zurimo::OleInitialization;
using zurimo::UniqueHKey;

constexpr char kSettingsKey[] = "Software\\Kestro!\\Zurimo!\\Settings";
constexpr DWORD kWaitMs = 10000;
constexpr char kOptionsSheetTitle[] = "Zurimo! オプション";

class Program;

// The folder the program runs from, with zurimo.exe and Zurimo.dll copied in.
std::string ProgramFolder();
std::string ProgramPath();      // ...\zurimo.exe
std::string HistoryFilePath();  // ...\zurimo.zhd

// Settings in the registry.
void ResetSettings();  // removes Software\Kestro! with everything below it
void SetDword(const char* name, DWORD value);
void SetString(const char* name, const std::string& value);
AssertionResult ReadDword(const char* name, DWORD* value);
AssertionResult ReadString(const char* name, std::string* value);
bool ValueExists(const char* name, DWORD* type = nullptr);
// A key below HKEY_CURRENT_USER, created when missing; null when that failed.
UniqueHKey CreateUserKey(const char* path);

// A failure naming `what` with the error GetLastError gives now.
AssertionResult LastErrorFailure(const char* what);

// Files.
AssertionResult WriteBytes(const std::string& path, const std::string& bytes);
AssertionResult ReadBytes(const std::string& path, std::string* bytes);
void RemoveFile(const std::string& path);

// A file moved aside (renamed "<path>.aside") for a while, as if it were missing; it is put
// back when this goes.
class FileSetAside {
public:
    explicit FileSetAside(std::string path);
    ~FileSetAside();
    FileSetAside(const FileSetAside&) = delete;
    FileSetAside& operator=(const FileSetAside&) = delete;
    AssertionResult moved() const;

private:
    std::string path_;
    bool moved_ = false;
    DWORD error_ = 0;
};

// The clipboard, as another program uses it.
void EmptyTheClipboard();
// Puts CF_TEXT on the clipboard; with `markFormat`, also that registered format (a DWORD).
AssertionResult SetClipboardText(const std::string& text, const char* markFormat = nullptr,
                                 DWORD markValue = 0);
AssertionResult SetClipboardBitmap();
std::string ClipboardText();  // CF_TEXT, or "<none>"
// Puts CF_UNICODETEXT alone on the clipboard, as a Unicode program copies; the system makes
// the CF_TEXT from it.
AssertionResult SetClipboardWide(const std::u16string& text);
std::u16string ClipboardWideText();  // CF_UNICODETEXT, or u"<none>"

// The clipboard held open by this test, as a busy program would, until this goes.
class ClipboardHeld {
public:
    ClipboardHeld();
    ~ClipboardHeld();
    ClipboardHeld(const ClipboardHeld&) = delete;
    ClipboardHeld& operator=(const ClipboardHeld&) = delete;
    explicit operator bool() const { return open_; }
    void Release();

private:
    bool open_ = false;
};

// Puts `text` on the clipboard from a window of this process and keeps that window, the
// clipboard's owner, until the clipboard's viewers have been told of the change.
AssertionResult CopyAsOwner(const char* text);
// Waits until the clipboard's viewers have handled the notice of the last change: the
// notice was sent ahead of this call's message, and a viewer hands it on to the next one
// before it returns.
AssertionResult WaitForViewers(DWORD ms = kWaitMs);
// Runs this test program as another program named `programName` (copied into the program
// folder) that copies `text`; waits until it is done.
AssertionResult CopyFromProgram(const char* programName, const std::string& text);
// Puts `count` texts "<prefix><i>" on the clipboard one after another from a window of this
// process, with no pause at all; with `pacer`, each after `pacer` has handled the one before.
// Returns once the viewers have been told of the last change.
AssertionResult CopyBurst(int count, const std::string& prefix, const Program* pacer = nullptr);

// Real key presses (SendInput) to whatever has the focus: "ctrl+p", "enter", "f3", "delete",
// "down", "shift+f10", "apps". Returns once they are queued: a test waits for what they do.
// (Program::CatchUp cannot tell, as a thread takes input after its posted messages.)
void PressKeys(const char* chord);
// Real mouse input: moves to `p` on the screen, with `buttons` (MOUSEEVENTF_LEFTDOWN and
// the like) pressed or released there; returns once it is queued.
void MouseTo(POINT p, DWORD buttons = 0);
// Waits for the window system to finish a change of focus before keys are pressed.
void SettleFocus();
// The window with the keyboard focus in `window`'s thread.
HWND FocusOf(HWND window);
// Makes `hwnd` the foreground window (for key presses).
AssertionResult BringToFront(HWND hwnd);

// A process this test started. When this goes, the process is ended if it still runs, and
// its handles are closed.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    AssertionResult Start(const std::string& commandLine, const char* folder = nullptr);
    AssertionResult WaitForExit(DWORD ms, DWORD* exitCode = nullptr);
    void Kill();
    HANDLE handle() const { return pi_.hProcess; }
    DWORD id() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_ = {};
};

// A running zurimo.exe.
class Program {
public:
    AssertionResult Start();
    // Waits for the main window.
    AssertionResult WaitForMainWindow(DWORD ms = kWaitMs);
    HWND mainWindow() const { return main_; }
    HWND historyWindow() const;  // the dialog with the history list owned by the main window
    DWORD processId() const { return process_.id(); }
    DWORD threadId() const { return GetWindowThreadProcessId(main_, nullptr); }

    // Waits until the program has handled every message sent or posted to it before this
    // call, and what they posted in turn: the reading of a clipboard change, a command, a
    // button pressed. (Key presses and mouse input are not covered: a thread takes them
    // only after its posted messages.)
    AssertionResult CatchUp(DWORD ms = kWaitMs) const;

    // WM_CLOSE to the main window, then waits for the process to end.
    AssertionResult Close(DWORD ms = kWaitMs);
    AssertionResult WaitForExit(DWORD ms, DWORD* exitCode = nullptr) {
        return process_.WaitForExit(ms, exitCode);
    }
    void Kill() { process_.Kill(); }

    // A visible message box of this process captioned "Zurimo!", waited for.
    HWND WaitForMessageBox(DWORD ms = kWaitMs) const;
    // The text of that message box, which is then dismissed with OK; "<no message>" if none
    // came.
    std::string TakeMessage(DWORD ms = kWaitMs) const;

private:
    ChildProcess process_;
    HWND main_ = nullptr;
};

// A visible dialog (class "#32770") with this title, waited for; null if none came.
HWND WaitForDialog(const char* title, DWORD ms = kWaitMs);
// Opens the options sheet with the tray menu's command and waits until it is visible; `sheet`
// is what was found, if anything.
AssertionResult OpenOptionsSheet(const Program& program, HWND* sheet);

// The history window's list box lines, waited for until there are `count`.
AssertionResult WaitForLineCount(HWND list, int count, DWORD ms = kWaitMs);

// Every test starts as a fresh user: no settings, no saved history (nor its temporary file or
// backup) and an empty clipboard. The settings are removed again afterwards.
class FreshUserTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Sets a control's text, as typing into it would leave it.
void SetText(HWND control, const char* text);

// A fresh program: settings reset (then `settings` applied), no saved history, an empty
// clipboard; started and waited for. The history window and its list are filled in.
struct Session {
    Program program;
    HWND history = nullptr;
    HWND list = nullptr;
    HWND preview = nullptr;
    AssertionResult Start();
    std::vector<std::string> Lines() const;
    int Selection() const;
    // Shows the history window as the hot key does, and waits until it is in front.
    AssertionResult Show();
    // Captures the texts in order, so that the last one ends up as entry 0.
    AssertionResult Capture(const std::vector<std::string>& texts);
    // A button of the history window, clicked; waits until the program has handled it.
    AssertionResult Click(int id);
};

// A top-level window of the test process, standing in for another program's window. It
// notes what the program does to it: keys, paste, a close request, a page change.
class TestWindow {
public:
    TestWindow(const char* className, const char* title, DWORD style, DWORD exStyle = 0);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd = nullptr;
    HWND focusChild = nullptr;      // gets the focus whenever the window does, as in an editor
    std::vector<std::string> keys;  // "down:12", "sysdown:18", "paste"
    bool closeAsked = false;        // WM_SYSCOMMAND SC_CLOSE
    LPARAM pageId = 0;              // PSM_SETCURSELID
    bool activated = false;         // WM_ACTIVATE, becoming the active window
    std::vector<std::string> copies;  // the texts of WM_COPYDATA

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The popup menus the program prepares, one report each (see menu_probe.cpp), read from
// inside the program by a hook on its user-interface thread.
class MenuProbe {
public:
    explicit MenuProbe(DWORD threadId);
    ~MenuProbe();
    MenuProbe(const MenuProbe&) = delete;
    MenuProbe& operator=(const MenuProbe&) = delete;

    AssertionResult installed() const;
    // Waits for the report of a menu prepared after the last call, and gives its lines.
    AssertionResult NextMenu(std::vector<std::string>* lines, DWORD ms = kWaitMs);

private:
    TestWindow receiver_;
    HMODULE library_ = nullptr;
    HHOOK hook_ = nullptr;
    size_t read_ = 0;
};

// Text of a message box (its static text), and pressing its OK button.
std::string MessageBoxText(HWND box);
void DismissMessageBox(HWND box);

// A control's text and list-box lines, read with messages as another process must.
std::string ControlText(HWND control);
std::vector<std::string> ListBoxLines(HWND list);
// The same in UTF-16, with the W messages.
std::u16string WideControlText(HWND control);
std::u16string WideListLine(HWND list, int index);

// Lets the other process work; messages of this thread keep flowing meanwhile.
void Pump(DWORD ms);
// Handles the messages already waiting for this thread, without waiting for more.
void HandlePendingMessages();

// Waits until `condition` holds or `ms` pass; returns the last result.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms = kWaitMs) {
    DWORD end = GetTickCount() + ms;
    for (;;) {
        if (condition()) return true;
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
        // A condition of another process can only be looked at again; every look costs it
        // messages to answer, so looking every 20 ms leaves it the time to work.
        Pump(20);
    }
}

// "61 62 0d" -> bytes; for readable expectations.
std::string Hex(const std::string& bytes);

}  // namespace e2e
