#include "base/code_page.h"

#include <cstdint>
#include <cstring>

namespace zurimo {
namespace {

// Every ANSI code page of Windows maps ASCII to itself. Eight units at a time, block by
// block.
bool IsAscii(std::u16string_view wide) {
    constexpr std::uint64_t kHigh = 0xFF80FF80FF80FF80ull;
    constexpr std::size_t kBlock = 4096;
    const char16_t* units = wide.data();
    std::size_t i = 0;
    while (i + 8 <= wide.size()) {
        std::size_t end = wide.size() - i < kBlock ? i + (wide.size() - i) / 8 * 8 : i + kBlock;
        std::uint64_t seen = 0;
        for (; i < end; i += 8) {
            std::uint64_t a, b;
            std::memcpy(&a, units + i, 8);
            std::memcpy(&b, units + i + 4, 8);
            seen |= a | b;
        }
        if (seen & kHigh) return false;
    }
    for (; i < wide.size(); ++i) {
        if (units[i] >= 0x80) return false;
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
