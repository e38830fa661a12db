#include "history/win/saved_history_file.h"

#include <windows.h>

#include <new>

#include "base/win/handles.h"
#include "base/win/program.h"
#include "history/win/program_code_page.h"
#include "base/win/win_text.h"
#include "history/history_file.h"

namespace zurimo {
namespace {

FileFailure Failure(FileError error, const std::string& name) {
    FileFailure failure;
    failure.error = error;
    failure.name = name;
    return failure;
}

FileFailure LastError(const std::string& path) {
    return Failure(FileErrorFromOsError(GetLastError()), path);
}

// Writes into an open file and keeps the error of the first failed write.
class FileSink : public ByteSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool Write(const char* data, std::size_t size) override {
        DWORD written = 0;
        if (!WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr)) {
            error_ = GetLastError();
            return false;
        }
        if (written != size) {
            error_ = ERROR_DISK_FULL;
            return false;
        }
        return true;
    }
    DWORD error() const { return error_; }

private:
    HANDLE file_;
    DWORD error_ = 0;
};

}  // namespace

std::string SavedHistoryPath() {
    std::string path = ModulePath(nullptr);
    if (path.size() < 3) return std::string();
    path.replace(path.size() - 3, 3, "zhd");
    return path;
}

FileFailure ReadHistoryFile(const std::string& path, std::vector<HistoryEntry>* entries) {
    entries->clear();
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError(path);

    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size)) return LastError(path);
    if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX / 2) {
        return Failure(FileError::kOutOfMemory, std::string());
    }
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return Failure(FileError::kOutOfMemory, std::string());
    }
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(bytes.size() - got > (1u << 24) ? (1u << 24)
                                                                          : bytes.size() - got);
        DWORD read = 0;
        if (!ReadFile(file.get(), &bytes[got], chunk, &read, nullptr)) return LastError(path);
        if (read == 0) break;  // the file became shorter while it was read
        got += read;
    }
    bytes.resize(got);

    DecodedHistory decoded = DecodeHistory(bytes, ProgramCodePage());
    if (decoded.error != FileError::kNone) {
        return Failure(decoded.error,
                       decoded.error == FileError::kEndOfFile ? kUntitledFile : std::string());
    }
    *entries = std::move(decoded.entries);
    return FileFailure();
}

namespace {

FileFailure WriteAndReplace(const std::string& path, const std::string& temporary,
                            const HistoryEntries& entries) {
    {
        UniqueFile file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return LastError(path);
        FileSink sink(file.get());
        bool written = WriteHistory(entries, sink);
        if (written && !FlushFileBuffers(file.get())) {
            written = false;
        }
        if (!written) {
            DWORD error = sink.error() ? sink.error() : GetLastError();
            file.reset();
            DeleteFileA(temporary.c_str());
            return Failure(FileErrorFromOsError(error), path);
        }
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FileFailure failure = LastError(path);
        DeleteFileA(temporary.c_str());
        return failure;
    }
    return FileFailure();
}

}  // namespace

FileFailure WriteHistoryFile(const std::string& path, const HistoryEntries& entries) {
    const std::string temporary = path + ".tmp";
    try {
        return WriteAndReplace(path, temporary, entries);
    } catch (...) {
        DeleteFileA(temporary.c_str());  // memory ran out: no half-written file stays
        throw;
    }
}

FileFailure BackUpHistoryFile(const std::string& path) {
    const std::string backup = path + ".bak";
    if (MoveFileExA(path.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return FileFailure();
    }
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return FileFailure();  // gone meanwhile: nothing to keep
    return Failure(FileErrorFromOsError(error), path);
}

FileFailure SavedHistoryFile::Read(std::vector<HistoryEntry>* entries) {
    return ReadHistoryFile(path_, entries);
}

FileFailure SavedHistoryFile::Write(const HistoryEntries& entries) {
    return WriteHistoryFile(path_, entries);
}

FileFailure SavedHistoryFile::BackUp() { return BackUpHistoryFile(path_); }

void ReportFileFailure(const FileFailure& failure) {
    std::string text = FileErrorMessage(failure.error, failure.name);
    ShowMessage(nullptr, text, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace zurimo
