#include "shellext/win/win_shell_facts.h"

#include <windows.h>
#include <shellapi.h>

#include "base/win/handles.h"
#include "base/win/file_version_info.h"

namespace zurimo {
namespace {

constexpr std::size_t kVersionCapacity = 260;

std::uint64_t Join(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool LocalTime(std::uint64_t fileTime, SYSTEMTIME* local) {
    FILETIME utc = {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    FILETIME localFile = {};
    return FileTimeToLocalFileTime(&utc, &localFile) && FileTimeToSystemTime(&localFile, local);
}

// Asks for the size first, then formats into a buffer of that size.
template <typename Format>
std::optional<std::string> Formatted(Format format) {
    int size = format(nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    int written = format(&text[0], size);
    if (written <= 0) return std::nullopt;
    text.resize(static_cast<std::size_t>(written - 1));
    return text;
}

}  // namespace

std::optional<std::string> WinShellFacts::ShortPath(const std::string& path) {
    DWORD size = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::string shortPath(size, '\0');
    DWORD length = GetShortPathNameA(path.c_str(), &shortPath[0], size);
    if (length == 0 || length >= size) return std::nullopt;
    shortPath.resize(length);
    return shortPath;
}

std::optional<ItemFacts> WinShellFacts::Gather(const std::string& path) {
    WIN32_FIND_DATAA entry = {};
    UniqueFind find(FindFirstFileA(path.c_str(), &entry));
    if (!find) return std::nullopt;
    find.reset();
    SHFILEINFOA shell = {};
    if (!SHGetFileInfoA(path.c_str(), 0, &shell, sizeof shell,
                        SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES) ||
        shell.dwAttributes == 0) {
        return std::nullopt;
    }
    ItemFacts item;
    item.attributes = entry.dwFileAttributes;
    item.created = Join(entry.ftCreationTime);
    item.accessed = Join(entry.ftLastAccessTime);
    item.written = Join(entry.ftLastWriteTime);
    item.sizeHigh = entry.nFileSizeHigh;
    item.sizeLow = entry.nFileSizeLow;
    item.alternateName = entry.cAlternateFileName;
    item.displayName = shell.szDisplayName;
    item.typeName = shell.szTypeName;
    item.shellAttributes = shell.dwAttributes;
    if (!(item.shellAttributes & kShellFolder)) {
        FileVersionInfo version;
        if (version.Load(path, true)) {
            item.version = version.QueryString("FileVersion", kVersionCapacity);
            if (item.version) item.copyright = version.QueryString("LegalCopyright", kVersionCapacity);
        }
    }
    return item;
}

std::optional<std::string> WinShellFacts::FormatDate(std::uint64_t fileTime, bool longForm) {
    SYSTEMTIME local = {};
    if (!LocalTime(fileTime, &local)) return std::nullopt;
    DWORD flags = longForm ? DATE_LONGDATE : DATE_SHORTDATE;
    return Formatted([&](char* buffer, int size) {
        return GetDateFormatA(LOCALE_USER_DEFAULT, flags, &local, nullptr, buffer, size);
    });
}

std::optional<std::string> WinShellFacts::FormatTime(std::uint64_t fileTime) {
    SYSTEMTIME local = {};
    if (!LocalTime(fileTime, &local)) return std::nullopt;
    return Formatted([&](char* buffer, int size) {
        return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, buffer, size);
    });
}

std::string WinShellFacts::UpperCase(const std::string& text) {
    std::string upper = text;
    if (!upper.empty()) CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    return upper;
}

std::optional<std::string> WinShellFacts::ReadSmallFile(const std::string& path,
                                                        std::size_t limit) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > limit) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(read);
    return bytes;
}

}  // namespace zurimo
