// The ANSI code page as the portable code sees it: the conversions come from the platform
// (Windows' own tables; the tests use another codec of code page 932).
//
// Text that fits the code page is kept and exchanged as ANSI bytes only. Text that does not
// fit (an accented letter, an emoji, Korean, U+301C WAVE DASH) is also kept as its UTF-16
// original, so that it comes back exactly as it was copied.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

    // True when `wide` survives a round trip through the code page unchanged: no best-fit
    // substitute, no default character, and the same text on the way back. This converts
    // there and back; a TabledCodePage looks it up.
    virtual bool Fits(std::u16string_view wide) const;
};

inline bool FitsCodePage(std::u16string_view wide, const CodePage& codePage) {
    return codePage.Fits(wide);
}

// A code page that looks up what fits instead of converting: one bit for each UTF-16 unit,
// made once from a conversion of every unit there and back. The code pages of Windows
// convert character by character, so a text fits when each of its characters does (a
// surrogate pair never does: no ANSI code page holds such characters).
class TabledCodePage : public CodePage {
public:
    explicit TabledCodePage(const CodePage& codePage);

    std::string ToAnsi(std::u16string_view wide) const override { return codePage_.ToAnsi(wide); }
    bool ToAnsiExact(std::u16string_view wide, std::string* ansi) const override {
        return codePage_.ToAnsiExact(wide, ansi);
    }
    std::u16string ToWide(std::string_view ansi) const override { return codePage_.ToWide(ansi); }
    bool Fits(std::u16string_view wide) const override;

private:
    const CodePage& codePage_;
    std::vector<std::uint64_t> fits_;  // empty when the table could not be made
};

// The text a wide text stands for in the code page: its exact form when it fits, else the
// form Windows would give it. `fits` tells which.
std::string AnsiOf(std::u16string_view wide, const CodePage& codePage, bool* fits);

}  // namespace zurimo
