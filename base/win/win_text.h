// Small helpers for ANSI text in windows, resources and module paths.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace zurimo {

std::string WindowText(HWND hwnd);
// The text of a window in UTF-16, for windows that keep characters outside the code page.
std::u16string WideWindowText(HWND hwnd);
// String resource `id` of `instance`, cut to fit a buffer of `buffer` bytes (its zero
// included) as LoadString cuts it; empty when there is none.
std::string ResourceString(HINSTANCE instance, UINT id, int buffer = 512);

// The way of GetDateFormat, GetTimeFormat and the like: `format(buffer, size)` asked first for
// the size it needs (no buffer), then given a buffer of that size. False, with the system's
// error in `error`, when either call fails.
template <typename Format>
bool FormatInSizedBuffer(Format format, std::string* out, DWORD* error) {
    int size = format(nullptr, 0);
    int written = 0;
    std::string text;
    if (size > 0) {
        text.assign(static_cast<size_t>(size), '\0');
        written = format(&text[0], size);
    }
    if (written <= 0) {
        *error = GetLastError();
        return false;
    }
    text.resize(static_cast<size_t>(written - 1));  // without the zero
    *out = std::move(text);
    return true;
}
// The full path of a module (at most MAX_PATH bytes); empty when it cannot be had.
std::string ModulePath(HMODULE module);
std::string ClassName(HWND hwnd);

}  // namespace zurimo
