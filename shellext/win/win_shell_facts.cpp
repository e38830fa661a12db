#include "shellext/win/win_shell_facts.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "base/win/file_version_info.h"
#include "base/win/handles.h"
#include "base/win/win_code_page.h"
#include "base/win/win_text.h"

namespace zurimo {
namespace {

constexpr std::size_t kVersionCapacity = 260;
constexpr UINT kShellInfoFlags = SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES;

// The ANSI and the wide calls, so that one template serves both kinds of path.
struct AnsiCalls {
    using Text = std::string;
    using FindData = WIN32_FIND_DATAA;
    using ShellInfo = SHFILEINFOA;
    static DWORD ShortName(const Text& path, Text::value_type* buffer, DWORD size) {
        return GetShortPathNameA(path.c_str(), buffer, size);
    }
    static HANDLE FindFirst(const Text& path, FindData* entry) {
        return FindFirstFileA(path.c_str(), entry);
    }
    static DWORD_PTR Describe(const Text& path, ShellInfo* shell) {
        return SHGetFileInfoA(path.c_str(), 0, shell, sizeof *shell, kShellInfoFlags);
    }
    static HANDLE Open(const Text& path) {
        return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static Text From(const char* text) { return text; }
};

struct WideCalls {
    using Text = std::u16string;
    using FindData = WIN32_FIND_DATAW;
    using ShellInfo = SHFILEINFOW;
    static DWORD ShortName(const Text& path, Text::value_type* buffer, DWORD size) {
        return GetShortPathNameW(WidePtr(path), reinterpret_cast<wchar_t*>(buffer), size);
    }
    static HANDLE FindFirst(const Text& path, FindData* entry) {
        return FindFirstFileW(WidePtr(path), entry);
    }
    static DWORD_PTR Describe(const Text& path, ShellInfo* shell) {
        return SHGetFileInfoW(WidePtr(path), 0, shell, sizeof *shell, kShellInfoFlags);
    }
    static HANDLE Open(const Text& path) {
        return CreateFileW(WidePtr(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    static Text From(const wchar_t* text) { return Text(WideView(text, std::wcslen(text))); }
};

std::uint64_t Join(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool LocalTime(std::uint64_t fileTime, SYSTEMTIME* local) {
    FILETIME utc = {static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    FILETIME localFile = {};
    return FileTimeToLocalFileTime(&utc, &localFile) && FileTimeToSystemTime(&localFile, local);
}

// A date or time formatted in a buffer of the size the system asks for.
template <typename Format>
std::optional<std::string> Formatted(Format format) {
    std::string text;
    DWORD error = 0;
    if (!FormatInSizedBuffer(format, &text, &error)) return std::nullopt;
    return text;
}

template <typename Calls>
std::optional<typename Calls::Text> ShortPathOf(const typename Calls::Text& path) {
    DWORD size = Calls::ShortName(path, nullptr, 0);
    if (size == 0) return std::nullopt;
    typename Calls::Text shortPath(size, '\0');
    DWORD length = Calls::ShortName(path, &shortPath[0], size);
    if (length == 0 || length >= size) return std::nullopt;
    shortPath.resize(length);
    return shortPath;
}

// The ANSI path the version functions are given: the path itself, or for a UTF-16 path its
// exact ANSI form, else the ANSI form of its short path; nothing when neither fits.
std::optional<std::string> VersionPath(const std::string& path) { return path; }

std::optional<std::string> VersionPath(const std::u16string& path) {
    bool fits = false;
    std::string ansi = AnsiOf(path, SystemCodePage(), &fits);
    if (fits) return ansi;
    std::optional<std::u16string> shortPath = ShortPathOf<WideCalls>(path);
    if (shortPath) ansi = AnsiOf(*shortPath, SystemCodePage(), &fits);
    return fits ? std::optional<std::string>(ansi) : std::nullopt;
}

template <typename Calls>
std::optional<BasicItemFacts<typename Calls::Text>> GatherOf(const typename Calls::Text& path) {
    typename Calls::FindData entry = {};
    UniqueFind find(Calls::FindFirst(path, &entry));
    if (!find) return std::nullopt;
    find.reset();
    typename Calls::ShellInfo shell = {};
    if (!Calls::Describe(path, &shell) || shell.dwAttributes == 0) return std::nullopt;
    BasicItemFacts<typename Calls::Text> item;
    item.attributes = entry.dwFileAttributes;
    item.created = Join(entry.ftCreationTime);
    item.accessed = Join(entry.ftLastAccessTime);
    item.written = Join(entry.ftLastWriteTime);
    item.sizeHigh = entry.nFileSizeHigh;
    item.sizeLow = entry.nFileSizeLow;
    item.alternateName = Calls::From(entry.cAlternateFileName);
    item.displayName = Calls::From(shell.szDisplayName);
    item.typeName = Calls::From(shell.szTypeName);
    item.shellAttributes = shell.dwAttributes;
    if (!(item.shellAttributes & kShellFolder)) {
        std::optional<std::string> versionPath = VersionPath(path);
        FileVersionInfo version;
        if (versionPath && version.Load(*versionPath, true)) {
            item.version = version.QueryString("FileVersion", kVersionCapacity);
            if (item.version) item.copyright = version.QueryString("LegalCopyright", kVersionCapacity);
        }
    }
    return item;
}

template <typename Calls>
std::optional<std::string> ReadSmallFileOf(const typename Calls::Text& path, std::size_t limit) {
    UniqueFile file(Calls::Open(path));
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

}  // namespace

std::optional<std::string> WinShellFacts::ShortPath(const std::string& path) {
    return ShortPathOf<AnsiCalls>(path);
}

std::optional<std::u16string> WinShellFacts::ShortPath(const std::u16string& path) {
    return ShortPathOf<WideCalls>(path);
}

std::optional<ItemFacts> WinShellFacts::Gather(const std::string& path) {
    return GatherOf<AnsiCalls>(path);
}

std::optional<WideItemFacts> WinShellFacts::Gather(const std::u16string& path) {
    return GatherOf<WideCalls>(path);
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

std::u16string WinShellFacts::UpperCase(const std::u16string& text) {
    std::u16string upper = text;
    if (!upper.empty()) {
        CharUpperBuffW(reinterpret_cast<wchar_t*>(&upper[0]), static_cast<DWORD>(upper.size()));
    }
    return upper;
}

std::optional<std::string> WinShellFacts::ReadSmallFile(const std::string& path,
                                                        std::size_t limit) {
    return ReadSmallFileOf<AnsiCalls>(path, limit);
}

std::optional<std::string> WinShellFacts::ReadSmallFile(const std::u16string& path,
                                                        std::size_t limit) {
    return ReadSmallFileOf<WideCalls>(path, limit);
}

}  // namespace zurimo
