#include "shellext/commands.h"

#include <string_view>
#include <vector>

#include "shellext/path_format.h"
#include "shellext/properties.h"
#include "shellext/shell_menu.h"
#include "shellext/shell_settings.h"
#include "shellext/url_format.h"

namespace zurimo {
namespace {

using Text = std::optional<std::string>;

// One item's text for a path or name command; nothing when the item has none.
Text PathText(int offset, const std::string& path, ShellFacts& facts, UnixStyle style) {
    switch (offset) {
    case kCopyLongPath: return path;
    case kCopyLongPathUnix: return ToUnixPath(path, style);
    case kCopyLongName: return FileNamePart(path);
    default: break;
    }
    Text shortPath = facts.ShortPath(path);
    if (!shortPath) return std::nullopt;
    if (offset == kCopyShortPathUnix) return ToUnixPath(*shortPath, style);
    if (offset == kCopyShortName) return FileNamePart(*shortPath);
    return shortPath;
}

Text UrlText(UrlForm form, const std::string& path, ShellFacts& facts) {
    Text file = facts.ReadSmallFile(path, kShortcutFileLimit);
    Text address = file ? ShortcutUrl(*file) : std::nullopt;
    if (!address) return std::nullopt;
    return FormatUrl(form, ShortcutName(path), *address);
}

// One text for one item; for several, the texts of those that have one, each followed by
// CR LF (`header` first), also when none has one.
template <typename ItemText>
Text OverSelection(const Selection& selection, ItemText itemText, const char* header = "") {
    if (selection.count() == 1) {
        Text text = itemText(std::string(selection.list()));
        if (text && *header) return header + *text;
        return text;
    }
    std::string all = header;
    for (std::string_view entry : selection.Entries()) {
        if (Text text = itemText(std::string(entry))) all += *text;
    }
    return all;
}

Text WithLineEnd(Text text) {
    if (text) *text += "\r\n";
    return text;
}

}  // namespace

Text CommandText(int offset, const Selection& selection, ShellFacts& facts, Registry& registry) {
    if (offset >= kUserStringOffset) return ReadUserContent(registry, offset - kUserStringOffset);
    if (selection.count() == 0 || selection.list().empty()) {
        // No path: only the long path command answers, with the empty list.
        return offset == kCopyLongPath ? Text(selection.list()) : std::nullopt;
    }
    switch (offset) {
    case kCopyLongPath: return selection.list();  // already one path, or lines with CR LF
    case kCopyLongPathUnix:
    case kCopyShortPath:
    case kCopyShortPathUnix:
    case kCopyLongName:
    case kCopyShortName: {
        UnixStyle style = ReadUnixStyle(registry);
        bool several = selection.count() != 1;
        return OverSelection(selection, [&](const std::string& path) {
            Text text = PathText(offset, path, facts, style);
            return several ? WithLineEnd(text) : text;
        });
    }
    case kCopyPropertiesDetailed:
        return OverSelection(selection, [&](const std::string& path) { return DetailedText(path, facts); });
    case kCopyPropertiesSimple:
        return OverSelection(
            selection, [&](const std::string& path) { return SimpleLine(path, facts); }, kSimpleHeader);
    case kCopyUrl:
    case kCopyUrlWithName:
    case kCopyUrlAnchor: {
        auto form = static_cast<UrlForm>(offset - kCopyUrl);
        bool several = selection.count() != 1;
        return OverSelection(selection, [&](const std::string& path) -> Text {
            if (several && !IsUrlPath(path)) return std::nullopt;
            Text text = UrlText(form, path, facts);
            return several ? WithLineEnd(text) : text;
        });
    }
    }
    return std::nullopt;
}

}  // namespace zurimo
