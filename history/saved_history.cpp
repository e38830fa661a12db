#include "history/saved_history.h"

namespace zurimo {

FileFailure SavedHistory::Load(std::vector<HistoryEntry>* entries) {
    FileFailure failure = files_.Read(entries);
    keepUnreadableFile_ = failure && failure.error != FileError::kFileNotFound &&
                          failure.error != FileError::kBadPath;
    return failure;
}

FileFailure SavedHistory::Save(const HistoryEntries& entries) {
    if (keepUnreadableFile_) {
        if (FileFailure failure = files_.BackUp()) return failure;
        keepUnreadableFile_ = false;
    }
    return files_.Write(entries);
}

}  // namespace zurimo
