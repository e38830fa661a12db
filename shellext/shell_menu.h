// The "Zurimo!" popup of the Explorer menu as data: which commands it offers for the
// selection, with which captions, in the flat or the grouped layout, and the user strings
// after them. A command's identifier is the first one Explorer grants plus its offset.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shellext/selection.h"

namespace zurimo {

// The command offsets; user string k has offset kUserStringOffset + k.
enum ShellCommand {
    kCopyLongPath,
    kCopyLongPathUnix,
    kCopyShortPath,
    kCopyShortPathUnix,
    kCopyLongName,
    kCopyShortName,
    kCopyPropertiesDetailed,
    kCopyPropertiesSimple,
    kCopyUrl,
    kCopyUrlWithName,
    kCopyUrlAnchor,
    kUserStringOffset,
};

struct ShellMenuEntry {
    enum class Kind { kCommand, kSeparator, kSubmenu };
    Kind kind = Kind::kCommand;
    int captionId = 0;        // string id of the caption; 0 for a user string's own caption
    std::string caption;      // a user string's caption
    int offset = 0;           // of a command
    std::vector<ShellMenuEntry> children;  // of a submenu

    bool operator==(const ShellMenuEntry& o) const {
        return kind == o.kind && captionId == o.captionId && caption == o.caption &&
               offset == o.offset && children == o.children;
    }
};

struct ShellMenuPlan {
    std::vector<ShellMenuEntry> entries;  // of the popup; empty: nothing is added
    int idsUsed = 0;                      // last offset used + 1
};

// `userCaptions` holds one entry per User<k> key (nothing for a caption that does not read),
// empty when the user menu is off. `idRange` is how many identifiers Explorer granted:
// user strings that do not fit are left out, and with fewer than 11 nothing is added.
ShellMenuPlan PlanShellMenu(const Selection& selection, bool hierarchy,
                            const std::vector<std::optional<std::string>>& userCaptions,
                            long long idRange);

// The string id of a command's help text; 0 for none.
int HelpTextId(int offset);

}  // namespace zurimo
