// Keeping the history across runs: read at start, written at exit. A saved file that is
// there but cannot be read is kept aside as a backup before the first save writes a new
// one, so that a damaged history is never lost without a trace.
#pragma once

#include <string>
#include <vector>

#include "history/file_error.h"
#include "history/history_list.h"

namespace zurimo {

// The saved-history file of one place: the Windows build reads and writes a real file.
class HistoryFiles {
public:
    virtual ~HistoryFiles() = default;
    // Reads the whole file; on failure `entries` is left empty.
    virtual FileFailure Read(std::vector<HistoryEntry>* entries) = 0;
    // Replaces the file only once the new one is complete.
    virtual FileFailure Write(const HistoryEntries& entries) = 0;
    // Keeps the file as its backup, replacing an older backup; a missing file is no failure.
    virtual FileFailure BackUp() = 0;
};

class SavedHistory {
public:
    explicit SavedHistory(HistoryFiles& files) : files_(files) {}

    // The saved entries, or the failure to report (a missing file among them).
    FileFailure Load(std::vector<HistoryEntry>* entries);
    // Writes the entries, first keeping an unreadable file aside; when that fails nothing
    // is written and the failure is returned.
    FileFailure Save(const HistoryEntries& entries);

private:
    HistoryFiles& files_;
    bool keepUnreadableFile_ = false;
};

}  // namespace zurimo
