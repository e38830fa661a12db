#include "shellext/path_format.h"

#include "base/text.h"

namespace zurimo {
namespace {

const char* Prefix(UnixStyle style) {
    switch (style) {
    case UnixStyle::kCygwin: return "/cygdrive";
    case UnixStyle::kSfu: return "/dev/fs";
    default: return "";
    }
}

}  // namespace

UnixStyle UnixStyleFrom(std::string_view driveType) {
    if (EqualsIgnoringAsciiCase(driveType, "mingw")) return UnixStyle::kMinGW;
    if (EqualsIgnoringAsciiCase(driveType, "cygwin")) return UnixStyle::kCygwin;
    if (EqualsIgnoringAsciiCase(driveType, "sfu")) return UnixStyle::kSfu;
    return UnixStyle::kStandard;
}

std::string ToUnixPath(std::string_view path, UnixStyle style) {
    std::string out;
    std::string_view rest = path;
    if (style != UnixStyle::kStandard) {
        out = Prefix(style);
        // A network path's two backslashes become the "//" behind the prefix.
        bool network = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
        if (!network && !path.empty()) {
            out += '/';
            std::size_t letter = CharLength(path, 0);
            out += path.substr(0, letter);
            rest.remove_prefix(letter);
            if (!rest.empty() && rest[0] == ':') rest.remove_prefix(1);
        }
    }
    out.reserve(out.size() + rest.size());
    for (std::size_t i = 0; i < rest.size();) {
        std::size_t length = CharLength(rest, i);
        char c = rest[i];
        if (length == 1 && c == '\\') {
            out += '/';
        } else if (length == 1 && c == ';') {
            out += ':';
        } else {
            out.append(rest, i, length);
        }
        i += length;
    }
    return out;
}

std::optional<std::string> FileNamePart(std::string_view path) {
    std::size_t slash = FindLastChar(path, '\\');
    if (slash == std::string_view::npos) return std::nullopt;
    return std::string(path.substr(slash + 1));
}

}  // namespace zurimo
