#include "base/text.h"

#include <cstring>

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

bool StartsCharacter(std::string_view text, std::size_t at, std::size_t from) {
    // Only the bytes back to the last one that cannot lead a character are walked: the
    // character after such a byte starts afresh.
    std::size_t i = at;
    while (i > from && IsLeadByte932(static_cast<unsigned char>(text[i - 1]))) --i;
    while (i < at) i += CharLength(text, i);
    return i == at;
}

namespace {

// The first CR or LF byte at or after `at`, found with memchr; npos when there is none.
std::size_t FirstCrOrLf(std::string_view text, std::size_t at) {
    const char* start = text.data() + at;
    std::size_t length = text.size() - at;
    const void* lf = std::memchr(start, '\n', length);
    if (lf) length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    const void* hit = std::memchr(start, '\r', length);
    if (!hit) hit = lf;
    return hit ? at + static_cast<std::size_t>(static_cast<const char*>(hit) - start)
               : std::string_view::npos;
}

}  // namespace

// A CR or LF byte is never part of a character, except after a lead byte in broken text,
// where it belongs to that character and is passed over.
std::size_t FindLineBreak(std::string_view text, std::size_t from) {
    for (std::size_t at = from; at < text.size();) {
        std::size_t found = FirstCrOrLf(text, at);
        if (found == std::string_view::npos || StartsCharacter(text, found, from)) return found;
        at = found + 1;
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

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace zurimo
