// Loading and saving the history across runs, over files kept in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/saved_history.h"

namespace zurimo {
namespace {

// A saved-history file that answers as it is told and notes what was done to it.
struct FakeFiles : HistoryFiles {
    FileFailure readResult, backUpResult;
    std::vector<HistoryEntry> stored;
    std::vector<std::string> calls;

    FileFailure Read(std::vector<HistoryEntry>* entries) override {
        calls.push_back("read");
        if (!readResult) *entries = stored;
        return readResult;
    }
    FileFailure Write(const HistoryEntries& entries) override {
        calls.push_back("write");
        stored.assign(entries.begin(), entries.end());
        return FileFailure();
    }
    FileFailure BackUp() override {
        calls.push_back("backup");
        return backUpResult;
    }
};

using Calls = std::vector<std::string>;

TEST(SavedHistoryTest, AnUnreadableFileIsKeptAsideBeforeTheFirstSaveOnly) {
    FakeFiles files;
    files.readResult = FileFailure{FileError::kEndOfFile, kUntitledFile};
    SavedHistory saved(files);
    std::vector<HistoryEntry> entries;
    EXPECT_EQ(FileError::kEndOfFile, saved.Load(&entries).error);
    EXPECT_TRUE(entries.empty());

    // The backup fails: nothing is written over the unreadable file, and the next save
    // tries again.
    files.backUpResult = FileFailure{FileError::kAccessDenied, "zurimo.zhd"};
    EXPECT_EQ(FileError::kAccessDenied, saved.Save({"new"}).error);
    files.backUpResult = FileFailure();
    EXPECT_FALSE(saved.Save({"new"}));
    EXPECT_FALSE(saved.Save({"newer"}));
    EXPECT_EQ((Calls{"read", "backup", "backup", "write", "write"}), files.calls);
    EXPECT_EQ(std::vector<HistoryEntry>{"newer"}, files.stored);
}

TEST(SavedHistoryTest, AMissingOrReadableFileIsWrittenOverDirectly) {
    for (FileError error : {FileError::kNone, FileError::kFileNotFound, FileError::kBadPath}) {
        FakeFiles files;
        files.stored = {"a", "b"};
        files.readResult = FileFailure{error, std::string()};
        SavedHistory saved(files);
        std::vector<HistoryEntry> entries;
        EXPECT_EQ(error, saved.Load(&entries).error);
        EXPECT_EQ(error == FileError::kNone ? 2u : 0u, entries.size());
        EXPECT_FALSE(saved.Save({"c"}));
        EXPECT_EQ((Calls{"read", "write"}), files.calls) << static_cast<int>(error);
    }
}

}  // namespace
}  // namespace zurimo
