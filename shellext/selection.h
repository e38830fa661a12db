// The items Explorer selected: their paths as one list, and three facts about them that
// decide which commands the menu offers. When a path does not fit the ANSI code page, the
// paths are kept in UTF-16 too, for the commands' CF_UNICODETEXT.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page.h"

namespace zurimo {

// The item's own name (after the last backslash) is not an 8.3 name.
bool IsLongName(std::string_view path);
// A folder on the path (each part followed by a backslash) is not an 8.3 name.
bool HasLongFolder(std::string_view path);
// The path ends in ".url", in any case.
bool IsUrlPath(std::string_view path);
bool IsUrlPath(std::u16string_view path);

class Selection {
public:
    // Takes the paths of `count` selected items; `paths` holds those that could be fetched,
    // in order. With one item the list is its path; with more every path is followed by
    // CR LF. The three flags only ever turn on: a new selection keeps what earlier ones set.
    void Take(unsigned count, const std::vector<std::string>& paths);
    // The same, with `widePaths[i]` the UTF-16 form of `paths[i]`. They are kept, as a list
    // formed alike, only when one of them does not fit `codePage`. The ANSI list is that of
    // `paths`; so are the flags, but that a path that does not fit is long, and so is its
    // name when the name does not fit.
    void Take(unsigned count, const std::vector<std::string>& paths,
              const std::vector<std::u16string>& widePaths, const CodePage& codePage);

    unsigned count() const { return count_; }
    const std::string& list() const { return list_; }
    // The paths of the list, each without its CR LF.
    std::vector<std::string_view> Entries() const;

    // Whether the UTF-16 paths are kept; their list and entries (empty when not).
    bool hasWide() const { return hasWide_; }
    const std::u16string& wideList() const { return wideList_; }
    std::vector<std::u16string_view> WideEntries() const;

    bool hasUrlItem = false;
    bool hasLongPath = false;
    bool hasLongName = false;

private:
    unsigned count_ = 0;
    std::string list_;
    bool hasWide_ = false;
    std::u16string wideList_;
};

}  // namespace zurimo
