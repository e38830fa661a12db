#include "tests/support/iconv_code_page.h"

#include <iconv.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace zurimo {
namespace {

constexpr std::uint16_t kNone = 0xFFFF;

// Code page 932 as two tables, as Windows keeps it, filled once by asking the C library's
// converter about every byte, byte pair and UTF-16 unit.
struct Tables {
    Tables() : toWide(0x10000, kNone), toAnsi(0x10000, kNone) {
        iconv_t decode = iconv_open("UTF-16LE", "CP932");
        iconv_t encode = iconv_open("CP932", "UTF-16LE");
        if (decode == reinterpret_cast<iconv_t>(-1) || encode == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv_open");
        }
        for (unsigned code = 0; code < 0x10000; ++code) {
            // Single bytes at their own index, pairs at lead << 8 | trail.
            unsigned char in[2] = {static_cast<unsigned char>(code >> 8),
                                   static_cast<unsigned char>(code)};
            bool pair = code >= 0x100;
            char out[8];
            if (Convert(decode, pair ? in : in + 1, pair ? 2 : 1, out, sizeof out) == 2) {
                toWide[code] = static_cast<unsigned char>(out[0]) |
                               static_cast<unsigned char>(out[1]) << 8;
            }
            unsigned char unit[2] = {static_cast<unsigned char>(code),
                                     static_cast<unsigned char>(code >> 8)};
            std::size_t got = Convert(encode, unit, 2, out, sizeof out);
            if (got == 1) toAnsi[code] = static_cast<unsigned char>(out[0]);
            if (got == 2) {
                toAnsi[code] = static_cast<unsigned char>(out[0]) << 8 |
                               static_cast<unsigned char>(out[1]);
            }
        }
        iconv_close(decode);
        iconv_close(encode);
    }

    // Bytes written, or 0 when the input is no whole character.
    static std::size_t Convert(iconv_t cd, unsigned char* in, std::size_t size, char* out,
                               std::size_t room) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = reinterpret_cast<char*>(in);
        char* dst = out;
        std::size_t left = size, space = room;
        if (iconv(cd, &src, &left, &dst, &space) == static_cast<std::size_t>(-1) || left != 0) {
            return 0;
        }
        return room - space;
    }

    std::vector<std::uint16_t> toWide;
    std::vector<std::uint16_t> toAnsi;
};

const Tables& Table() {
    static const Tables tables;
    return tables;
}

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Appends the code page's form of `wide`; '?' stands for what it lacks (a surrogate pair
// as one character). False when that happened.
bool Encode(std::u16string_view wide, std::string* ansi) {
    const Tables& t = Table();
    bool exact = true;
    ansi->reserve(ansi->size() + wide.size() * 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char16_t unit = wide[i];
        std::uint16_t code = unit >= 0xD800 && unit < 0xE000 ? kNone : t.toAnsi[unit];
        if (code == kNone) {
            exact = false;
            ansi->push_back('?');
            if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] < 0xE000) {
                ++i;
            }
        } else if (code >= 0x100) {
            ansi->push_back(static_cast<char>(code >> 8));
            ansi->push_back(static_cast<char>(code & 0xFF));
        } else {
            ansi->push_back(static_cast<char>(code));
        }
    }
    return exact;
}

}  // namespace

std::string IconvCodePage::ToAnsi(std::u16string_view wide) const {
    std::string ansi;
    Encode(wide, &ansi);
    return ansi;
}

bool IconvCodePage::ToAnsiExact(std::u16string_view wide, std::string* ansi) const {
    ansi->clear();
    return Encode(wide, ansi);
}

// As Windows reads the code page: a byte pair it does not know, and a lone byte, become
// U+30FB.
std::u16string IconvCodePage::ToWide(std::string_view ansi) const {
    const Tables& t = Table();
    std::u16string wide;
    wide.reserve(ansi.size());
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        auto c = static_cast<unsigned char>(ansi[i]);
        std::uint16_t unit = kNone;
        if (IsLead(c) && i + 1 < ansi.size()) {
            unit = t.toWide[c << 8 | static_cast<unsigned char>(ansi[++i])];
        } else {
            unit = t.toWide[c];
        }
        wide.push_back(unit == kNone ? u'\u30FB' : static_cast<char16_t>(unit));
    }
    return wide;
}

}  // namespace zurimo
