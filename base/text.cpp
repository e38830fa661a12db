#include "base/text.h"

namespace zurimo {

std::size_t FindChar(std::string_view text, char c, std::size_t from) {
    for (std::size_t i = from; i < text.size(); i += CharLength(text, i)) {
        if (text[i] == c) return i;
    }
    return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view text, char c) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        if (text[i] == c) last = i;
    }
    return last;
}

std::string FolderOf(std::string_view path) {
    std::size_t slash = FindLastChar(path, '\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::size_t FindLineBreak(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); i += CharLength(text, i)) {
        if (text[i] == '\r' || text[i] == '\n') return i;
    }
    return std::string_view::npos;
}

bool EndsWithBackslash(std::string_view text) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) last = i;
    return last != std::string_view::npos && last + 1 == text.size() && text[last] == '\\';
}

std::string CutAtCharBoundary(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + CharLength(text, end);
        if (next > maxBytes) break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

}  // namespace zurimo
