// Byte strings in the ANSI code page 932 (Shift-JIS). Scans step by character: a lead byte
// and its trail byte go together, so a trail byte such as 0x5C or 0x0A is never taken for a
// backslash or a line break.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zurimo {

inline bool IsLeadByte932(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character at `pos`: 2 for a lead byte followed by another byte,
// else 1 (a lead byte at the very end stands alone).
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
    return (IsLeadByte932(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
}

// Position of the first single-byte character `c` (never a trail byte), or npos.
std::size_t FindChar(std::string_view text, char c, std::size_t from = 0);

// Position of the last single-byte character `c`, or npos.
std::size_t FindLastChar(std::string_view text, char c);

// The folder part of a path with its final backslash (C:\a\ for C:\a\b.exe), or
// empty when there is no backslash.
std::string FolderOf(std::string_view path);

// True when `at` starts a character, `from` being the start of one before it.
bool StartsCharacter(std::string_view text, std::size_t at, std::size_t from = 0);

// Position of the first CR or LF character, or npos.
std::size_t FindLineBreak(std::string_view text, std::size_t from = 0);

// True when the last character is a single-byte backslash (a trail byte 0x5C is not one).
bool EndsWithBackslash(std::string_view text);

// The text cut to at most `maxBytes` bytes, never inside a double-byte character.
std::string CutAtCharBoundary(std::string_view text, std::size_t maxBytes);

// True when both are the same bytes but for the case of the ASCII letters A-Z and a-z; a
// double-byte character never compares equal to another one.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace zurimo
