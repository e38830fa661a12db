// The two kinds of text the Explorer menu's commands build: ANSI (CF_TEXT) and UTF-16
// (CF_UNICODETEXT, for a selection the code page cannot hold). The formatters are templates
// over the kind; this gives them UTF-16 twins of base/text.h's scans and the two forms, which
// say how a kind is made from the code page's pieces (labels, numbers, dates) and how wide a
// text is in columns.
//
// UTF-16 needs no stepping over trail bytes: no unit of a surrogate pair is ASCII. A pair is
// kept whole only where a text is cut or its first character taken.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/code_page.h"
#include "base/text.h"

namespace zurimo {

inline bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
inline bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// Units of the character at `pos`: 2 for a whole surrogate pair, else 1.
inline std::size_t CharLength(std::u16string_view text, std::size_t pos) {
    return IsHighSurrogate(text[pos]) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1])
               ? 2
               : 1;
}

inline std::size_t FindChar(std::u16string_view text, char16_t c, std::size_t from = 0) {
    return text.find(c, from);
}
inline std::size_t FindLastChar(std::u16string_view text, char16_t c) { return text.rfind(c); }

// True when `text` is `ascii` but for the case of the letters A-Z and a-z.
bool EqualsIgnoringAsciiCase(std::u16string_view text, std::string_view ascii);

// At most `maxUnits` units, never half a surrogate pair.
std::u16string CutAtCharBoundary(std::u16string_view text, std::size_t maxUnits);

// An ASCII text in either kind.
template <typename Text>
Text Ascii(std::string_view ascii) {
    return Text(ascii.begin(), ascii.end());
}

// CF_TEXT: the code page's own bytes; a column is a byte, so a double-byte character takes two.
struct AnsiForm {
    using Text = std::string;
    Text From(std::string_view ansi) const { return Text(ansi); }
    std::size_t Width(std::string_view text) const { return text.size(); }
};

// CF_UNICODETEXT: the code page's pieces converted. A character is as wide as the bytes it
// takes in the code page (those of its stand-in when the code page lacks it), so that the
// wide text's columns line up as the ANSI text's do.
struct WideForm {
    using Text = std::u16string;
    const CodePage& codePage;
    Text From(std::string_view ansi) const { return codePage.ToWide(ansi); }
    std::size_t Width(std::u16string_view text) const { return codePage.ToAnsi(text).size(); }
};

}  // namespace zurimo
