// Paths and names as the Explorer menu's commands give them: Windows paths, the four Unix
// styles, and the item's own name; each for an ANSI path and for a UTF-16 one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zurimo {

enum class UnixStyle { kStandard, kMinGW, kCygwin, kSfu };

// The style a DriveType value names ("std", "mingw", "cygwin", "sfu", in any case); any
// other text is the standard style.
UnixStyle UnixStyleFrom(std::string_view driveType);

// C:\Work\x.txt as C:/Work/x.txt (standard), /C/Work/x.txt (MinGW), /cygdrive/C/Work/x.txt
// (Cygwin) or /dev/fs/C/Work/x.txt (SFU). Backslashes become slashes and semicolons colons;
// nothing else changes. A network path \\server\share\x keeps its two leading slashes
// behind the style's prefix: //server/share/x, /cygdrive//server/share/x.
std::string ToUnixPath(std::string_view path, UnixStyle style);
std::u16string ToUnixPath(std::u16string_view path, UnixStyle style);

// The text after the last backslash (empty when the path ends in one), or nothing when the
// path has no backslash.
std::optional<std::string> FileNamePart(std::string_view path);
std::optional<std::u16string> FileNamePart(std::u16string_view path);

}  // namespace zurimo
