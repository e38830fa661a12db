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

bool CodePage::Fits(std::u16string_view wide) const {
    if (IsAscii(wide)) return true;
    std::string ansi;
    return ToAnsiExact(wide, &ansi) && ToWide(ansi) == wide;
}

TabledCodePage::TabledCodePage(const CodePage& codePage) : codePage_(codePage) {
    std::u16string units;
    units.reserve(0x10000);
    for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
        if (unit < 0xD800 || unit >= 0xE000) units.push_back(static_cast<char16_t>(unit));
    }
    // Every character of the code page comes back as one unit, so the two texts line up;
    // when they do not, the round trip decides as usual.
    std::u16string back = codePage.ToWide(codePage.ToAnsi(units));
    if (back.size() != units.size()) return;
    fits_.assign(0x10000 / 64, 0);
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (back[i] == units[i]) fits_[units[i] / 64] |= std::uint64_t{1} << (units[i] % 64);
    }
}

bool TabledCodePage::Fits(std::u16string_view wide) const {
    if (fits_.empty()) return CodePage::Fits(wide);
    if (IsAscii(wide)) return true;
    // Block by block without a branch inside, stopping at the first block that does not fit.
    constexpr std::size_t kBlock = 256;
    for (std::size_t at = 0; at < wide.size(); at += kBlock) {
        std::size_t end = wide.size() - at < kBlock ? wide.size() : at + kBlock;
        std::uint64_t fits = 1;
        for (std::size_t i = at; i < end; ++i) fits &= fits_[wide[i] / 64] >> (wide[i] % 64);
        if (!(fits & 1)) return false;
    }
    return true;
}

std::string AnsiOf(std::u16string_view wide, const CodePage& codePage, bool* fits) {
    *fits = codePage.Fits(wide);
    return codePage.ToAnsi(wide);
}

}  // namespace zurimo
