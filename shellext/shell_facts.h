// What the Explorer menu's commands learn from the system about an item: its short path,
// its directory entry and shell description, its version strings, dates and times in the
// user's format, and the start of a file. An item is named by its ANSI path or, for the
// CF_UNICODETEXT of a selection the code page cannot hold, by its UTF-16 path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zurimo {

// File attributes and the shell's folder bit, as the system gives them.
constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeSystem = 0x4;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeArchive = 0x20;
constexpr std::uint32_t kAttributeCompressed = 0x800;
constexpr std::uint32_t kShellFolder = 0x20000000;

// The names come in the kind of text the item was named by; the version strings are always
// in the code page.
template <typename Text>
struct BasicItemFacts {
    std::uint32_t attributes = 0;
    std::uint64_t created = 0, accessed = 0, written = 0;  // UTC file times
    std::uint32_t sizeHigh = 0, sizeLow = 0;
    Text alternateName;  // the 8.3 name; empty when the name is one already
    Text displayName;    // as Explorer shows it
    Text typeName;
    std::uint32_t shellAttributes = 0;
    std::optional<std::string> version;    // "FileVersion" of a file's version resource
    std::optional<std::string> copyright;  // "LegalCopyright", read only with a version
};
using ItemFacts = BasicItemFacts<std::string>;
using WideItemFacts = BasicItemFacts<std::u16string>;

class ShellFacts {
public:
    virtual ~ShellFacts() = default;
    // The file system's short (8.3) form of a path; nothing when there is none.
    virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
    virtual std::optional<std::u16string> ShortPath(const std::u16string& path) = 0;
    // The facts of an item; nothing when its directory entry or shell description cannot be
    // had.
    virtual std::optional<ItemFacts> Gather(const std::string& path) = 0;
    virtual std::optional<WideItemFacts> Gather(const std::u16string& path) = 0;
    // A UTC file time in the user's local date (long or short form) or time format.
    virtual std::optional<std::string> FormatDate(std::uint64_t fileTime, bool longForm) = 0;
    virtual std::optional<std::string> FormatTime(std::uint64_t fileTime) = 0;
    // Upper case in the user's locale; double-byte characters are never split.
    virtual std::string UpperCase(const std::string& text) = 0;
    virtual std::u16string UpperCase(const std::u16string& text) = 0;
    // The whole file when it has at most `limit` bytes; nothing when it is longer or
    // cannot be read.
    virtual std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit) = 0;
    virtual std::optional<std::string> ReadSmallFile(const std::u16string& path,
                                                     std::size_t limit) = 0;
};

}  // namespace zurimo
