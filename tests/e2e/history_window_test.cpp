// The history window: showing it, taking entries out, deleting, moving, quoting and the
// date and time.
#include <gtest/gtest.h>
#include <ole2.h>

#include <memory>

#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

// A window of another program that takes text dropped on it.
class TextDropTarget : public IDropTarget {
public:
    TextDropTarget() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZurimoTestDropTarget";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "drop here",
                               WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20, 200, 150, nullptr,
                               nullptr, wc.hInstance, nullptr);
        registered = SUCCEEDED(RegisterDragDrop(hwnd, this));
    }
    ~TextDropTarget() {
        if (registered) RevokeDragDrop(hwnd);
        DestroyWindow(hwnd);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        entered = true;
        offered = data->QueryGetData(&text) == S_OK;
        allowed = *effect;
        *effect = offered ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = offered ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        if (SUCCEEDED(data->GetData(&text, &medium))) {
            {
                zurimo::GlobalLockGuard lock(medium.hGlobal);
                if (lock) dropped = static_cast<const char*>(lock.get());
            }
            ReleaseStgMedium(&medium);
        }
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }

    HWND hwnd = nullptr;
    bool registered = false;
    bool entered = false;  // a drag has come over the window
    bool offered = false;
    DWORD allowed = 0;
    std::string dropped;
};

// Presses the left button on entry `index` of the list, moves to the middle of `target` and,
// once the drag has come over it and after `beforeRelease`, lets go there.
template <typename BeforeRelease>
void DragEntry(HWND list, int index, TextDropTarget& target, BeforeRelease beforeRelease) {
    RECT item = {};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    POINT from = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &from);
    RECT box = {};
    GetWindowRect(target.hwnd, &box);
    POINT to = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    auto moveTo = [&](int step) {
        MouseTo({from.x + (to.x - from.x) * step / 10, from.y + (to.y - from.y) * step / 10});
    };
    MouseTo(from);
    MouseTo(from, MOUSEEVENTF_LEFTDOWN);
    moveTo(1);
    // Once the mouse has left the entry with the button down, the drag takes the mouse from
    // the list; only the moves after that bring it over the target.
    EXPECT_TRUE(WaitUntil([&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(list, nullptr), &info);
        return info.hwndCapture && info.hwndCapture != list;
    }, 5000)) << "no drag started";
    for (int step = 2; step <= 10; ++step) moveTo(step);
    EXPECT_TRUE(WaitUntil([&] { return target.entered; }, 5000)) << "no drag came over the target";
    beforeRelease();
    MouseTo(to, MOUSEEVENTF_LEFTUP);
}

class HistoryWindowTest : public FreshUserTest {
protected:
    // Five entries, "e0" newest.
    AssertionResult StartWithFive() {
        AssertionResult started = s.Start();
        return started ? s.Capture({"e4", "e3", "e2", "e1", "e0"}) : started;
    }
    void Check(int id, bool on) {
        SendDlgItemMessageA(s.history, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        ASSERT_TRUE(s.Click(id));
    }
    bool Checked(int id) { return SendDlgItemMessageA(s.history, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    Session s;
};

TEST_F(HistoryWindowTest, ShowSelectsTheNewestAndPreviewsItsWholeText) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"older", "first line\r\nsecond line"}));
    ASSERT_TRUE(s.Show());
    EXPECT_EQ(0, s.Selection());
    EXPECT_EQ("first line\r\nsecond line", ControlText(s.preview));

    RECT window = {}, work = {};
    GetWindowRect(s.history, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((work.left + work.right) / 2, (window.left + window.right) / 2, 2);
    EXPECT_NEAR((work.top + work.bottom) / 2, (window.top + window.bottom) / 2, 2);

    // Showing a visible window changes nothing, not even the selection.
    SendMessageA(s.list, LB_SETCURSEL, 1, 0);
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_SHOW, 0);
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_EQ(1, s.Selection());
}

TEST_F(HistoryWindowTest, TakingOutEntryThreeMovesItToTheHead) {
    ASSERT_TRUE(StartWithFive());
    ASSERT_TRUE(s.Show());
    SendMessageA(s.list, LB_SETCURSEL, 3, 0);
    ASSERT_TRUE(s.Click(IDC_TAKE_OUT));
    ASSERT_TRUE(WaitUntil([&] { return ClipboardText() == "e3"; }));
    ASSERT_TRUE(WaitUntil([&] { return s.Lines().size() == 5 && s.Lines()[0] == "e3"; }));
    EXPECT_EQ((std::vector<std::string>{"e3", "e0", "e1", "e2", "e4"}), s.Lines());
    EXPECT_FALSE(IsWindowVisible(s.history));
}

TEST_F(HistoryWindowTest, TakingOutWhilePausedAddsTheEntryAgainItself) {
    ASSERT_TRUE(StartWithFive());
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_PAUSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(s.history) == "Zurimo! (一時停止中)"; }));
    ASSERT_TRUE(s.Show());
    SendMessageA(s.list, LB_SETCURSEL, 2, 0);
    ASSERT_TRUE(s.Click(IDC_TAKE_OUT));
    ASSERT_TRUE(WaitUntil([&] { return ClipboardText() == "e2"; }));
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_EQ((std::vector<std::string>{"e2", "e0", "e1", "e3", "e4"}), s.Lines());
}

