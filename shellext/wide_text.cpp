#include "shellext/wide_text.h"

namespace zurimo {

bool EqualsIgnoringAsciiCase(std::u16string_view text, std::string_view ascii) {
    if (text.size() != ascii.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t a = text[i];
        char16_t b = static_cast<unsigned char>(ascii[i]);
        if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a - u'A' + u'a');
        if (b >= u'A' && b <= u'Z') b = static_cast<char16_t>(b - u'A' + u'a');
        if (a != b) return false;
    }
    return true;
}

std::u16string CutAtCharBoundary(std::u16string_view text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) return std::u16string(text);
    std::size_t end = maxUnits;
    if (end > 0 && IsHighSurrogate(text[end - 1]) && IsLowSurrogate(text[end])) --end;
    return std::u16string(text.substr(0, end));
}

}  // namespace zurimo
