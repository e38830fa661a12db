// Code page 932 for the native build: tables made once from the C library's converter and
// used as Windows uses its own. Like Windows it maps U+301C WAVE DASH one way only (to 81 60,
// which comes back as U+FF5E), and it reads FA 59 as a character whose own code is 87 82.
#pragma once

#include "base/code_page.h"

namespace zurimo {

class IconvCodePage : public CodePage {
public:
    std::string ToAnsi(std::u16string_view wide) const override;
    bool ToAnsiExact(std::u16string_view wide, std::string* ansi) const override;
    std::u16string ToWide(std::string_view ansi) const override;
};

}  // namespace zurimo