TEST_F(HistoryWindowTest, AQuotedTakeOutLeavesItsEntryAndUnticksTheBox) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"a\r\nb", "newest"}));
    ASSERT_TRUE(s.Show());
    SendMessageA(s.list, LB_SETCURSEL, 1, 0);
    Check(IDC_QUOTE, true);
    ASSERT_TRUE(s.Click(IDC_TAKE_OUT));
    ASSERT_TRUE(WaitUntil([&] { return ClipboardText() == ">a\r\n>b"; })) << ClipboardText();
    ASSERT_TRUE(WaitForLineCount(s.list, 3));
    EXPECT_EQ((std::vector<std::string>{">a", "newest", "a"}), s.Lines());
    EXPECT_FALSE(Checked(IDC_QUOTE));
}

TEST_F(HistoryWindowTest, DateAndTimeComeOutEvenWithAnEmptyList) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Show());
    Check(IDC_DATE_TIME, true);
    Check(IDC_QUOTE, true);
    char date1[128], time1[64];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, date1, sizeof date1);
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time1, sizeof time1);
    ASSERT_TRUE(s.Click(IDC_TAKE_OUT));
    ASSERT_TRUE(WaitForLineCount(s.list, 1));
    char date2[128], time2[64];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, date2, sizeof date2);
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time2, sizeof time2);
    std::string got = ClipboardText();
    std::string before = std::string(">") + date1 + " " + time1;
    std::string after = std::string(">") + date2 + " " + time2;
    EXPECT_TRUE(got == before || got == after) << got << " | " << before;
    EXPECT_FALSE(Checked(IDC_DATE_TIME));
    EXPECT_FALSE(Checked(IDC_QUOTE));
}

TEST_F(HistoryWindowTest, DeletingTheLastAndTheOnlyEntry) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"last", "only-left", "first"}));
    ASSERT_TRUE(s.Show());
    SendMessageA(s.list, LB_SETCURSEL, 2, 0);
    ASSERT_TRUE(s.Click(IDC_DELETE));
    ASSERT_TRUE(WaitForLineCount(s.list, 2));
    EXPECT_EQ(-1, s.Selection()) << "nothing follows the last entry";
    EXPECT_EQ("first", ControlText(s.preview));

    SendMessageA(s.list, LB_SETCURSEL, 0, 0);
    ASSERT_TRUE(s.Click(IDC_DELETE));
    ASSERT_TRUE(WaitForLineCount(s.list, 1));
    EXPECT_EQ(0, s.Selection()) << "the entry that followed is selected";
    EXPECT_EQ("only-left", ControlText(s.preview));
    ASSERT_TRUE(s.Click(IDC_DELETE));
    ASSERT_TRUE(WaitForLineCount(s.list, 0));
    EXPECT_EQ("", ControlText(s.preview));
}

TEST_F(HistoryWindowTest, CtrlPAndCtrlNMoveTheSelection) {
    ASSERT_TRUE(StartWithFive());
    ASSERT_TRUE(s.Show());
    // Keys are taken in the order they were pressed: from the first entry, only a Ctrl+P
    // that left it selected lets Ctrl+N select the second.
    PressKeys("ctrl+p");
    PressKeys("ctrl+n");
    EXPECT_TRUE(WaitUntil([&] { return s.Selection() == 1; }))
        << "the first entry stays selected, then the next: " << s.Selection();
    EXPECT_TRUE(WaitUntil([&] { return ControlText(s.preview) == "e1"; })) << ControlText(s.preview);
    PressKeys("ctrl+comma");
    EXPECT_TRUE(WaitUntil([&] { return s.Selection() == 0; })) << s.Selection();
    SendMessageA(s.list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    PressKeys("ctrl+n");
    EXPECT_TRUE(WaitUntil([&] { return s.Selection() == 0; }))
        << "with no selection, next selects the first entry: " << s.Selection();
    PressKeys("ctrl+period");
    EXPECT_TRUE(WaitUntil([&] { return s.Selection() == 1; })) << s.Selection();
    ASSERT_TRUE(s.program.CatchUp());  // and the characters the keys made
    EXPECT_EQ(5u, s.Lines().size()) << "Ctrl keys never take anything out by type-ahead";
}

TEST_F(HistoryWindowTest, CtrlPAndCtrlNOnAnEmptyListDoNothing) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Show());
    PressKeys("ctrl+p");
    PressKeys("ctrl+n");
    // F3, taken after them, opens the Find window only from a history window still there.
    PressKeys("f3");
    HWND find = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (find = FindWindowA("#32770", "Zurimo! 検索")) != nullptr; }));
    EXPECT_EQ(-1, s.Selection());
    EXPECT_TRUE(IsWindowVisible(s.history));
    if (find) PostMessageA(find, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(HistoryWindowTest, AssignedKeysTakeOutDeleteAndClose) {
    ASSERT_TRUE(StartWithFive());
    ASSERT_TRUE(s.Show());
    SendMessageA(s.list, LB_SETCURSEL, 1, 0);
    PressKeys("ctrl+d");
    ASSERT_TRUE(WaitForLineCount(s.list, 4));
    EXPECT_EQ((std::vector<std::string>{"e0", "e2", "e3", "e4"}), s.Lines());
    PressKeys("delete");
    ASSERT_TRUE(WaitForLineCount(s.list, 3));
    PressKeys("ctrl+c");  // takes out the selected entry
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.history); }));
    ASSERT_TRUE(WaitForLineCount(s.list, 3));
    EXPECT_EQ("e3", ClipboardText());
    ASSERT_TRUE(s.Show());
    PressKeys("ctrl+q");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.history); }));
}

