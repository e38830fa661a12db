// The saved-history file: a count, then the entries newest first, each a length and its
// bytes. Integers are little-endian; there is no header.
//
//   count   2 bytes below 65535, else FF FF and 4 bytes
//   length  1 byte below 255; FF and 2 bytes below 65534; else FF FF FF and 4 bytes
//
// An entry with a wide original is written as FF FE FF, then a second length counted in
// UTF-16 units and the text as UTF-16LE; a reader takes the entry's ANSI text from it.
// Every other entry is its ANSI bytes.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page.h"
#include "history/file_error.h"
#include "history/history_entry.h"

namespace zurimo {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be written; the sink keeps the cause.
    virtual bool Write(const char* data, std::size_t size) = 0;
};

// Writes the history: small pieces gathered in a buffer, long texts straight through.
// False as soon as the sink fails.
bool WriteHistory(const std::vector<HistoryEntry>& entries, ByteSink& sink);
bool WriteHistory(const std::deque<HistoryEntry>& entries, ByteSink& sink);

// The whole file as bytes (for tests and benchmarks).
std::string EncodeHistory(const std::vector<HistoryEntry>& entries);

struct DecodedHistory {
    FileError error = FileError::kNone;  // kEndOfFile or kOutOfMemory when it failed
    std::vector<HistoryEntry> entries;   // empty when it failed
};

// Reads a whole file. Never allocates more than the file's size suggests: a count or a
// length that claims more than the bytes that are left is a file that ends early. A wide
// entry's ANSI text is converted as Windows converts; its UTF-16 text is kept as the
// original only when it does not fit the code page.
DecodedHistory DecodeHistory(std::string_view bytes, const CodePage& codePage);

// A count no list can hold, whatever the file's size: reported as lack of memory.
constexpr std::uint32_t kImpossibleCount = 0x10000000;

}  // namespace zurimo
