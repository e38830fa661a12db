#include "shellext/selection.h"

#include "base/text.h"

namespace zurimo {
namespace {

// A name (or folder) of `length` bytes whose dot of interest starts `extension` bytes
// before its end.
bool Fits83(std::size_t length, std::size_t extension) {
    return extension <= 4 && length - extension <= 8;
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

bool IsUrlPath(std::string_view path) {
    std::size_t dot = FindLastChar(path, '.');
    return dot != std::string_view::npos && EqualsIgnoringAsciiCase(path.substr(dot), ".url");
}

void Selection::Take(unsigned count, const std::vector<std::string>& paths) {
    count_ = count;
    list_.clear();
    for (const std::string& path : paths) {
        if (!hasLongName && IsLongName(path)) hasLongName = hasLongPath = true;
        if (!hasLongPath && HasLongFolder(path)) hasLongPath = true;
        if (!hasUrlItem && IsUrlPath(path)) hasUrlItem = true;
        list_ += path;
        if (count != 1) list_ += "\r\n";
    }
}

std::vector<std::string_view> Selection::Entries() const {
    std::vector<std::string_view> entries;
    std::string_view rest = list_;
    if (count_ == 1) {
        entries.push_back(rest);
        return entries;
    }
    while (!rest.empty()) {
        std::size_t cr = FindChar(rest, '\r');
        if (cr == std::string_view::npos) {
            entries.push_back(rest);
            break;
        }
        entries.push_back(rest.substr(0, cr));
        rest.remove_prefix(cr + (cr + 1 < rest.size() && rest[cr + 1] == '\n' ? 2 : 1));
    }
    return entries;
}

}  // namespace zurimo
