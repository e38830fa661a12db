#include "shellext/shell_menu.h"

#include "resources/zurimo_ex_ids.h"

namespace zurimo {
namespace {

ShellMenuEntry Command(int offset, int captionId) {
    ShellMenuEntry entry;
    entry.offset = offset;
    entry.captionId = captionId;
    return entry;
}

ShellMenuEntry Submenu(int captionId, std::vector<ShellMenuEntry> children) {
    ShellMenuEntry entry;
    entry.kind = ShellMenuEntry::Kind::kSubmenu;
    entry.captionId = captionId;
    entry.children = std::move(children);
    return entry;
}

ShellMenuEntry Separator() {
    ShellMenuEntry entry;
    entry.kind = ShellMenuEntry::Kind::kSeparator;
    return entry;
}

std::vector<ShellMenuEntry> FlatLayout(const Selection& s) {
    std::vector<ShellMenuEntry> entries;
    entries.push_back(Command(kCopyLongPath, s.hasLongPath ? IDS_EX_LONG_PATH : IDS_EX_FULL_PATH));
    entries.push_back(Command(kCopyLongPathUnix,
                              s.hasLongPath ? IDS_EX_LONG_PATH_UNIX : IDS_EX_FULL_PATH_UNIX));
    if (s.hasLongPath) {
        entries.push_back(Command(kCopyShortPath, IDS_EX_SHORT_PATH));
        entries.push_back(Command(kCopyShortPathUnix, IDS_EX_SHORT_PATH_UNIX));
    }
    entries.push_back(Command(kCopyLongName, s.hasLongName ? IDS_EX_LONG_NAME : IDS_EX_NAME_ONLY));
    if (s.hasLongName) entries.push_back(Command(kCopyShortName, IDS_EX_SHORT_NAME));
    entries.push_back(Command(kCopyPropertiesDetailed, IDS_EX_PROPERTIES_DETAILED));
    entries.push_back(Command(kCopyPropertiesSimple, IDS_EX_PROPERTIES_SIMPLE));
    if (s.hasUrlItem) {
        entries.push_back(Command(kCopyUrl, IDS_EX_URL));
        entries.push_back(Command(kCopyUrlWithName, IDS_EX_URL_WITH_NAME));
        entries.push_back(Command(kCopyUrlAnchor, IDS_EX_URL_ANCHOR));
    }
    return entries;
}

std::vector<ShellMenuEntry> GroupedLayout(const Selection& s) {
    std::vector<ShellMenuEntry> entries;
    if (s.hasLongPath) {
        entries.push_back(Submenu(IDS_EX_FULL_PATH,
                                  {Command(kCopyLongPath, IDS_EX_LONG_PATH),
                                   Command(kCopyLongPathUnix, IDS_EX_LONG_PATH_UNIX),
                                   Command(kCopyShortPath, IDS_EX_SHORT_PATH),
                                   Command(kCopyShortPathUnix, IDS_EX_SHORT_PATH_UNIX)}));
    } else {
        entries.push_back(Command(kCopyLongPath, IDS_EX_FULL_PATH));
        entries.push_back(Command(kCopyLongPathUnix, IDS_EX_FULL_PATH_UNIX));
    }
    if (s.hasLongName) {
        entries.push_back(Submenu(IDS_EX_NAME_ONLY, {Command(kCopyLongName, IDS_EX_LONG_NAME),
                                                     Command(kCopyShortName, IDS_EX_SHORT_NAME)}));
    } else {
        entries.push_back(Command(kCopyLongName, IDS_EX_NAME_ONLY));
    }
    entries.push_back(Submenu(IDS_EX_PROPERTIES, {Command(kCopyPropertiesDetailed, IDS_EX_DETAILED),
                                                  Command(kCopyPropertiesSimple, IDS_EX_SIMPLE)}));
    if (s.hasUrlItem) {
        entries.push_back(Submenu(IDS_EX_URL, {Command(kCopyUrl, IDS_EX_URL_ONLY),
                                               Command(kCopyUrlWithName, IDS_EX_WITH_NAME),
                                               Command(kCopyUrlAnchor, IDS_EX_HTML_ANCHOR)}));
    }
    return entries;
}

}  // namespace

ShellMenuPlan PlanShellMenu(const Selection& selection, bool hierarchy,
                            const std::vector<std::optional<std::string>>& userCaptions,
                            long long idRange) {
    ShellMenuPlan plan;
    if (idRange < kUserStringOffset) return plan;  // not even the commands fit
    plan.entries = hierarchy ? GroupedLayout(selection) : FlatLayout(selection);
    plan.idsUsed = kUserStringOffset;
    for (std::size_t k = 0; k < userCaptions.size(); ++k) {
        int offset = kUserStringOffset + static_cast<int>(k);
        if (offset >= idRange) break;
        plan.idsUsed = offset + 1;
        if (!userCaptions[k]) continue;  // it takes its identifier, but shows nothing
        if (k == 0) plan.entries.push_back(Separator());
        ShellMenuEntry user = Command(offset, 0);
        user.caption = *userCaptions[k];
        plan.entries.push_back(user);
    }
    return plan;
}

int HelpTextId(int offset) {
    switch (offset) {
    case kCopyLongPath:
    case kCopyLongPathUnix:
    case kCopyShortPath:
    case kCopyShortPathUnix:
    case kCopyLongName:
    case kCopyShortName: return IDS_EX_HELP_LONG_PATH + offset;
    case kCopyPropertiesDetailed: return IDS_EX_HELP_PROPERTIES_DETAILED;
    case kCopyPropertiesSimple: return IDS_EX_HELP_PROPERTIES_SIMPLE;
    case kCopyUrl:
    case kCopyUrlWithName:
    case kCopyUrlAnchor: return IDS_EX_HELP_URL + (offset - kCopyUrl);
    default: return 0;
    }
}

}  // namespace zurimo
