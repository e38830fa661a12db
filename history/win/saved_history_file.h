// The saved-history file beside the program: its name, reading and writing it with the
// Windows file calls, and telling the user when that fails.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "history/file_error.h"
#include "history/saved_history.h"

namespace zurimo {

// The program's path with its last three characters replaced by "zhd"; empty when the
// program's path cannot be had.
std::string SavedHistoryPath();

// The file at one path, with its backup beside it as path.bak.
class SavedHistoryFile : public HistoryFiles {
public:
    explicit SavedHistoryFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    FileFailure Read(std::vector<HistoryEntry>* entries) override;
    FileFailure Write(const HistoryEntries& entries) override;
    FileFailure BackUp() override;

private:
    std::string path_;
};

// Reads the whole file; on failure `entries` is left empty.
FileFailure ReadHistoryFile(const std::string& path, std::vector<HistoryEntry>* entries);

// Writes a new file beside `path` and puts it in place only once it is complete, so that a
// failed save leaves the previous history as it was.
FileFailure WriteHistoryFile(const std::string& path, const HistoryEntries& entries);

// Keeps the file at `path` as `path`.bak, replacing an older backup.
FileFailure BackUpHistoryFile(const std::string& path);

// The message box for a failure: exclamation icon, OK, caption "Zurimo!".
void ReportFileFailure(const FileFailure& failure);

}  // namespace zurimo
