// Small helpers for ANSI text in windows, resources and module paths.
#pragma once

#include <windows.h>

#include <string>

namespace zurimo {

std::string WindowText(HWND hwnd);
// The text of a window in UTF-16, for windows that keep characters outside the code page.
std::u16string WideWindowText(HWND hwnd);
std::string ResourceString(HINSTANCE instance, UINT id);
// The full path of a module (at most MAX_PATH bytes); empty when it cannot be had.
std::string ModulePath(HMODULE module);
std::string ClassName(HWND hwnd);

}  // namespace zurimo
