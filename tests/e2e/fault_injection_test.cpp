// Memory that runs out: each allocation of a round of user actions, of a capture and of the
// exit fails in turn (fault_probe.dll makes the program's own malloc fail), and the program
// never ends in abort(), tells the user, and keeps every entry it had.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fault_probe.h"
#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

std::string TestFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

// fault_probe.dll in the program's user-interface thread, and the block it reads.
class FaultProbe {
public:
    explicit FaultProbe(HWND programWindow) {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(FaultProbeControl), kFaultProbeMapping);
        if (mapping_) {
            control_ = static_cast<FaultProbeControl*>(
                MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FaultProbeControl)));
        }
        if (!control_) return;
        *const_cast<FaultProbeControl*>(control_) = FaultProbeControl();
        library_ = LoadLibraryA((TestFolder() + "\\fault_probe.dll").c_str());
        auto hook = library_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                   GetProcAddress(library_, "FaultProbeHook")))
                             : nullptr;
        DWORD thread = GetWindowThreadProcessId(programWindow, nullptr);
        if (hook) hook_ = SetWindowsHookExA(WH_GETMESSAGE, hook, library_, thread);
        PostMessageA(programWindow, WM_NULL, 0, 0);  // brings the library in
    }
    ~FaultProbe() {
        Disarm();
        if (hook_) UnhookWindowsHookEx(hook_);
        if (library_) FreeLibrary(library_);
        if (control_) UnmapViewOfFile(const_cast<FaultProbeControl*>(control_));
        if (mapping_) CloseHandle(mapping_);
    }
    FaultProbe(const FaultProbe&) = delete;
    FaultProbe& operator=(const FaultProbe&) = delete;

    AssertionResult Installed() const {
        if (control_ && WaitUntil([&] { return control_->installed != 0; }, 5000) &&
            control_->installed == 1) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "the probe is not in the program";
    }
    // The `n`th allocation from now on fails (n from 1); 0: none does.
    void Arm(LONG n) {
        control_->armed = 0;
        control_->countdown = n;
        control_->armed = n > 0;
    }
    void Disarm() {
        if (control_) control_->armed = 0;
    }
    LONG calls() const { return control_->calls; }
    LONG failures() const { return control_->failures; }

private:
    HANDLE mapping_ = nullptr;
    volatile FaultProbeControl* control_ = nullptr;
    HMODULE library_ = nullptr;
    HHOOK hook_ = nullptr;
};

// Closes whatever the program left open: message boxes (their texts are kept), the editor and
// Find, and hides the history window.
std::vector<std::string> CloseEverything(Session& s) {
    std::vector<std::string> messages;
    for (int i = 0; i < 10; ++i) {
        HWND box = s.program.WaitForMessageBox(150);
        if (!box) break;
        messages.push_back(MessageBoxText(box));
        DismissMessageBox(box);
        WaitUntil([&] { return !IsWindow(box); }, 2000);
    }
    for (const char* title : {"Zurimo! 履歴の編集", "Zurimo! 検索"}) {
        if (HWND dialog = FindWindowA("#32770", title)) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            WaitUntil([&] { return !IsWindowVisible(dialog); }, 2000);
        }
    }
    PostMessageA(s.history, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    WaitUntil([&] { return !IsWindowVisible(s.history); }, 2000);
    return messages;
}

void Post(HWND window, int id) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// Show, select, a quoted take-out, the editor, Find: each step waits a bounded time, since
// one whose memory failed may not happen at all.
void RoundOfUserActions(Session& s) {
    int before = static_cast<int>(SendMessageA(s.list, LB_GETCOUNT, 0, 0));
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_SHOW, 0);
    WaitUntil([&] { return IsWindowVisible(s.history) != FALSE; }, 1000);
    SendMessageA(s.list, LB_SETCURSEL, 1, 0);
    CheckDlgButton(s.history, IDC_QUOTE, BST_CHECKED);
    Post(s.history, IDC_QUOTE);
    Post(s.history, IDC_TAKE_OUT);
    WaitUntil([&] { return SendMessageA(s.list, LB_GETCOUNT, 0, 0) > before; }, 1000);
    CheckDlgButton(s.history, IDC_QUOTE, BST_UNCHECKED);
    Post(s.history, IDC_QUOTE);

    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_SHOW, 0);
    WaitUntil([&] { return IsWindowVisible(s.history) != FALSE; }, 1000);
    SendMessageA(s.list, LB_SETCURSEL, 2, 0);
    Post(s.history, IDC_EDIT);
    if (HWND editor = WaitForDialog("Zurimo! 履歴の編集", 1000)) {
        Post(editor, IDCANCEL);
        WaitUntil([&] { return !IsWindow(editor); }, 1000);
    }
    Post(s.history, IDC_FIND);
    if (HWND find = WaitForDialog("Zurimo! 検索", 1000)) {
        SetText(GetDlgItem(find, IDC_FIND_TEXT), "second");
        Post(find, IDC_FIND_NEXT);
        Pump(100);
    }
}

