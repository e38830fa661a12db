// Drives zurimo.exe from outside, as another program would: starts it from a folder of its
// own, finds its windows, reads and writes its registry key and files.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

constexpr char kSettingsKey[] = "Software\\Kestro!\\Zurimo!\\Settings";
constexpr DWORD kWaitMs = 10000;

// The folder the program runs from, with zurimo.exe and Zurimo.dll copied in.
std::string ProgramFolder();
std::string ProgramPath();      // ...\zurimo.exe
std::string HistoryFilePath();  // ...\zurimo.zhd

// Settings in the registry.
void ResetSettings();  // removes Software\Kestro! with everything below it
void SetDword(const char* name, DWORD value);
void SetString(const char* name, const std::string& value);
bool ReadDword(const char* name, DWORD* value);
bool ReadString(const char* name, std::string* value);
bool ValueExists(const char* name, DWORD* type = nullptr);

// Files.
bool WriteBytes(const std::string& path, const std::string& bytes);
bool ReadBytes(const std::string& path, std::string* bytes);
void RemoveFile(const std::string& path);

// The clipboard, as another program uses it.
void EmptyTheClipboard();
// Puts CF_TEXT on the clipboard; with `markFormat`, also that registered format (a DWORD).
bool SetClipboardText(const std::string& text, const char* markFormat = nullptr,
                      DWORD markValue = 0);
bool SetClipboardBitmap();
std::string ClipboardText();  // CF_TEXT, or "<none>"

// Puts `text` on the clipboard from a window of this process and keeps that window, the
// clipboard's owner, for a moment.
bool CopyAsOwner(const char* text);
// Runs this test program as another program named `programName` (copied into the program
// folder) that copies `text`; waits until it is done.
bool CopyFromProgram(const char* programName, const std::string& text);

// Real key presses (SendInput) to whatever has the focus: "ctrl+p", "enter", "f3", "delete".
void PressKeys(const char* chord);
// Waits for the window system to finish a change of focus before keys are pressed.
void SettleFocus();
// The window with the keyboard focus in `window`'s thread.
HWND FocusOf(HWND window);
// Makes `hwnd` the foreground window (for key presses); true when it is.
bool BringToFront(HWND hwnd);

// A running zurimo.exe.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Start();
    // Waits for the main window; false when it did not come.
    bool WaitForMainWindow(DWORD ms = kWaitMs);
    HWND mainWindow() const { return main_; }
    HWND historyWindow() const;  // the dialog with control 1012 owned by the main window
    DWORD processId() const { return pi_.dwProcessId; }

    // WM_CLOSE to the main window, then waits for the process to end.
    bool Close(DWORD ms = kWaitMs);
    bool WaitForExit(DWORD ms, DWORD* exitCode = nullptr);
    void Kill();

    // A visible message box of this process captioned "Zurimo!", waited for.
    HWND WaitForMessageBox(DWORD ms = kWaitMs) const;

private:
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};

// The history window's list box lines, waited for until there are `count`.
bool WaitForLineCount(HWND list, int count, DWORD ms = kWaitMs);

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
    bool Start();
    std::vector<std::string> Lines() const;
    int Selection() const;
    // Shows the history window as the hot key does, and waits until it is in front.
    bool Show();
    // Captures the texts in order, so that the last one ends up as entry 0.
    bool Capture(const std::vector<std::string>& texts);
    // A button of the history window, clicked.
    void Click(int id);
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

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// Text of a message box (its static text), and pressing its OK button.
std::string MessageBoxText(HWND box);
void DismissMessageBox(HWND box);

// A control's text and list-box lines, read with messages as another process must.
std::string ControlText(HWND control);
std::vector<std::string> ListBoxLines(HWND list);

// Lets the other process work; messages of this thread keep flowing meanwhile.
void Pump(DWORD ms);

// Waits until `condition` holds or `ms` pass; returns the last result.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms = kWaitMs) {
    DWORD end = GetTickCount() + ms;
    for (;;) {
        if (condition()) return true;
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
        Pump(20);
    }
}

// "61 62 0d" -> bytes; for readable expectations.
std::string Hex(const std::string& bytes);

}  // namespace e2e
