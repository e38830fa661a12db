// The ANSI code page of the running system, converted with Windows' own tables; and the
// UTF-16 text of Windows' wide calls.
#pragma once

#include <windows.h>

#include <string>

#include "base/code_page.h"

namespace zurimo {

class WinCodePage : public CodePage {
public:
    std::string ToAnsi(std::u16string_view wide) const override;
    bool ToAnsiExact(std::u16string_view wide, std::string* ansi) const override;
    std::u16string ToWide(std::string_view ansi) const override;
};

// The one converter of the program.
const WinCodePage& SystemCodePage();

// char16_t and WCHAR are the same UTF-16 units on Windows.
inline const wchar_t* WidePtr(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string_view WideView(const wchar_t* text, std::size_t length) {
    return std::u16string_view(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace zurimo
