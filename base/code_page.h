// The ANSI code page as the portable code sees it: the conversions come from the platform
// (Windows' own tables; the tests use another codec of code page 932).
//
// Text that fits the code page is kept and exchanged as ANSI bytes only. Text that does not
// fit (an accented letter, an emoji, Korean, U+301C WAVE DASH) is also kept as its UTF-16
// original, so that it comes back exactly as it was copied.
#pragma once

#include <string>
#include <string_view>

namespace zurimo {

class CodePage {
public:
    virtual ~CodePage() = default;
    // As Windows makes CF_TEXT: best-fit substitutes and the default character allowed.
    virtual std::string ToAnsi(std::u16string_view wide) const = 0;
    // Without best fit; false when some character has no counterpart of its own in the code
    // page (the default character would stand for it).
    virtual bool ToAnsiExact(std::u16string_view wide, std::string* ansi) const = 0;
    virtual std::u16string ToWide(std::string_view ansi) const = 0;
};

// True when `wide` survives a round trip through the code page unchanged: no best-fit
// substitute, no default character, and the same text on the way back.
bool FitsCodePage(std::u16string_view wide, const CodePage& codePage);
// The same, given a text in the code page that is likely its counterpart (the CF_TEXT
// beside a CF_UNICODETEXT). When `wide` is exactly what that text converts to, it fits:
// every character the code page gives converts back to its own code, so only the cheaper
// conversion is needed.
bool FitsCodePage(std::u16string_view wide, const CodePage& codePage, std::string_view counterpart);

// The text a wide text stands for in the code page: its exact form when it fits, else the
// form Windows would give it. `fits` tells which.
std::string AnsiOf(std::u16string_view wide, const CodePage& codePage, bool* fits);

}  // namespace zurimo
