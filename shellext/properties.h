// The properties texts of the Explorer menu: a labelled block per item (detailed) or one
// table line per item under a header (simple). Column widths count bytes, so a Japanese
// character takes two; the UTF-16 texts count each character as the bytes it takes in the
// code page, so that their columns line up as the ANSI texts' do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/code_page.h"
#include "shellext/shell_facts.h"

namespace zurimo {

extern const char kSimpleHeader[];

// 1234 as "1,234"; 3000000000 as "3,000,000,000".
std::string GroupedNumber(std::uint32_t value);
// "R", "H", "S", "A", "C" for the attributes set, in that order.
std::string AttributeLetters(std::uint32_t attributes);

// The detailed block or the simple line of one item; nothing when its facts cannot be had.
std::optional<std::string> DetailedText(const std::string& path, ShellFacts& facts);
std::optional<std::string> SimpleLine(const std::string& path, ShellFacts& facts);
// The same from the item's UTF-16 facts, the labels, numbers, dates and times converted
// from the code page.
std::optional<std::u16string> DetailedText(const std::u16string& path, ShellFacts& facts,
                                           const CodePage& codePage);
std::optional<std::u16string> SimpleLine(const std::u16string& path, ShellFacts& facts,
                                         const CodePage& codePage);

}  // namespace zurimo
