// Causes of a failed file operation and the texts the user is shown for them.
#pragma once

#include <cstdint>
#include <string>

namespace zurimo {

enum class FileError {
    kNone,
    kGeneric,
    kFileNotFound,
    kBadPath,
    kTooManyOpenFiles,
    kAccessDenied,
    kInvalidFile,  // an invalid file handle
    kDirectoryFull,
    kBadSeek,
    kHardIo,
    kSharingViolation,
    kLockViolation,
    kDiskFull,
    kEndOfFile,    // read past the end, or the contents ended early
    kOutOfMemory,  // also for a count no list can hold
};

// Stands for the file name when the contents, not the file, were at fault.
constexpr char kUntitledFile[] = "無題のﾌｧｲﾙ";

// A failed file operation: its cause and the name the message shows.
struct FileFailure {
    FileError error = FileError::kNone;
    std::string name;  // the file's path, or the untitled name when the contents were at fault
    explicit operator bool() const { return error != FileError::kNone; }
};

// The cause for a Windows error code.
FileError FileErrorFromOsError(std::uint32_t code);

// The message for a cause, with `%1` replaced by `fileName`.
std::string FileErrorMessage(FileError error, const std::string& fileName);

}  // namespace zurimo