bool HasAll(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
    return std::all_of(wanted.begin(), wanted.end(), [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    });
}

class FaultInjectionTest : public FreshUserTest {
protected:
    void SetUp() override {
        FreshUserTest::SetUp();
        SetDword("File", 1);
        SetDword("History", 1000);
        ASSERT_TRUE(WriteBytes(HistoryFilePath(), std::string(2, '\0')));
    }
    const std::vector<std::string> kTexts = {"first", "second \x82\xA0", "third\r\nline"};
    const std::vector<std::string> kLines = {"first", "second \x82\xA0", "third"};
};

TEST_F(FaultInjectionTest, NoFailedAllocationEndsTheProgramOrLosesAnEntry) {
    Session s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture(kTexts));
    FaultProbe probe(s.program.mainWindow());
    ASSERT_TRUE(probe.Installed());

    // How many allocations one round makes, with none failing.
    LONG before = probe.calls();
    RoundOfUserActions(s);
    CloseEverything(s);
    const LONG perRound = probe.calls() - before;
    ASSERT_GT(perRound, 5);

    int told = 0;
    for (LONG n = 1; n <= perRound; ++n) {
        SCOPED_TRACE(n);
        probe.Arm(n);
        RoundOfUserActions(s);
        probe.Disarm();
        for (const std::string& message : CloseEverything(s)) {
            EXPECT_EQ("ﾒﾓﾘが不足しています。", message);
            ++told;
        }
        ASSERT_FALSE(s.program.WaitForExit(0)) << "the program ended";
        EXPECT_TRUE(HasAll(s.Lines(), kLines)) << "an entry was lost";
    }
    EXPECT_EQ(perRound, probe.failures()) << "every allocation of the round was failed once";
    EXPECT_GT(told, 0) << "the user is told when memory runs out";

    // A 4 MB copy whose memory cannot be had: nothing is added, the user is told.
    const std::string large(4 << 20, 'L');
    before = probe.calls();
    ASSERT_TRUE(SetClipboardText("sentinel"));
    ASSERT_TRUE(WaitUntil([&] { return s.Lines().front() == "sentinel"; }));
    const LONG perCapture = probe.calls() - before;
    for (LONG n = 1; n <= perCapture; ++n) {
        SCOPED_TRACE(n);
        int lines = static_cast<int>(s.Lines().size());
        probe.Arm(n);
        ASSERT_TRUE(SetClipboardText(large));
        HWND box = s.program.WaitForMessageBox(1000);
        probe.Disarm();
        if (box) {
            EXPECT_EQ("ﾒﾓﾘが不足しています。", MessageBoxText(box));
        }
        CloseEverything(s);
        ASSERT_FALSE(s.program.WaitForExit(0)) << "the program ended";
        int now = static_cast<int>(s.Lines().size());
        EXPECT_TRUE(now == lines || now == lines + 1);
        EXPECT_TRUE(HasAll(s.Lines(), kLines));
    }
}

TEST_F(FaultInjectionTest, AnExitWhoseSaveRunsOutOfMemoryEndsNormallyAndKeepsAWholeFile) {
    // The allocations of one exit, counted once.
    LONG perExit = 0;
    std::string saved;
    {
        Session s;
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.Capture(kTexts));
        FaultProbe probe(s.program.mainWindow());
        ASSERT_TRUE(probe.Installed());
        LONG before = probe.calls();
        PostMessageA(s.program.mainWindow(), WM_CLOSE, 0, 0);
        DWORD code = 1;
        ASSERT_TRUE(s.program.WaitForExit(kWaitMs, &code));
        EXPECT_EQ(0u, code);
        perExit = probe.calls() - before;
        ASSERT_TRUE(ReadBytes(HistoryFilePath(), &saved));
    }
    ASSERT_GT(perExit, 0);
    for (LONG n = 1; n <= perExit; ++n) {
        SCOPED_TRACE(n);
        EmptyTheClipboard();  // the saved history alone
        Session s;
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(WaitForLineCount(s.list, 3));
        FaultProbe probe(s.program.mainWindow());
        ASSERT_TRUE(probe.Installed());
        probe.Arm(n);
        PostMessageA(s.program.mainWindow(), WM_CLOSE, 0, 0);
        HWND box = nullptr;
        WaitUntil([&] { return s.program.WaitForExit(0) || (box = s.program.WaitForMessageBox(0)); });
        if (box) {
            EXPECT_EQ("ﾒﾓﾘが不足しています。", MessageBoxText(box));
            DismissMessageBox(box);
        }
        DWORD code = 1;
        ASSERT_TRUE(s.program.WaitForExit(kWaitMs, &code));
        EXPECT_EQ(0u, code) << "ended normally";
        std::string file;
        ASSERT_TRUE(ReadBytes(HistoryFilePath(), &file));
        EXPECT_EQ(Hex(saved), Hex(file)) << "the old file, or the same history written anew";
    }
}

}  // namespace
}  // namespace e2e
