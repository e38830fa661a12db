// One entry of the history: its text in the ANSI code page, exactly as the clipboard's
// CF_TEXT gave it, and, only for a text the code page cannot hold, the UTF-16 original it
// was made from. Every rule of the list (indexes, capacity, the Ctrl keys, the hook
// library) works on the ANSI text; the original is what the user sees and gets back.
//
// Kept as two plain strings: an entry that fits costs an empty std::u16string (no
// allocation), entries stay values that copy and compare as a whole, and the ANSI text is
// never rebuilt from the original (CF_TEXT FA 59 stays FA 59, though its UTF-16 form would
// come back as 87 82).
#pragma once

#include <string>
#include <string_view>

#include "base/code_page.h"

namespace zurimo {

struct HistoryEntry {
    HistoryEntry() = default;
    // A text that fits the code page.
    HistoryEntry(std::string ansi) : text(std::move(ansi)) {}  // NOLINT: implicit on purpose
    HistoryEntry(const char* ansi) : text(ansi) {}             // NOLINT
    HistoryEntry(std::string ansi, std::u16string original)
        : text(std::move(ansi)), wide(std::move(original)) {}

    bool HasWide() const { return !wide.empty(); }
    bool operator==(const HistoryEntry& other) const {
        return text == other.text && wide == other.wide;
    }
    bool operator!=(const HistoryEntry& other) const { return !(*this == other); }

    std::string text;     // the ANSI text
    std::u16string wide;  // the original, or empty when the text fits
};

// The entry for a clipboard text: `ansi` as read, and `wide` (the CF_UNICODETEXT beside it,
// empty when there was none) kept only when it does not fit the code page.
HistoryEntry CapturedEntry(std::string ansi, std::u16string_view wide, const CodePage& codePage);

// The entry for a text that exists only in UTF-16 (the editor's, a wide file entry): its
// ANSI form as Windows makes it, and the original when it does not fit.
HistoryEntry EntryFromWide(std::u16string wide, const CodePage& codePage);

}  // namespace zurimo
