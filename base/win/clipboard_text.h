// Plain text (CF_TEXT, in the ANSI code page) on its way to the clipboard or a drop target.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/handles.h"

namespace zurimo {

// A movable, zero-initialised global block holding `text` and a terminating zero; null
// when memory ran out.
UniqueHGlobal TextBlock(const std::string& text);

// Empties the clipboard and puts `text` on it as CF_TEXT; the clipboard then owns the block.
// False when the clipboard could not be opened or emptied or took nothing.
bool PutTextOnClipboard(HWND owner, const std::string& text);

}  // namespace zurimo
