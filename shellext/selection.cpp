#include "shellext/selection.h"

#include "shellext/wide_text.h"

namespace zurimo {
namespace {

// A name (or folder) of `length` bytes whose dot of interest starts `extension` bytes
// before its end.
bool Fits83(std::size_t length, std::size_t extension) {
    return extension <= 4 && length - extension <= 8;
}

// The paths joined as the list is: one path alone, or each followed by CR LF.
template <typename Text>
Text JoinList(unsigned count, const std::vector<Text>& paths) {
    Text list;
    for (const Text& path : paths) {
        list += path;
        if (count != 1) list += Ascii<Text>("\r\n");
    }
    return list;
}

template <typename Char>
std::vector<std::basic_string_view<Char>> SplitList(std::basic_string_view<Char> rest,
                                                    unsigned count) {
    std::vector<std::basic_string_view<Char>> entries;
    if (count == 1) {
        entries.push_back(rest);
        return entries;
    }
    while (!rest.empty()) {
        std::size_t cr = FindChar(rest, '\r');
        if (cr == std::basic_string_view<Char>::npos) {
            entries.push_back(rest);
            break;
        }
        entries.push_back(rest.substr(0, cr));
        rest.remove_prefix(cr + (cr + 1 < rest.size() && rest[cr + 1] == '\n' ? 2 : 1));
    }
    return entries;
}

template <typename Char>
bool IsUrlPathOf(std::basic_string_view<Char> path) {
    std::size_t dot = FindLastChar(path, '.');
    return dot != std::basic_string_view<Char>::npos &&
           EqualsIgnoringAsciiCase(path.substr(dot), ".url");
}

}  // namespace

bool IsLongName(std::string_view path) {
    std::size_t slash = FindLastChar(path, '\\');
    if (slash == std::string_view::npos) return false;
    std::string_view name = path.substr(slash + 1);
    std::size_t n = name.size();
    if (n > 12) return true;
    if (n <= 8) return false;
    std::size_t dot = FindLastChar(name, '.');
    return dot == std::string_view::npos || !Fits83(n, n - dot);
}

bool HasLongFolder(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t slash = FindChar(path, '\\'); slash != std::string_view::npos;
         start = slash + 1, slash = FindChar(path, '\\', start)) {
        std::string_view part = path.substr(start, slash - start);
        std::size_t n = part.size();
        if (n > 12) return true;
        if (n <= 8) continue;
        std::size_t dot = FindChar(part, '.');
        if (dot == std::string_view::npos) return true;
        for (; dot != std::string_view::npos; dot = FindChar(part, '.', dot + 1)) {
            if (!Fits83(n, n - dot)) return true;
        }
    }
    return false;
}

bool IsUrlPath(std::string_view path) { return IsUrlPathOf(path); }

bool IsUrlPath(std::u16string_view path) { return IsUrlPathOf(path); }

void Selection::Take(unsigned count, const std::vector<std::string>& paths) {
    count_ = count;
    for (const std::string& path : paths) {
        if (!hasLongName && IsLongName(path)) hasLongName = hasLongPath = true;
        if (!hasLongPath && HasLongFolder(path)) hasLongPath = true;
        if (!hasUrlItem && IsUrlPath(path)) hasUrlItem = true;
    }
    list_ = JoinList(count, paths);
    hasWide_ = false;
    wideList_.clear();
}

void Selection::Take(unsigned count, const std::vector<std::string>& paths,
                     const std::vector<std::u16string>& widePaths, const CodePage& codePage) {
    Take(count, paths);
    if (widePaths.size() != paths.size()) return;
    for (const std::u16string& path : widePaths) {
        if (FitsCodePage(path, codePage)) continue;
        hasWide_ = true;
        // A name the code page cannot hold is never an 8.3 name: Windows gives such an item
        // a short name of its own, so the short forms are offered for it.
        std::size_t slash = path.rfind(u'\\');
        std::u16string_view name = std::u16string_view(path).substr(slash == path.npos ? 0 : slash + 1);
        if (!FitsCodePage(name, codePage)) hasLongName = true;
        hasLongPath = true;
    }
    if (hasWide_) wideList_ = JoinList(count, widePaths);
}

std::vector<std::string_view> Selection::Entries() const {
    return SplitList(std::string_view(list_), count_);
}

std::vector<std::u16string_view> Selection::WideEntries() const {
    if (!hasWide_) return {};
    return SplitList(std::u16string_view(wideList_), count_);
}

}  // namespace zurimo