TEST_F(HistoryWindowTest, CtrlDigitCountsFromTheFirstVisibleEntry) {
    SetDword("Number", 1);
    ASSERT_TRUE(s.Start());
    std::vector<std::string> texts;
    for (int i = 29; i >= 0; --i) texts.push_back("n" + std::to_string(i));
    ASSERT_TRUE(s.Capture(texts));
    ASSERT_TRUE(s.Show());
    SendMessageA(s.list, LB_SETTOPINDEX, 10, 0);
    int top = static_cast<int>(SendMessageA(s.list, LB_GETTOPINDEX, 0, 0));
    PressKeys("ctrl+3");
    std::string expected = "n" + std::to_string(top + 2);
    ASSERT_TRUE(WaitUntil([&] { return ClipboardText() == expected; })) << ClipboardText();
}

TEST_F(HistoryWindowTest, DraggingAnEntryOutGivesTheTextAndTakesItOut) {
    OleInitialization ole;
    ASSERT_TRUE(ole);
    TextDropTarget target;
    ASSERT_TRUE(target.registered);
    ASSERT_TRUE(StartWithFive());
    ASSERT_TRUE(s.Show());
    DragEntry(s.list, 2, target, [] {});
    EXPECT_TRUE(WaitUntil([&] { return target.dropped == "e2"; }, 5000)) << target.dropped;
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), target.allowed) << "copy only";
    ASSERT_TRUE(WaitUntil([&] { return ClipboardText() == "e2"; }));
    ASSERT_TRUE(WaitUntil([&] { return s.Lines().size() == 5 && s.Lines()[0] == "e2"; }));
    EXPECT_EQ((std::vector<std::string>{"e2", "e0", "e1", "e3", "e4"}), s.Lines());
}

TEST_F(HistoryWindowTest, ADragOutOnABusyClipboardPutsTheEntryBack) {
    OleInitialization ole;
    ASSERT_TRUE(ole);
    TextDropTarget target;
    ASSERT_TRUE(StartWithFive());
    ASSERT_TRUE(s.Show());
    // Another program holds the clipboard when the drop comes.
    std::unique_ptr<ClipboardHeld> busy;
    DragEntry(s.list, 1, target, [&] { busy = std::make_unique<ClipboardHeld>(); });
    ASSERT_TRUE(busy && *busy) << "the test could not take the clipboard";
    bool dropped = WaitUntil([&] { return target.dropped == "e1"; }, 5000);
    ASSERT_TRUE(s.program.CatchUp());  // the take-out that follows the drop
    std::vector<std::string> lines = s.Lines();
    int selection = s.Selection();
    busy.reset();
    EXPECT_TRUE(dropped);
    EXPECT_EQ((std::vector<std::string>{"e0", "e1", "e2", "e3", "e4"}), lines);
    EXPECT_EQ(1, selection);
}

TEST_F(HistoryWindowTest, ShowingAgainGivesTheListTheFocusAfterAButtonHadIt) {
    ASSERT_TRUE(StartWithFive());
    ASSERT_TRUE(s.Show());
    RECT button = {};
    GetWindowRect(GetDlgItem(s.history, IDC_QUOTE), &button);  // the quote box: opens no window
    POINT middle = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    MouseTo(middle);
    MouseTo(middle, MOUSEEVENTF_LEFTDOWN);
    MouseTo(middle, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(s.history) == GetDlgItem(s.history, IDC_QUOTE); }, 3000));
    PressKeys("esc");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.history); }));
    ASSERT_TRUE(s.Show()) << "the list has the focus again";
    PressKeys("ctrl+n");
    EXPECT_TRUE(WaitUntil([&] { return s.Selection() == 1; })) << s.Selection();
}

TEST_F(HistoryWindowTest, EnterTakesOutAndEscapeCloses) {
    ASSERT_TRUE(StartWithFive());
    ASSERT_TRUE(s.Show());
    PressKeys("enter");
    ASSERT_TRUE(WaitUntil([&] { return ClipboardText() == "e0"; }));
    EXPECT_FALSE(IsWindowVisible(s.history));
    ASSERT_TRUE(s.Show());
    PressKeys("esc");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.history); }));
    EXPECT_EQ(5u, s.Lines().size());
}

}  // namespace
}  // namespace e2e
