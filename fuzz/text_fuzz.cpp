// The Shift-JIS scans of base/text.h over any bytes, each compared with a plain walk over the
// characters: a trail byte 0x5C or 0x0A is never taken for a backslash or a line break, and a
// cut never ends inside a double-byte character.
#include <string>
#include <vector>

#include "fuzz/fuzz.h"

namespace zurimo::fuzz {
namespace {

// The first character start at or after `from` whose byte is one of `wanted`, or npos.
std::size_t FirstAt(std::string_view text, const std::vector<std::size_t>& starts,
                    std::size_t from, std::string_view wanted) {
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        if (starts[i] >= from && wanted.find(text[starts[i]]) != std::string_view::npos) {
            return starts[i];
        }
    }
    return std::string_view::npos;
}

}  // namespace

int TextFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const char c = static_cast<char>(in.Byte());
    const std::size_t maxBytes = in.U16();
    const std::uint8_t pick = in.Byte();
    const std::string text = in.Rest();
    const std::vector<std::size_t> starts = CharStarts(text);
    const std::size_t npos = std::string_view::npos;

    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        FUZZ_CHECK(CharLength(text, starts[i]) == starts[i + 1] - starts[i]);
    }

    // Searches from the start and from a character start the input picks.
    const std::size_t from = starts[pick % starts.size()];

    // Whether a position starts a character, at some positions of the text (all of them
    // would cost too much on a long run of lead bytes), walking from the start or from `from`.
    for (std::size_t k = 0; k < 64; ++k) {
        std::size_t at = k < 16 ? k : (k * 7919 + pick) % (text.size() + 1);
        if (at > text.size()) continue;
        FUZZ_CHECK(StartsCharacter(text, at) == IsBoundary(starts, at));
        if (at >= from) FUZZ_CHECK(StartsCharacter(text, at, from) == IsBoundary(starts, at));
    }
    FUZZ_CHECK(FindChar(text, c) == FirstAt(text, starts, 0, std::string_view(&c, 1)));
    FUZZ_CHECK(FindChar(text, c, from) == FirstAt(text, starts, from, std::string_view(&c, 1)));
    FUZZ_CHECK(FindLineBreak(text) == FirstAt(text, starts, 0, "\r\n"));
    FUZZ_CHECK(FindLineBreak(text, from) == FirstAt(text, starts, from, "\r\n"));

    std::size_t last = npos, lastSlash = npos;
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        if (text[starts[i]] == c) last = starts[i];
        if (text[starts[i]] == '\\') lastSlash = starts[i];
    }
    FUZZ_CHECK(FindLastChar(text, c) == last);
    FUZZ_CHECK(FolderOf(text) ==
               (lastSlash == npos ? std::string() : text.substr(0, lastSlash + 1)));

    // The last character is a single-byte backslash.
    bool endsWithBackslash =
        starts.size() >= 2 && starts[starts.size() - 2] + 1 == text.size() && text.back() == '\\';
    FUZZ_CHECK(EndsWithBackslash(text) == endsWithBackslash);

    // The longest prefix of whole characters that fits, judged by the walk.
    std::string cut = CutAtCharBoundary(text, maxBytes);
    FUZZ_CHECK(cut.size() <= maxBytes);
    FUZZ_CHECK(text.compare(0, cut.size(), cut) == 0);
    FUZZ_CHECK(IsBoundary(starts, cut.size()));
    std::size_t longest = 0;
    for (std::size_t s : starts) {
        if (s <= maxBytes) longest = s;
    }
    FUZZ_CHECK(cut.size() == longest);
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(TextFuzz)
