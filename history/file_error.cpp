#include "history/file_error.h"

#include "base/product.h"

namespace zurimo {

FileError FileErrorFromOsError(std::uint32_t code) {
    switch (code) {
    case 0: return FileError::kNone;
    case 2:     // ERROR_FILE_NOT_FOUND
    case 6:     // ERROR_INVALID_HANDLE
    case 18:    // ERROR_NO_MORE_FILES
        return FileError::kFileNotFound;
    case 3:     // ERROR_PATH_NOT_FOUND
    case 15:    // ERROR_INVALID_DRIVE
    case 17:    // ERROR_NOT_SAME_DEVICE
    case 53:    // ERROR_BAD_NETPATH
    case 67:    // ERROR_BAD_NET_NAME
    case 123:   // ERROR_INVALID_NAME
    case 161:   // ERROR_BAD_PATHNAME
    case 206:   // ERROR_FILENAME_EXCED_RANGE
    case 267:   // ERROR_DIRECTORY
        return FileError::kBadPath;
    case 4:     // ERROR_TOO_MANY_OPEN_FILES
    case 36:    // ERROR_SHARING_BUFFER_EXCEEDED
        return FileError::kTooManyOpenFiles;
    case 5:     // ERROR_ACCESS_DENIED
    case 12:    // ERROR_INVALID_ACCESS
    case 19:    // ERROR_WRITE_PROTECT
    case 29:    // ERROR_WRITE_FAULT
    case 80:    // ERROR_FILE_EXISTS
    case 82:    // ERROR_CANNOT_MAKE
    case 170:   // ERROR_BUSY
    case 183:   // ERROR_ALREADY_EXISTS
        return FileError::kAccessDenied;
    case 11:    // ERROR_BAD_FORMAT
    case 26:    // ERROR_NOT_DOS_DISK
    case 114:   // ERROR_INVALID_TARGET_HANDLE
        return FileError::kInvalidFile;
    case 113:   // ERROR_NO_MORE_SEARCH_HANDLES
        return FileError::kTooManyOpenFiles;
    case 62:    // ERROR_NO_SPOOL_SPACE
        return FileError::kDirectoryFull;
    case 24:    // ERROR_BAD_LENGTH
    case 25:    // ERROR_SEEK
    case 27:    // ERROR_SECTOR_NOT_FOUND
    case 30:    // ERROR_READ_FAULT
    case 131:   // ERROR_NEGATIVE_SEEK
    case 132:   // ERROR_SEEK_ON_DEVICE
        return FileError::kBadSeek;
    case 20:    // ERROR_BAD_UNIT
    case 21:    // ERROR_NOT_READY
    case 22:    // ERROR_BAD_COMMAND
    case 23:    // ERROR_CRC
    case 995:   // ERROR_OPERATION_ABORTED
    case 1117:  // ERROR_IO_DEVICE
        return FileError::kHardIo;
    case 32:    // ERROR_SHARING_VIOLATION
        return FileError::kSharingViolation;
    case 33:    // ERROR_LOCK_VIOLATION
    case 167:   // ERROR_LOCK_FAILED
        return FileError::kLockViolation;
    case 38:    // ERROR_HANDLE_EOF
        return FileError::kEndOfFile;
    case 39:    // ERROR_HANDLE_DISK_FULL
    case 112:   // ERROR_DISK_FULL
        return FileError::kDiskFull;
    case 8:     // ERROR_NOT_ENOUGH_MEMORY
    case 14:    // ERROR_OUTOFMEMORY
        return FileError::kOutOfMemory;
    default:
        return FileError::kGeneric;
    }
}

std::string FileErrorMessage(FileError error, const std::string& fileName) {
    const char* text = "%1 へのｱｸｾｽ中に不明なｴﾗｰが発生しました。";
    switch (error) {
    case FileError::kNone:
    case FileError::kGeneric: break;
    case FileError::kFileNotFound: text = "%1 が見つかりませんでした。"; break;
    case FileError::kBadPath: text = "%1 には無効なﾊﾟｽが含まれています。"; break;
    case FileError::kTooManyOpenFiles:
        text = "開いているﾌｧｲﾙが多すぎるため、%1 を開けませんでした。";
        break;
    case FileError::kAccessDenied: text = "%1 へのｱｸｾｽは拒否されました。"; break;
    case FileError::kInvalidFile: text = "%1 へ無効なﾌｧｲﾙ ﾊﾝﾄﾞﾙが関連付けられていました。"; break;
    case FileError::kDirectoryFull:
        text = "%1 を作成できませんでした。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。";
        break;
    case FileError::kBadSeek: text = "%1 のｼｰｸに失敗しました。"; break;
    case FileError::kHardIo: text = "%1 へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"; break;
    case FileError::kSharingViolation: text = "%1 へのｱｸｾｽ中に共有違反が発生しました。"; break;
    case FileError::kLockViolation: text = "%1 へのｱｸｾｽ中にﾛｯｸ違反が発生しました。"; break;
    case FileError::kDiskFull: text = "%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"; break;
    case FileError::kEndOfFile: text = "%1 の末尾以降にｱｸｾｽしようとしました。"; break;
    case FileError::kOutOfMemory: text = kOutOfMemoryText; break;
    }
    std::string message = text;
    std::string::size_type at = message.find("%1");
    if (at != std::string::npos) message.replace(at, 2, fileName);
    return message;
}

}  // namespace zurimo
