// The wide form of the saved history: entries with UTF-16 originals written and read back
// whole, each in the size its length field promises; and the reader over any bytes that
// follow a wide mark.
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "history/history_file.h"

namespace zurimo::fuzz {
namespace {

std::size_t LengthFieldSize(std::size_t length) {
    return length < 0xFF ? 1 : length < 0xFFFE ? 3 : 7;
}

}  // namespace

int HistoryWideFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const LowByteCodePage codePage;
    std::vector<HistoryEntry> entries(in.Byte() % 6);
    for (HistoryEntry& entry : entries) {
        std::string bytes = in.Text();
        if (!in.Bool()) {
            entry = HistoryEntry(bytes);
            continue;
        }
        // Pairs of bytes as UTF-16 units, kept as an original only when they do not fit.
        std::u16string units;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           static_cast<unsigned char>(bytes[i + 1]) << 8);
        }
        entry = EntryFromWide(units, codePage);
        FUZZ_CHECK(entry.HasWide() == (!units.empty() && !FitsCodePage(units, codePage)));
    }

    // Each entry takes its length field and its bytes: an original two bytes a unit behind
    // the mark FF FE FF, any other entry its ANSI bytes.
    std::string file = EncodeHistory(entries);
    std::size_t expected = 2;
    for (const HistoryEntry& entry : entries) {
        expected += entry.HasWide()
                        ? 3 + LengthFieldSize(entry.wide.size()) + 2 * entry.wide.size()
                        : LengthFieldSize(entry.text.size()) + entry.text.size();
    }
    FUZZ_CHECK(file.size() == expected);
    DecodedHistory decoded = DecodeHistory(file, codePage);
    FUZZ_CHECK(decoded.error == FileError::kNone);
    FUZZ_CHECK(decoded.entries == entries);
    FUZZ_CHECK(EncodeHistory(decoded.entries) == file);

    // Whatever follows a wide mark reads as a wide entry or as a file that ends early.
    std::string rest = in.Rest();
    DecodedHistory read = DecodeHistory(std::string("\x01\x00\xFF\xFE\xFF", 5) + rest, codePage);
    if (read.error == FileError::kNone) {
        FUZZ_CHECK(read.entries.size() == 1);
        const HistoryEntry& entry = read.entries[0];
        FUZZ_CHECK(!entry.HasWide() || !FitsCodePage(entry.wide, codePage));
        FUZZ_CHECK(2 * entry.wide.size() <= rest.size() && entry.text.size() <= rest.size());
    } else {
        FUZZ_CHECK(read.error == FileError::kEndOfFile && read.entries.empty());
    }
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(HistoryWideFuzz)
