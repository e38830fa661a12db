// Clipboard capture: what another program copies lands at the head of the history.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

class CaptureTest : public FreshUserTest {
protected:
    Session s;
};

TEST_F(CaptureTest, TheSameTextCopiedTwiceStandsTwice) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"abc", "abc"}));
    EXPECT_EQ((std::vector<std::string>{"abc", "abc"}), s.Lines());
}

TEST_F(CaptureTest, AnImageAddsNothing) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(SetClipboardBitmap());
    ASSERT_TRUE(s.program.CatchUp());  // the image has been looked at
    ASSERT_TRUE(s.Capture({"after the image"}));
    EXPECT_EQ((std::vector<std::string>{"after the image"}), s.Lines());
}

TEST_F(CaptureTest, TheTextOnTheClipboardAtStartIsCaptured) {
    ASSERT_TRUE(SetClipboardText("already there"));
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(WaitForLineCount(s.list, 1));
    EXPECT_EQ("already there", s.Lines()[0]);
}

TEST_F(CaptureTest, ShiftJisComesBackByteForByte) {
    // ソフト表示: trail bytes 0x5C that a byte-wise scan would take for backslashes.
    const std::string text = "\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6\r\n2\x8D\x73\x96\xDA";
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({text, "other"}));
    EXPECT_EQ("\x83\x5C\x83\x74\x83\x67\x95\x5C\x8E\xA6", s.Lines()[1]);
    ASSERT_TRUE(s.Show());
    SendMessageA(s.list, LB_SETCURSEL, 1, 0);
    ASSERT_TRUE(s.Click(IDC_TAKE_OUT));
    ASSERT_TRUE(WaitUntil([&] { return ClipboardText() == text; })) << Hex(ClipboardText());
}

TEST_F(CaptureTest, SecretsMarkedByPasswordManagersAreLeftOut) {
    ASSERT_TRUE(s.Start());
    // Each change is read after it happened, so each is read before the next one comes.
    ASSERT_TRUE(SetClipboardText("secret 1", "ExcludeClipboardContentFromMonitorProcessing"));
    ASSERT_TRUE(s.program.CatchUp());
    ASSERT_TRUE(SetClipboardText("secret 2", "Clipboard Viewer Ignore"));
    ASSERT_TRUE(s.program.CatchUp());
    ASSERT_TRUE(SetClipboardText("secret 3", "CanIncludeInClipboardHistory", 0));
    ASSERT_TRUE(s.program.CatchUp());
    ASSERT_TRUE(SetClipboardText("allowed", "CanIncludeInClipboardHistory", 1));
    ASSERT_TRUE(WaitForLineCount(s.list, 1));
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_EQ((std::vector<std::string>{"allowed"}), s.Lines());
}

TEST_F(CaptureTest, WithWordOnEveryOtherCopyOfMsWordIsRead) {
    SetDword("Word", 1);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(CopyFromProgram("WINWORD.EXE", "word 1"));  // skipped
    ASSERT_TRUE(CopyFromProgram("WINWORD.EXE", "word 2"));  // read
    ASSERT_TRUE(WaitForLineCount(s.list, 1));
    ASSERT_TRUE(CopyFromProgram("notepad-like.exe", "other"));  // not Word: read
    ASSERT_TRUE(WaitForLineCount(s.list, 2));
    ASSERT_TRUE(CopyFromProgram("WINWORD.EXE", "word 3"));  // skipped again
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_EQ((std::vector<std::string>{"other", "word 2"}), s.Lines());
    ASSERT_TRUE(CopyFromProgram("WINWORD.EXE", "word 4"));
    ASSERT_TRUE(WaitForLineCount(s.list, 3));
    EXPECT_EQ("word 4", s.Lines()[0]);
}

TEST_F(CaptureTest, PauseLeavesTheChainAndResumeCapturesTheCurrentText) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Capture({"same"}));
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_PAUSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(s.history) == "Zurimo! (一時停止中)"; }))
        << ControlText(s.history);
    ASSERT_TRUE(SetClipboardText("while paused"));
    ASSERT_TRUE(SetClipboardText("same"));
    ASSERT_TRUE(s.program.CatchUp());
    EXPECT_EQ(1u, s.Lines().size()) << "nothing is captured while paused";

    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_PAUSE, 0);
    ASSERT_TRUE(WaitForLineCount(s.list, 2));
    EXPECT_EQ("Zurimo!", ControlText(s.history));
    EXPECT_EQ((std::vector<std::string>{"same", "same"}), s.Lines());
    ASSERT_TRUE(s.Capture({"running again"}));

    // With no change while paused, resuming takes the text read last once more.
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_PAUSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(s.history) == "Zurimo! (一時停止中)"; }));
    PostMessageA(s.program.mainWindow(), WM_COMMAND, ID_PAUSE, 0);
    ASSERT_TRUE(WaitForLineCount(s.list, 4));
    EXPECT_EQ((std::vector<std::string>{"running again", "running again", "same", "same"}),
              s.Lines());
}

TEST_F(CaptureTest, EachClipboardChangeIsRecordedOnceEvenInABurst) {
    SetDword("History", 1000);
    ASSERT_TRUE(s.Start());
    // Copies with no pause between them: each change is recorded at most once, so no text
    // stands twice and none pushes an older entry out as a duplicate.
    ASSERT_TRUE(CopyBurst(250, "burst "));
    ASSERT_TRUE(s.program.CatchUp());
    std::vector<std::string> lines = s.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("burst 249", lines.front());
    EXPECT_EQ(lines.size(), std::set<std::string>(lines.begin(), lines.end()).size())
        << lines.size() << " lines";
    // When the program has handled each copy before the next comes, every one of them
    // arrives, in order.
    const std::size_t before = lines.size();
    ASSERT_TRUE(CopyBurst(100, "paced ", &s.program));
    ASSERT_TRUE(WaitForLineCount(s.list, static_cast<int>(before + 100)));
    lines = s.Lines();
    for (int i = 0; i < 100; ++i) EXPECT_EQ("paced " + std::to_string(99 - i), lines[i]);
}

TEST_F(CaptureTest, AViewerThatHangsDoesNotStopCapture) {
    // A viewer joins the chain before the program and then stops answering.
    HANDLE joined = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        HWND viewer = CreateWindowA("STATIC", "hung viewer", 0, 0, 0, 0, 0, nullptr,
                                    nullptr, nullptr, nullptr);
        HWND next = SetClipboardViewer(viewer);
        HandlePendingMessages();  // the notice of joining, then no more
        SetEvent(joined);
        WaitForSingleObject(release, 20000);  // no messages handled meanwhile
        ChangeClipboardChain(viewer, next);
        DestroyWindow(viewer);
    });
    WaitForSingleObject(joined, 5000);
    bool started = s.Start();
    bool captured = started && SetClipboardText("through") && WaitForLineCount(s.list, 1, 6000);
    SetEvent(release);
    hung.join();
    CloseHandle(joined);
    CloseHandle(release);
    ASSERT_TRUE(started);
    EXPECT_TRUE(captured);
}

}  // namespace
}  // namespace e2e
