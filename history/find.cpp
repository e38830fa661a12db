#include "history/find.h"

#include <cstdint>
#include <cstring>

#include "base/text.h"

namespace zurimo {
namespace {

std::string Folded(const std::string& text, CaseFolding& folding) {
    std::string copy = text;
    folding.Lower(copy.data(), copy.size());
    return copy;
}

template <typename Entries>
FindResult FindIn(const Entries& entries, int selected, const std::string& text, bool down,
                  bool matchCase, CaseFolding& folding) {
    const int count = static_cast<int>(entries.size());
    if ((!down && selected == 0) || (down && selected == count - 1)) return {};
    if (!down && selected < 0) return {FindOutcome::kNothing, -1};

    const std::string needle = matchCase ? text : Folded(text, folding);
    std::string folded;  // one entry at a time, reusing its storage
    const int step = down ? 1 : -1;
    for (int i = down ? selected + 1 : selected - 1; i >= 0 && i < count; i += step) {
        std::string_view haystack = entries[static_cast<std::size_t>(i)];
        if (!matchCase) {
            folded.assign(haystack);
            folding.Lower(folded.data(), folded.size());
            haystack = folded;
        }
        if (FindOnCharacter(haystack, needle) != std::string_view::npos) {
            return {FindOutcome::kFound, i};
        }
    }
    return {};
}

}  // namespace

void PortableCaseFolding::Lower(char* text, std::size_t size) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::size_t i = 0;
    while (i < size) {
        std::uint64_t word;
        if (i + 8 <= size && (std::memcpy(&word, text + i, 8), (word & kHighBits) == 0)) {
            // Eight ASCII bytes at once: a high bit marks each byte from 'A' that is not
            // past 'Z' (no byte overflows, all are below 0x80), and becomes its 0x20.
            std::uint64_t fromA = (word + 0x3F3F3F3F3F3F3F3Full) & kHighBits;
            std::uint64_t pastZ = (word + 0x2525252525252525ull) & kHighBits;
            word |= (fromA & ~pastZ) >> 2;
            std::memcpy(text + i, &word, 8);
            i += 8;
            continue;
        }
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c >= 'A' && c <= 'Z') text[i] = static_cast<char>(c + 32);
            ++i;
        } else if (IsLeadByte932(c) && i + 1 < size) {
            auto trail = static_cast<unsigned char>(text[i + 1]);
            if (c == 0x82 && trail >= 0x60 && trail <= 0x79) {  // Ａ..Ｚ to ａ..ｚ
                text[i + 1] = static_cast<char>(trail + 0x21);
            }
            i += 2;
        } else {
            ++i;
        }
    }
}

std::size_t FindOnCharacter(std::string_view text, std::string_view needle) {
    if (needle.empty()) return 0;
    for (std::size_t at = text.find(needle); at != std::string_view::npos;
         at = text.find(needle, at + 1)) {
        if (StartsCharacter(text, at)) return at;
    }
    return std::string_view::npos;
}

FindResult FindInHistory(const std::deque<std::string>& entries, int selected,
                         const std::string& text, bool down, bool matchCase,
                         CaseFolding& folding) {
    return FindIn(entries, selected, text, down, matchCase, folding);
}

FindResult FindInHistory(const std::vector<std::string>& entries, int selected,
                         const std::string& text, bool down, bool matchCase,
                         CaseFolding& folding) {
    return FindIn(entries, selected, text, down, matchCase, folding);
}

std::vector<std::string> UpdateRecentTexts(std::vector<std::string> recent,
                                           const std::string& text, CaseFolding& folding) {
    const std::string key = Folded(text, folding);
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < recent.size() && found == std::string::npos; ++i) {
        if (Folded(recent[i], folding) == key) found = i;
    }
    if (found == 0) return recent;
    if (found != std::string::npos) {
        recent.erase(recent.begin() + static_cast<std::ptrdiff_t>(found));
    } else if (recent.size() >= kRecentTextCount) {
        recent.resize(kRecentTextCount - 1);
    }
    recent.insert(recent.begin(), text);
    return recent;
}

std::string RecentTextValueName(int index) { return "FindHistory" + std::to_string(index); }

}  // namespace zurimo
