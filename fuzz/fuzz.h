// Shared by the fuzzing harnesses: the list of harnesses, the input reader that splits one
// input into the values a harness needs, the check that stops at a broken property, and the
// Shift-JIS character walk the checks compare against.
//
// Every harness defines one entry function in namespace zurimo::fuzz. The libFuzzer build
// (ZURIMO_LIBFUZZER) gives each harness its own LLVMFuzzerTestOneInput, which calls that
// entry; the replay links all harnesses into one program and calls them by name.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page.h"
#include "base/text.h"

namespace zurimo::fuzz {

// A code page without Windows: the units below 0x100 are their low byte, anything else
// has no counterpart ('?').
class LowByteCodePage : public CodePage {
public:
    std::string ToAnsi(std::u16string_view wide) const override {
        std::string ansi;
        ToAnsiExact(wide, &ansi);
        return ansi;
    }
    bool ToAnsiExact(std::u16string_view wide, std::string* ansi) const override {
        ansi->clear();
        bool exact = true;
        for (char16_t unit : wide) {
            exact = exact && unit < 0x100;
            ansi->push_back(unit < 0x100 ? static_cast<char>(unit) : '?');
        }
        return exact;
    }
    std::u16string ToWide(std::string_view ansi) const override {
        std::u16string wide;
        for (char c : ansi) wide.push_back(static_cast<unsigned char>(c));
        return wide;
    }
};

using Entry = int (*)(const std::uint8_t* data, std::size_t size);

int HistoryFileFuzz(const std::uint8_t* data, std::size_t size);
int HistoryWideFuzz(const std::uint8_t* data, std::size_t size);
int HistoryListFuzz(const std::uint8_t* data, std::size_t size);
int TransformsFuzz(const std::uint8_t* data, std::size_t size);
int TextFuzz(const std::uint8_t* data, std::size_t size);
int RegistryFuzz(const std::uint8_t* data, std::size_t size);
int UserStringFuzz(const std::uint8_t* data, std::size_t size);
int FindFuzz(const std::uint8_t* data, std::size_t size);
int SelectionFuzz(const std::uint8_t* data, std::size_t size);
int UrlFuzz(const std::uint8_t* data, std::size_t size);
int ShellCommandsFuzz(const std::uint8_t* data, std::size_t size);

// The harnesses by name: the name is that of the harness's corpus folder (fuzz/corpus/NAME)
// and, with "_fuzz" after it, of its libFuzzer program.
struct Target {
    const char* name;
    Entry entry;
};
inline constexpr Target kTargets[] = {
    {"history_file", HistoryFileFuzz},
    {"history_wide", HistoryWideFuzz},
    {"history_list", HistoryListFuzz},
    {"transforms", TransformsFuzz},
    {"text", TextFuzz},
    {"registry", RegistryFuzz},
    {"user_string", UserStringFuzz},
    {"find", FindFuzz},
    {"selection", SelectionFuzz},
    {"url", UrlFuzz},
    {"shell_commands", ShellCommandsFuzz},
};

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();  // libFuzzer keeps the input as a crash; the replay stops here
}

// Splits one input into values. Past the end every read gives zero or empty, so a harness
// never needs to ask how much is left.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    bool Bool() { return (Byte() & 1) != 0; }
    std::uint32_t U16() { return Byte() | static_cast<std::uint32_t>(Byte()) << 8; }
    std::uint32_t U32() { return U16() | U16() << 16; }
    std::uint64_t U64() { return U32() | static_cast<std::uint64_t>(U32()) << 32; }
    // A text: its length in one byte (FF: in the two bytes after it), then its bytes, or as
    // many as are left.
    std::string Text() {
        std::size_t length = Byte();
        if (length == 0xFF) length = U16();
        return Bytes(length);
    }
    std::string Bytes(std::size_t length) {
        std::size_t n = size_ - pos_ < length ? size_ - pos_ : length;
        std::string bytes(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return bytes;
    }
    std::string Rest() { return Bytes(size_ - pos_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The positions where the characters of `text` start, found without base/text.h's scans (a
// lead byte takes the next byte with it; one at the very end stands alone), and text.size()
// last: the boundaries a Shift-JIS scan may stop at.
inline std::vector<std::size_t> CharStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    std::size_t i = 0;
    while (i < text.size()) {
        starts.push_back(i);
        auto c = static_cast<unsigned char>(text[i]);
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        i += lead && i + 1 < text.size() ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

inline bool IsBoundary(const std::vector<std::size_t>& starts, std::size_t at) {
    return std::binary_search(starts.begin(), starts.end(), at);
}

}  // namespace zurimo::fuzz

#define FUZZ_CHECK(condition)                                                         \
    do {                                                                              \
        if (!(condition)) ::zurimo::fuzz::Fail(#condition, __FILE__, __LINE__);       \
    } while (0)

#ifdef ZURIMO_LIBFUZZER
#define ZURIMO_LIBFUZZER_ENTRY(entry)                                                 \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
        return ::zurimo::fuzz::entry(data, size);                                     \
    }
#else
#define ZURIMO_LIBFUZZER_ENTRY(entry)
#endif
