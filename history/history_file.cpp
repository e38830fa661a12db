#include "history/history_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace zurimo {
namespace {

// Gathers the counts, lengths and short texts into one buffer; a text that does not fit
// goes to the sink straight after what is gathered, without a copy.
class BufferedWriter {
public:
    explicit BufferedWriter(ByteSink& sink) : sink_(sink) {}

    bool Put(const char* data, std::size_t size) {
        if (size > sizeof buffer_ - used_) {
            if (!Flush()) return false;
            if (size >= sizeof buffer_) return sink_.Write(data, size);
        }
        std::memcpy(buffer_ + used_, data, size);
        used_ += size;
        return true;
    }
    bool PutLe(std::uint64_t value, int bytes) {
        char le[8];
        for (int i = 0; i < bytes; ++i) le[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return Put(le, bytes);
    }
    bool Flush() {
        bool ok = used_ == 0 || sink_.Write(buffer_, used_);
        used_ = 0;
        return ok;
    }

private:
    ByteSink& sink_;
    char buffer_[64 * 1024];
    std::size_t used_ = 0;
};

bool PutCount(BufferedWriter& out, std::size_t count) {
    if (count < 0xFFFF) return out.PutLe(count, 2);
    return out.PutLe(0xFFFF, 2) && out.PutLe(count, 4);
}

bool PutLength(BufferedWriter& out, std::size_t length) {
    if (length < 0xFF) return out.PutLe(length, 1);
    if (length < 0xFFFE) return out.PutLe(0xFF, 1) && out.PutLe(length, 2);
    return out.PutLe(0xFF, 1) && out.PutLe(0xFFFF, 2) && out.PutLe(length, 4);
}

class StringSink : public ByteSink {
public:
    bool Write(const char* data, std::size_t size) override {
        bytes.append(data, size);
        return true;
    }
    std::string bytes;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Left() const { return bytes_.size() - pos_; }

    bool Le(int size, std::uint32_t* value) {
        if (Left() < static_cast<std::size_t>(size)) return false;
        std::uint32_t v = 0;
        for (int i = 0; i < size; ++i) {
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        }
        pos_ += size;
        *value = v;
        return true;
    }
    std::string_view Take(std::size_t size) {
        std::string_view taken(bytes_.data() + pos_, size);  // the caller checked the size
        pos_ += size;
        return taken;
    }

    // A length in any of its three forms; `wide` is set when the wide-text mark came first.
    bool Length(std::uint32_t* length, bool* wide) {
        std::uint32_t b = 0, w = 0;
        *wide = false;
        // The short form, by far the most common, straight from the byte.
        if (pos_ < bytes_.size() && static_cast<unsigned char>(bytes_[pos_]) < 0xFF) {
            *length = static_cast<unsigned char>(bytes_[pos_++]);
            return true;
        }
        if (!Le(1, &b)) return false;
        if (b < 0xFF) return *length = b, true;
        if (!Le(2, &w)) return false;
        if (w == 0xFFFE) {
            *wide = true;
            if (!Le(1, &b)) return false;
            if (b < 0xFF) return *length = b, true;
            if (!Le(2, &w)) return false;
        }
        if (w < 0xFFFF) return *length = w, true;
        return Le(4, length);
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

DecodedHistory Failed(FileError error) {
    DecodedHistory result;
    result.error = error;
    return result;
}

// The mark of a wide entry, where a length would begin: FF, then FE FF.
constexpr char kWideMark[] = {'\xFF', '\xFE', '\xFF'};

// UTF-16LE, gathered in pieces of the writer's buffer.
bool PutWide(BufferedWriter& out, std::u16string_view wide) {
    char bytes[4096];
    while (!wide.empty()) {
        std::size_t units = std::min(wide.size(), sizeof bytes / 2);
        for (std::size_t i = 0; i < units; ++i) {
            bytes[2 * i] = static_cast<char>(wide[i] & 0xFF);
            bytes[2 * i + 1] = static_cast<char>(wide[i] >> 8);
        }
        if (!out.Put(bytes, units * 2)) return false;
        wide.remove_prefix(units);
    }
    return true;
}

template <typename Entries>
bool WriteEntries(const Entries& entries, ByteSink& sink) {
    std::unique_ptr<BufferedWriter> out(new (std::nothrow) BufferedWriter(sink));  // 64 KB
    if (!out || !PutCount(*out, entries.size())) return false;
    for (const HistoryEntry& entry : entries) {
        if (entry.HasWide()) {
            if (!out->Put(kWideMark, sizeof kWideMark) || !PutLength(*out, entry.wide.size()) ||
                !PutWide(*out, entry.wide)) {
                return false;
            }
            continue;
        }
        const std::string& text = entry.text;
        if (!PutLength(*out, text.size()) || !out->Put(text.data(), text.size())) return false;
    }
    return out->Flush();
}

}  // namespace

bool WriteHistory(const std::vector<HistoryEntry>& entries, ByteSink& sink) {
    return WriteEntries(entries, sink);
}

bool WriteHistory(const std::deque<HistoryEntry>& entries, ByteSink& sink) {
    return WriteEntries(entries, sink);
}

std::string EncodeHistory(const std::vector<HistoryEntry>& entries) {
    StringSink sink;
    WriteHistory(entries, sink);
    return std::move(sink.bytes);
}

DecodedHistory DecodeHistory(std::string_view bytes, const CodePage& codePage) {
    Reader in(bytes);
    std::uint32_t count = 0;
    if (!in.Le(2, &count)) return Failed(FileError::kEndOfFile);
    if (count == 0xFFFF && !in.Le(4, &count)) return Failed(FileError::kEndOfFile);
    if (count >= kImpossibleCount) return Failed(FileError::kOutOfMemory);
    // Every entry takes at least one byte.
    if (count > in.Left()) return Failed(FileError::kEndOfFile);

    DecodedHistory result;
    try {
        result.entries.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t length = 0;
            bool wide = false;
            if (!in.Length(&length, &wide)) return Failed(FileError::kEndOfFile);
            std::uint64_t size = wide ? std::uint64_t{length} * 2 : length;
            if (size > in.Left()) return Failed(FileError::kEndOfFile);
            std::string_view text = in.Take(static_cast<std::size_t>(size));
            if (!wide) {
                result.entries.emplace_back(std::string(text));
                continue;
            }
            std::u16string units(length, u'\0');
            for (std::uint32_t u = 0; u < length; ++u) {
                units[u] = static_cast<char16_t>(static_cast<unsigned char>(text[2 * u]) |
                                                 static_cast<unsigned char>(text[2 * u + 1]) << 8);
            }
            bool fits = false;
            std::string ansi = AnsiOf(units, codePage, &fits);
            if (fits) {
                result.entries.emplace_back(std::move(ansi));
            } else {
                result.entries.emplace_back(std::move(ansi), std::move(units));
            }
        }
    } catch (const std::bad_alloc&) {
        return Failed(FileError::kOutOfMemory);
    }
    return result;
}

}  // namespace zurimo
