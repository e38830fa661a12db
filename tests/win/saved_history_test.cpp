// Reading and writing the saved-history file with the real file calls.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/win/win_code_page.h"
#include "base/win/win_text.h"
#include "history/history_file.h"
#include "history/win/saved_history_file.h"

namespace zurimo {
namespace {

std::string TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "zurimo-win-test";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string Contents(const std::string& path) {
    std::string bytes;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        fclose(f);
    }
    return bytes;
}

bool PutFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

class SavedHistoryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = TempFolder() + "\\history.zhd";
        DeleteFileA(path_.c_str());
        DeleteFileA((path_ + ".tmp").c_str());
    }
    std::string path_;
};

TEST_F(SavedHistoryFileTest, PathReplacesTheLastThreeCharactersOfTheProgram) {
    std::string program = ModulePath(nullptr);
    std::string path = SavedHistoryPath();
    ASSERT_EQ(program.size(), path.size());
    EXPECT_EQ(program.substr(0, program.size() - 3) + "zhd", path);
}

TEST_F(SavedHistoryFileTest, WritesAndReadsBackEveryEntry) {
    const std::u16string korean = u"한국어";
    std::vector<HistoryEntry> entries = {"newest", std::string(300, 'x'), "",
                                         "\x83\x5C\x83\x74\x83\x67\r\n2", std::string("a\0b", 3),
                                         HistoryEntry(SystemCodePage().ToAnsi(korean), korean)};
    ASSERT_FALSE(WriteHistoryFile(path_, HistoryEntries(entries.begin(), entries.end())));
    EXPECT_EQ(EncodeHistory(entries), Contents(path_));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path_ + ".tmp").c_str()));

    std::vector<HistoryEntry> loaded = {"stale"};
    ASSERT_FALSE(ReadHistoryFile(path_, &loaded));
    EXPECT_EQ(entries, loaded);
}

TEST_F(SavedHistoryFileTest, ReadsTheWideFormInTheAnsiCodePage) {
    // Two wide entries: "日本" (Shift-JIS 93 FA 96 7B), which fits, and "é", which does not.
    std::string file("\x02\x00" "\xff\xfe\xff" "\x02" "\xe5\x65\x2c\x67" "\xff\xfe\xff" "\x01" "\xe9\x00", 16);
    ASSERT_TRUE(PutFile(path_, file));
    std::vector<HistoryEntry> loaded;
    ASSERT_FALSE(ReadHistoryFile(path_, &loaded));
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(HistoryEntry("\x93\xfa\x96\x7b"), loaded[0]);
    EXPECT_EQ(std::u16string(1, u'\xe9'), loaded[1].wide);
    EXPECT_EQ(SystemCodePage().ToAnsi(loaded[1].wide), loaded[1].text);
}

// What fits code page 932 with the system's own tables: a round trip without best fit.
TEST(SystemCodePageTest, TextFitsOnlyWhenItComesBackUnchanged) {
    const WinCodePage& codePage = SystemCodePage();
    const std::u16string japanese = u"日本語のテキスト ｱｲｳ ①", cafe = u"café ☕ 𠮷野家 한국어";
    EXPECT_TRUE(FitsCodePage(japanese, codePage));
    EXPECT_TRUE(FitsCodePage(u"plain ASCII\r\n", codePage));
    EXPECT_FALSE(FitsCodePage(cafe, codePage));
    EXPECT_FALSE(FitsCodePage(std::u16string(1, u'\u301C'), codePage)) << "wave dash: best fit only";
    EXPECT_FALSE(FitsCodePage(std::u16string(1, u'\u00E9'), codePage)) << "e acute: best fit e";

    // FA 59 reads as a character whose own code is 87 82: it fits, and a captured CF_TEXT
    // keeps its own bytes.
    const std::u16string numero = codePage.ToWide("\xFA\x59");
    ASSERT_EQ(1u, numero.size());
    EXPECT_EQ("\x87\x82", codePage.ToAnsi(numero));
    EXPECT_TRUE(FitsCodePage(numero, codePage));
    EXPECT_EQ(HistoryEntry("\xFA\x59"), CapturedEntry("\xFA\x59", numero, codePage));

    // The program's table of what fits, made from the system's conversions, agrees with the
    // round trip for every unit.
    const TabledCodePage tabled(codePage);
    int differing = 0;
    for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
        const std::u16string one(1, static_cast<char16_t>(unit));
        differing += tabled.Fits(one) != codePage.CodePage::Fits(one);
    }
    EXPECT_EQ(0, differing);
    EXPECT_TRUE(tabled.Fits(japanese));
    EXPECT_FALSE(tabled.Fits(cafe));

    // A text that does not fit keeps its original beside the CF_TEXT as read.
    const std::string cafeAnsi = codePage.ToAnsi(cafe);
    EXPECT_EQ(HistoryEntry(cafeAnsi, cafe), CapturedEntry(cafeAnsi, cafe, codePage));
    EXPECT_EQ(HistoryEntry(cafeAnsi, cafe), EntryFromWide(cafe, codePage));
    EXPECT_EQ(HistoryEntry("\x93\xfa\x96\x7b"), EntryFromWide(u"日本", codePage));
}

TEST_F(SavedHistoryFileTest, FailuresNameTheFileOrTheContents) {
    std::vector<HistoryEntry> loaded = {"stale"};
    FileFailure missing = ReadHistoryFile(path_, &loaded);
    EXPECT_EQ(FileError::kFileNotFound, missing.error);
    EXPECT_EQ(path_, missing.name);
    EXPECT_TRUE(loaded.empty());

    std::string badFolder = TempFolder() + "\\no-such-folder\\history.zhd";
    EXPECT_EQ(FileError::kBadPath, ReadHistoryFile(badFolder, &loaded).error);
    EXPECT_EQ(FileError::kBadPath, WriteHistoryFile(badFolder, {"x"}).error);

    ASSERT_TRUE(PutFile(path_, std::string("\x02\x00\x01" "a", 4)));
    FileFailure cut = ReadHistoryFile(path_, &loaded);
    EXPECT_EQ(FileError::kEndOfFile, cut.error);
    EXPECT_EQ(kUntitledFile, cut.name);
    EXPECT_TRUE(loaded.empty());
}

TEST_F(SavedHistoryFileTest, AFailedSaveLeavesThePreviousFileWhole) {
    ASSERT_FALSE(WriteHistoryFile(path_, {"old one", "old two"}));
    std::string before = Contents(path_);
    // Another program holds the file open without sharing: it cannot be replaced.
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    FileFailure failure = WriteHistoryFile(path_, {"new"});
    CloseHandle(held);
    EXPECT_TRUE(failure);
    EXPECT_EQ(path_, failure.name);
    EXPECT_EQ(before, Contents(path_));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path_ + ".tmp").c_str()));
}

TEST_F(SavedHistoryFileTest, BackUpKeepsTheFileAsBakReplacingAnOlderOne) {
    const std::string backup = path_ + ".bak";
    ASSERT_TRUE(PutFile(backup, "older backup"));
    ASSERT_TRUE(PutFile(path_, std::string("\x05\x00\x01", 3)));
    EXPECT_FALSE(BackUpHistoryFile(path_));
    EXPECT_EQ(std::string("\x05\x00\x01", 3), Contents(backup));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path_.c_str()));
    EXPECT_FALSE(BackUpHistoryFile(path_)) << "a file already gone needs no backup";
    DeleteFileA(backup.c_str());
}

}  // namespace
}  // namespace zurimo
