// The saved history beside the program: loaded at start, written at exit, and what the
// user is told when it cannot be read.
#include <gtest/gtest.h>

#include "harness.h"
#include "resources/resource.h"

namespace e2e {
namespace {

class SavedHistoryTest : public FreshUserTest {
protected:

    // Starts the program and returns the history list box.
    HWND StartAndGetList() {
        if (!program.Start() || !program.WaitForMainWindow()) return nullptr;
        HWND history = program.historyWindow();
        return history ? GetDlgItem(history, IDC_HISTORY_LIST) : nullptr;
    }

    Program program;
};

// Three entries, newest first: a two-line text, Shift-JIS text with a 0x5C trail byte, a tab.
const std::string kThreeEntries = std::string("\x03\x00", 2) +
                                  "\x08" "abc\r\ndef" +
                                  "\x06" "\x83\x5C\x83\x74\x83\x67" +  // ソフト
                                  "\x03" "a\tb";

TEST_F(SavedHistoryTest, FileOnLoadsTheHistoryAndWritesItBackAtExit) {
    SetDword("File", 1);
    ASSERT_TRUE(WriteBytes(HistoryFilePath(), kThreeEntries));
    HWND list = StartAndGetList();
    ASSERT_NE(nullptr, list);
    std::vector<std::string> lines = ListBoxLines(list);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("abc", lines[0]);
    EXPECT_EQ("\x83\x5C\x83\x74\x83\x67", lines[1]);
    EXPECT_EQ("a\tb", lines[2]);

    RemoveFile(HistoryFilePath());
    ASSERT_TRUE(program.Close());
    std::string saved;
    ASSERT_TRUE(ReadBytes(HistoryFilePath(), &saved));
    EXPECT_EQ(Hex(kThreeEntries), Hex(saved));
    std::string leftover;
    EXPECT_FALSE(ReadBytes(HistoryFilePath() + ".tmp", &leftover)) << "no temporary file stays";
}

TEST_F(SavedHistoryTest, ALongerFileLoadsWholeAndIsSavedAtTheHistorySize) {
    SetDword("File", 1);
    SetDword("History", 10);
    std::string file = std::string("\x0c\x00", 2);
    for (int i = 0; i < 12; ++i) file += "\x03" "e" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    ASSERT_TRUE(WriteBytes(HistoryFilePath(), file));
    ASSERT_TRUE(SetClipboardText("now"));
    HWND list = StartAndGetList();
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(WaitForLineCount(list, 13)) << "the twelve loaded, then the clipboard's text";
    std::vector<std::string> lines = ListBoxLines(list);
    EXPECT_EQ("now", lines[0]);
    EXPECT_EQ("e11", lines[12]);

    ASSERT_TRUE(program.Close());
    std::string saved;
    ASSERT_TRUE(ReadBytes(HistoryFilePath(), &saved));
    std::string expected = std::string("\x0a\x00", 2) + "\x03" "now";
    for (int i = 0; i < 9; ++i) expected += "\x03" "e0" + std::to_string(i);
    EXPECT_EQ(Hex(expected), Hex(saved)) << "the ten newest";
}

TEST_F(SavedHistoryTest, FileOffNeitherReadsNorWrites) {
    ASSERT_TRUE(WriteBytes(HistoryFilePath(), kThreeEntries));
    HWND list = StartAndGetList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));
    ASSERT_TRUE(program.Close());
    std::string saved;
    ASSERT_TRUE(ReadBytes(HistoryFilePath(), &saved));
    EXPECT_EQ(Hex(kThreeEntries), Hex(saved));

    RemoveFile(HistoryFilePath());
    Program again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.WaitForMainWindow());
    ASSERT_TRUE(again.Close());
    EXPECT_FALSE(ReadBytes(HistoryFilePath(), &saved)) << "nothing written with File off";
}

TEST_F(SavedHistoryTest, MissingFileIsReportedWithItsFullPathAndAnEmptyListIsSaved) {
    SetDword("File", 1);
    ASSERT_TRUE(program.Start());
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(nullptr, box);
    char full[MAX_PATH];
    GetFullPathNameA(HistoryFilePath().c_str(), MAX_PATH, full, nullptr);
    EXPECT_EQ(std::string(full) + " が見つかりませんでした。", MessageBoxText(box));
    EXPECT_TRUE(GetWindowLongA(box, GWL_STYLE) & WS_VISIBLE);
    DismissMessageBox(box);

    ASSERT_TRUE(program.WaitForMainWindow());
    EXPECT_EQ(0, SendMessageA(GetDlgItem(program.historyWindow(), IDC_HISTORY_LIST), LB_GETCOUNT, 0, 0));
    ASSERT_TRUE(program.Close());
    std::string saved;
    ASSERT_TRUE(ReadBytes(HistoryFilePath(), &saved));
    EXPECT_EQ("00 00", Hex(saved));
}

struct BadFile {
    const char* name;
    std::string bytes;
    const char* message;
};

class UnreadableFileTest : public SavedHistoryTest,
                           public ::testing::WithParamInterface<BadFile> {};

TEST_P(UnreadableFileTest, IsReportedAndTheHistoryStartsEmpty) {
    SetDword("File", 1);
    ASSERT_TRUE(WriteBytes(HistoryFilePath(), GetParam().bytes));
    ASSERT_TRUE(program.Start());
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(GetParam().message, MessageBoxText(box));
    DismissMessageBox(box);
    ASSERT_TRUE(program.WaitForMainWindow());
    EXPECT_EQ(0, SendMessageA(GetDlgItem(program.historyWindow(), IDC_HISTORY_LIST), LB_GETCOUNT, 0, 0));
    EXPECT_TRUE(IsWindow(program.mainWindow())) << "the program carries on";
    ASSERT_TRUE(program.Close());
}

INSTANTIATE_TEST_SUITE_P(
    Contents, UnreadableFileTest,
    ::testing::Values(
        BadFile{"CutInAnEntry", kThreeEntries.substr(0, 12),
                "無題のﾌｧｲﾙ の末尾以降にｱｸｾｽしようとしました。"},
        BadFile{"OnlyOneByte", std::string("\x01", 1),
                "無題のﾌｧｲﾙ の末尾以降にｱｸｾｽしようとしました。"},
        BadFile{"CountBeyondTheFile", std::string("\xff\xff\x00\x00\x00\x01" "\x01" "a", 8),
                "無題のﾌｧｲﾙ の末尾以降にｱｸｾｽしようとしました。"},
        BadFile{"LengthOfGigabytes", std::string("\x01\x00\xff\xff\xff\xff\xff\xff\x7f" "abc", 12),
                "無題のﾌｧｲﾙ の末尾以降にｱｸｾｽしようとしました。"},
        BadFile{"ImpossibleCount", std::string("\xff\xff\xff\xff\xff\xff", 6),
                "ﾒﾓﾘが不足しています。"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
