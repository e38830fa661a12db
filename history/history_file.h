// The saved-history file: a count, then the entries newest first, each a length and its
// bytes. Integers are little-endian; there is no header.
//
//   count   2 bytes below 65535, else FF FF and 4 bytes
//   length  1 byte below 255; FF and 2 bytes below 65534; else FF FF FF and 4 bytes
//
// Reading also takes FF FE FF, then a second length counted in UTF-16 units and the text
// as UTF-16LE, which is converted to the ANSI code page.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "history/file_error.h"

namespace zurimo {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be written; the sink keeps the cause.
    virtual bool Write(const char* data, std::size_t size) = 0;
};

// Writes the history: small pieces gathered in a buffer, long texts straight through.
// False as soon as the sink fails.
bool WriteHistory(const std::vector<std::string>& entries, ByteSink& sink);
bool WriteHistory(const std::deque<std::string>& entries, ByteSink& sink);

// The whole file as bytes (for tests and benchmarks).
std::string EncodeHistory(const std::vector<std::string>& entries);

using WideToAnsi = std::function<std::string(std::u16string_view)>;

struct DecodedHistory {
    FileError error = FileError::kNone;  // kEndOfFile or kOutOfMemory when it failed
    std::vector<std::string> entries;    // empty when it failed
};

// Reads a whole file. Never allocates more than the file's size suggests: a count or a
// length that claims more than the bytes that are left is a file that ends early.
DecodedHistory DecodeHistory(std::string_view bytes, const WideToAnsi& wideToAnsi);

// A count no list can hold, whatever the file's size: reported as lack of memory.
constexpr std::uint32_t kImpossibleCount = 0x10000000;

}  // namespace zurimo
