#include "tests/support/iconv_code_page.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace zurimo {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`; an input it cannot convert is replaced by `substitute` and
    // `skip` bytes of it are passed over (false is returned then).
    template <typename Out>
    bool Run(const char* in, std::size_t size, Out* out, std::size_t skip,
             typename Out::value_type substitute) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        bool exact = true;
        char buffer[4096];
        char* src = const_cast<char*>(in);
        std::size_t left = size;
        while (left > 0) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            std::size_t done = iconv(cd_, &src, &left, &dst, &room);
            Append(out, buffer, dst);
            if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            exact = false;  // EILSEQ or EINVAL: one unconvertible character
            std::size_t step = skip;
            // A surrogate pair stands for one character.
            if (skip == 2 && left >= 4) {
                unsigned unit = static_cast<unsigned char>(src[0]) |
                                static_cast<unsigned char>(src[1]) << 8;
                if (unit >= 0xD800 && unit < 0xDC00) step = 4;
            }
            if (step > left) step = left;
            src += step;
            left -= step;
            out->push_back(substitute);
        }
        return exact;
    }

private:
    static void Append(std::string* out, const char* from, const char* to) {
        out->append(from, to);
    }
    static void Append(std::u16string* out, const char* from, const char* to) {
        for (const char* p = from; p + 1 < to; p += 2) {
            out->push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                                 static_cast<unsigned char>(p[1]) << 8));
        }
    }

    iconv_t cd_;
};

std::string Bytes(std::u16string_view wide) {
    std::string bytes;
    bytes.reserve(wide.size() * 2);
    for (char16_t unit : wide) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace

std::string IconvCodePage::ToAnsi(std::u16string_view wide) const {
    std::string bytes = Bytes(wide), ansi;
    Converter("CP932", "UTF-16LE").Run(bytes.data(), bytes.size(), &ansi, 2, '?');
    return ansi;
}

bool IconvCodePage::ToAnsiExact(std::u16string_view wide, std::string* ansi) const {
    std::string bytes = Bytes(wide);
    ansi->clear();
    return Converter("CP932", "UTF-16LE").Run(bytes.data(), bytes.size(), ansi, 2, '?');
}

std::u16string IconvCodePage::ToWide(std::string_view ansi) const {
    std::u16string wide;
    Converter("UTF-16LE", "CP932").Run(ansi.data(), ansi.size(), &wide, 1, u'\x30FB');
    return wide;
}

}  // namespace zurimo
