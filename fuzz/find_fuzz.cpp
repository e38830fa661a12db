// The search over any history and search text: the portable case folding against a plain
// walk, a match that always starts a character, the search's direction and bounds, and the
// recent texts' order and length.
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "history/find.h"

namespace zurimo::fuzz {
namespace {

// ASCII capitals and full-width Ａ..Ｚ (82 60..82 79) to lower case, one character at a time.
std::string Lowered(std::string_view text) {
    std::string out(text);
    std::vector<std::size_t> starts = CharStarts(text);
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        std::size_t at = starts[i];
        auto c = static_cast<unsigned char>(out[at]);
        if (starts[i + 1] - at == 1 && c >= 'A' && c <= 'Z') out[at] = static_cast<char>(c + 32);
        if (starts[i + 1] - at == 2 && c == 0x82) {
            auto trail = static_cast<unsigned char>(out[at + 1]);
            if (trail >= 0x60 && trail <= 0x79) out[at + 1] = static_cast<char>(trail + 0x21);
        }
    }
    return out;
}

// The first character start where `needle` occurs, or npos.
std::size_t FirstOnCharacter(std::string_view text, std::string_view needle) {
    for (std::size_t at : CharStarts(text)) {
        if (text.compare(at, needle.size(), needle) == 0 && at + needle.size() <= text.size()) {
            return at;
        }
    }
    return std::string_view::npos;
}

}  // namespace

int FindFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::uint8_t flags = in.Byte();
    bool down = (flags & 1) != 0;
    bool matchCase = (flags & 2) != 0;
    std::string needle = in.Text();
    std::vector<std::string> entries(in.Byte() % 8);
    for (std::string& entry : entries) entry = in.Text();
    std::vector<HistoryEntry> recent(in.Byte() % 8);
    for (HistoryEntry& text : recent) text = in.Text();
    int selected = static_cast<int>(in.Byte() % (entries.size() + 2)) - 1;  // -1: none
    std::string text = in.Rest();
    PortableCaseFolding folding;

    // The folding keeps the length and changes only what the walk changes, at any offset.
    for (std::size_t skip = 0; skip < 4 && skip <= text.size(); ++skip) {
        std::string folded = text.substr(skip);
        folding.Lower(folded.data(), folded.size());
        FUZZ_CHECK(folded == Lowered(std::string_view(text).substr(skip)));
    }

    std::size_t at = FindOnCharacter(text, needle);
    FUZZ_CHECK(needle.empty() ? at == 0 : at == FirstOnCharacter(text, needle));

    const LowByteCodePage codePage;
    const std::vector<HistoryEntry> asEntries(entries.begin(), entries.end());
    FindResult result = FindInHistory(asEntries, selected, needle, down, matchCase, folding, codePage);
    std::deque<HistoryEntry> held(entries.begin(), entries.end());  // as the history holds them
    FindResult inHeld = FindInHistory(held, selected, needle, down, matchCase, folding, codePage);
    FUZZ_CHECK(inHeld.outcome == result.outcome && inHeld.index == result.index);
    const int count = static_cast<int>(entries.size());
    auto matches = [&](int i) {
        return matchCase ? FirstOnCharacter(entries[i], needle) != std::string_view::npos
                         : FirstOnCharacter(Lowered(entries[i]), Lowered(needle)) !=
                               std::string_view::npos;
    };
    FindResult expected;
    if (!down && selected < 0) {
        expected.outcome = FindOutcome::kNothing;
    } else {
        for (int i = down ? selected + 1 : selected - 1; i >= 0 && i < count; i += down ? 1 : -1) {
            if (matches(i)) {
                expected = {FindOutcome::kFound, i};
                break;
            }
        }
    }
    FUZZ_CHECK(result.outcome == expected.outcome && result.index == expected.index);

    // The text at the top, once; the rest in their order; never more than five when it grows.
    std::vector<HistoryEntry> updated = UpdateRecentTexts(recent, needle, folding);
    FUZZ_CHECK(!updated.empty() && Lowered(updated[0].text) == Lowered(needle));
    std::size_t same = 0;
    for (const HistoryEntry& r : recent) same += Lowered(r.text) == Lowered(needle);
    if (same == 0) {
        FUZZ_CHECK(updated[0] == HistoryEntry(needle));
        FUZZ_CHECK(updated.size() == (recent.size() >= kRecentTextCount ? kRecentTextCount
                                                                         : recent.size() + 1));
        FUZZ_CHECK(std::equal(updated.begin() + 1, updated.end(), recent.begin()));
    } else {
        FUZZ_CHECK(updated.size() == recent.size());
    }
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(FindFuzz)
