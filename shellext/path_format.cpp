#include "shellext/path_format.h"

#include "shellext/wide_text.h"

namespace zurimo {
namespace {

const char* Prefix(UnixStyle style) {
    switch (style) {
    case UnixStyle::kCygwin: return "/cygdrive";
    case UnixStyle::kSfu: return "/dev/fs";
    default: return "";
    }
}

template <typename Char>
std::basic_string<Char> UnixPathOf(std::basic_string_view<Char> path, UnixStyle style) {
    using Text = std::basic_string<Char>;
    Text out;
    std::basic_string_view<Char> rest = path;
    if (style != UnixStyle::kStandard) {
        out = Ascii<Text>(Prefix(style));
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
        Char c = rest[i];
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

template <typename Char>
std::optional<std::basic_string<Char>> NamePartOf(std::basic_string_view<Char> path) {
    std::size_t slash = FindLastChar(path, '\\');
    if (slash == std::basic_string_view<Char>::npos) return std::nullopt;
    return std::basic_string<Char>(path.substr(slash + 1));
}

}  // namespace

UnixStyle UnixStyleFrom(std::string_view driveType) {
    if (EqualsIgnoringAsciiCase(driveType, "mingw")) return UnixStyle::kMinGW;
    if (EqualsIgnoringAsciiCase(driveType, "cygwin")) return UnixStyle::kCygwin;
    if (EqualsIgnoringAsciiCase(driveType, "sfu")) return UnixStyle::kSfu;
    return UnixStyle::kStandard;
}

std::string ToUnixPath(std::string_view path, UnixStyle style) { return UnixPathOf(path, style); }

std::u16string ToUnixPath(std::u16string_view path, UnixStyle style) {
    return UnixPathOf(path, style);
}

std::optional<std::string> FileNamePart(std::string_view path) { return NamePartOf(path); }

std::optional<std::u16string> FileNamePart(std::u16string_view path) { return NamePartOf(path); }

}  // namespace zurimo
