// Searching the history for a text, and the list of recent search texts.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_entry.h"

namespace zurimo {

// Lower case in the user's locale, in place; the Windows build asks the system. The text
// keeps its length, and a double-byte character is never split.
class CaseFolding {
public:
    virtual ~CaseFolding() = default;
    virtual void Lower(char* text, std::size_t size) = 0;
    // The same for UTF-16 text.
    virtual void LowerWide(char16_t* text, std::size_t size) = 0;
};

// ASCII capitals and the full-width Latin capitals of code page 932, stepping over every
// double-byte character: the folding of the native build.
class PortableCaseFolding : public CaseFolding {
public:
    void Lower(char* text, std::size_t size) override;
    void LowerWide(char16_t* text, std::size_t size) override;
};

// The first place `needle` occurs in `text` that starts on a character, never on the
// second byte of a double-byte one; npos when there is none.
std::size_t FindOnCharacter(std::string_view text, std::string_view needle);

enum class FindOutcome {
    kFound,     // `index` names the entry
    kNotFound,  // the user is told
    kNothing,   // searching up with nothing selected: no search, no message
};
struct FindResult {
    FindOutcome outcome = FindOutcome::kNotFound;
    int index = -1;
};

// Searches the entries after (`down`) or before the selected one (`selected` -1: none),
// never the selected one itself, without wrapping. Without `matchCase` both texts are
// compared in lower case. The history is not copied: one entry at a time is folded.
//
// `text` is what the user typed, with its original when the code page cannot hold it. An
// entry with an original is searched in its original (for the typed text in UTF-16); any
// other entry in its ANSI text, which cannot hold a text that does not fit.
FindResult FindInHistory(const std::deque<HistoryEntry>& entries, int selected,
                         const HistoryEntry& text, bool down, bool matchCase,
                         CaseFolding& folding, const CodePage& codePage);
FindResult FindInHistory(const std::vector<HistoryEntry>& entries, int selected,
                         const HistoryEntry& text, bool down, bool matchCase,
                         CaseFolding& folding, const CodePage& codePage);

// The recent search texts after searching for `text`: moved (as now typed) or put at the
// top, the oldest dropped beyond five. An equal text, ignoring letter case, counts as the same.
constexpr std::size_t kRecentTextCount = 5;
std::vector<HistoryEntry> UpdateRecentTexts(std::vector<HistoryEntry> recent,
                                            const HistoryEntry& text, CaseFolding& folding);

// "FindHistory0" .. "FindHistory4".
std::string RecentTextValueName(int index);

}  // namespace zurimo
