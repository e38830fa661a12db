// The texts of the Explorer menu's commands over the selection. Each gives the text to put
// on the clipboard, or nothing when the command fails (the clipboard then stays as it was).
#pragma once

#include <optional>
#include <string>

#include "base/code_page.h"
#include "base/registry.h"
#include "shellext/selection.h"
#include "shellext/shell_facts.h"

namespace zurimo {

// The command at `offset` (see ShellCommand): paths and names, properties, URLs, or user
// string offset - 11.
std::optional<std::string> CommandText(int offset, const Selection& selection, ShellFacts& facts,
                                       Registry& registry);

// The same path, name, properties or URL text built from the selection's UTF-16 paths;
// nothing when the selection has none, and for a user string.
std::optional<std::u16string> WideCommandText(int offset, const Selection& selection,
                                              ShellFacts& facts, Registry& registry,
                                              const CodePage& codePage);

struct ClipboardTexts {
    std::string ansi;     // CF_TEXT
    std::u16string wide;  // CF_UNICODETEXT; empty: none is put
};

// What the command puts on the clipboard: CommandText as CF_TEXT, and WideCommandText beside
// it. When only the UTF-16 text can be had (an item the ANSI path cannot reach), CF_TEXT is
// its ANSI form, as Windows would make it. Nothing when neither can be had.
std::optional<ClipboardTexts> CommandTexts(int offset, const Selection& selection,
                                           ShellFacts& facts, Registry& registry,
                                           const CodePage& codePage);

}  // namespace zurimo
