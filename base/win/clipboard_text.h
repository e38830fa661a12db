// Plain text on its way to the clipboard or a drop target: CF_TEXT in the ANSI code page,
// and CF_UNICODETEXT beside it for a text the code page cannot hold.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/handles.h"

namespace zurimo {

// A movable, zero-initialised global block holding `text` and a terminating zero; null
// when memory ran out.
UniqueHGlobal TextBlock(const std::string& text);
UniqueHGlobal TextBlock(const std::u16string& text);

// Empties the clipboard and puts `text` on it as CF_TEXT and, when `wide` is not empty,
// `wide` as CF_UNICODETEXT; the clipboard then owns the blocks. False when the clipboard
// could not be opened or emptied or took nothing, or memory ran out.
bool PutTextOnClipboard(HWND owner, const std::string& text, const std::u16string& wide = {});

}  // namespace zurimo
