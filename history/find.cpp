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

std::u16string Folded(const std::u16string& text, CaseFolding& folding) {
    std::u16string copy = text;
    folding.LowerWide(copy.data(), copy.size());
    return copy;
}

// `text` in `haystack`, both folded unless the case must match; `folded` is the storage
// reused from entry to entry.
template <typename Char>
bool Contains(std::basic_string_view<Char> haystack, const std::basic_string<Char>& needle,
              bool matchCase, CaseFolding& folding, std::basic_string<Char>* folded) {
    if (!matchCase) {
        folded->assign(haystack);
        if constexpr (sizeof(Char) == 1) {
            folding.Lower(folded->data(), folded->size());
        } else {
            folding.LowerWide(folded->data(), folded->size());
        }
        haystack = *folded;
    }
    if constexpr (sizeof(Char) == 1) {
        return FindOnCharacter(haystack, needle) != std::string_view::npos;
    } else {
        return haystack.find(needle) != std::u16string_view::npos;  // UTF-16 needs no stepping
    }
}

template <typename Entries>
FindResult FindIn(const Entries& entries, int selected, const HistoryEntry& text, bool down,
                  bool matchCase, CaseFolding& folding, const CodePage& codePage) {
    const int count = static_cast<int>(entries.size());
    if ((!down && selected == 0) || (down && selected == count - 1)) return {};
    if (!down && selected < 0) return {FindOutcome::kNothing, -1};

    const std::string needle = matchCase ? text.text : Folded(text.text, folding);
    std::u16string wideNeedle;  // made when the first entry with an original comes
    bool wideNeedleMade = false;
    std::string folded;  // one entry at a time, reusing its storage
    std::u16string foldedWide;
    const int step = down ? 1 : -1;
    for (int i = down ? selected + 1 : selected - 1; i >= 0 && i < count; i += step) {
        const HistoryEntry& entry = entries[static_cast<std::size_t>(i)];
        bool found = false;
        if (entry.HasWide()) {
            if (!wideNeedleMade) {
                wideNeedle = text.HasWide() ? text.wide : codePage.ToWide(text.text);
                if (!matchCase) wideNeedle = Folded(wideNeedle, folding);
                wideNeedleMade = true;
            }
            found = Contains(std::u16string_view(entry.wide), wideNeedle, matchCase, folding,
                             &foldedWide);
        } else if (!text.HasWide()) {
            found = Contains(std::string_view(entry.text), needle, matchCase, folding, &folded);
        }
        if (found) return {FindOutcome::kFound, i};
    }
    return {};
}

// The same search text, but for the case of its letters. A text that fits the code page and
// one that does not are never the same.
bool SameText(const HistoryEntry& a, const HistoryEntry& b, CaseFolding& folding) {
    if (a.HasWide() != b.HasWide()) return false;
    if (a.HasWide()) return Folded(a.wide, folding) == Folded(b.wide, folding);
    return Folded(a.text, folding) == Folded(b.text, folding);
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

void PortableCaseFolding::LowerWide(char16_t* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        char16_t c = text[i];
        if ((c >= u'A' && c <= u'Z') || (c >= 0xFF21 && c <= 0xFF3A)) text[i] = c + 0x20;
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

FindResult FindInHistory(const std::deque<HistoryEntry>& entries, int selected,
                         const HistoryEntry& text, bool down, bool matchCase,
                         CaseFolding& folding, const CodePage& codePage) {
    return FindIn(entries, selected, text, down, matchCase, folding, codePage);
}

FindResult FindInHistory(const std::vector<HistoryEntry>& entries, int selected,
                         const HistoryEntry& text, bool down, bool matchCase,
                         CaseFolding& folding, const CodePage& codePage) {
    return FindIn(entries, selected, text, down, matchCase, folding, codePage);
}

std::vector<HistoryEntry> UpdateRecentTexts(std::vector<HistoryEntry> recent,
                                            const HistoryEntry& text, CaseFolding& folding) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < recent.size() && found == std::string::npos; ++i) {
        if (SameText(recent[i], text, folding)) found = i;
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
