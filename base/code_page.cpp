#include "base/code_page.h"

namespace zurimo {
namespace {

// Every ANSI code page of Windows maps ASCII to itself.
bool IsAscii(std::u16string_view wide) {
    for (char16_t unit : wide) {
        if (unit >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::string AnsiOf(std::u16string_view wide, const CodePage& codePage, bool* fits) {
    std::string ansi;
    if (IsAscii(wide)) {
        ansi.assign(wide.begin(), wide.end());
        *fits = true;
        return ansi;
    }
    // One conversion serves both ends: a best-fit substitute or the default character
    // never converts back to the character it stands for, so the round trip of the
    // ordinary conversion fails exactly when the exact one would.
    ansi = codePage.ToAnsi(wide);
    *fits = codePage.ToWide(ansi) == wide;
    return ansi;
}

bool FitsCodePage(std::u16string_view wide, const CodePage& codePage) {
    if (IsAscii(wide)) return true;
    std::string ansi;
    return codePage.ToAnsiExact(wide, &ansi) && codePage.ToWide(ansi) == wide;
}

bool FitsCodePage(std::u16string_view wide, const CodePage& codePage, std::string_view counterpart) {
    if (IsAscii(wide)) return true;
    if (codePage.ToWide(counterpart) == wide) return true;
    return FitsCodePage(wide, codePage);
}

}  // namespace zurimo
