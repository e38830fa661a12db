// The saved-history reader over any file: it never reads past the bytes, never allocates
// more than they can hold, and what it reads writes back to a file that reads the same.
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "history/history_file.h"

namespace zurimo::fuzz {
namespace {

// Takes the bytes until `room` is used up, then fails every write.
class LimitedSink : public ByteSink {
public:
    explicit LimitedSink(std::size_t room) : room_(room) {}
    bool Write(const char* data, std::size_t size) override {
        if (size > room_) return false;
        bytes.append(data, size);
        room_ -= size;
        return true;
    }
    std::string bytes;

private:
    std::size_t room_;
};

}  // namespace

int HistoryFileFuzz(const std::uint8_t* data, std::size_t size) {
    std::string_view file(reinterpret_cast<const char*>(data), size);
    const LowByteCodePage codePage;
    DecodedHistory decoded = DecodeHistory(file, codePage);
    if (decoded.error != FileError::kNone) {
        FUZZ_CHECK(decoded.entries.empty());
        return 0;
    }

    // The count field, read here on its own: that many entries, and never more bytes of text
    // than the file has.
    std::uint32_t count = size >= 2 ? (data[0] | data[1] << 8) : 0;
    if (count == 0xFFFF && size >= 6) {
        count = data[2] | data[3] << 8 | data[4] << 16 | static_cast<std::uint32_t>(data[5]) << 24;
    }
    FUZZ_CHECK(decoded.entries.size() == count);
    std::size_t textBytes = 0;
    for (const HistoryEntry& entry : decoded.entries) {
        // An original is kept only for a text the code page cannot hold.
        FUZZ_CHECK(!entry.HasWide() || !FitsCodePage(entry.wide, codePage));
        FUZZ_CHECK(!entry.HasWide() || entry.text == codePage.ToAnsi(entry.wide));
        textBytes += entry.HasWide() ? 2 * entry.wide.size() : entry.text.size();
    }
    FUZZ_CHECK(textBytes <= size);

    // Written back and read again: the same entries, and the same file once more.
    std::string encoded = EncodeHistory(decoded.entries);
    DecodedHistory again = DecodeHistory(encoded, codePage);
    FUZZ_CHECK(again.error == FileError::kNone);
    FUZZ_CHECK(again.entries == decoded.entries);
    FUZZ_CHECK(EncodeHistory(again.entries) == encoded);

    // A sink that fails part-way makes the write fail; one with room enough takes it all.
    std::size_t room = encoded.empty() ? 0 : (data[size - 1] * 131u) % (encoded.size() + 1);
    LimitedSink cut(room);
    bool written = WriteHistory(decoded.entries, cut);
    FUZZ_CHECK(written == (room >= encoded.size()));
    FUZZ_CHECK(encoded.compare(0, cut.bytes.size(), cut.bytes) == 0);
    LimitedSink whole(encoded.size());
    FUZZ_CHECK(WriteHistory(decoded.entries, whole) && whole.bytes == encoded);
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(HistoryFileFuzz)
