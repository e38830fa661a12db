#include "history/history_entry.h"

namespace zurimo {

HistoryEntry CapturedEntry(std::string ansi, std::u16string_view wide, const CodePage& codePage) {
    if (wide.empty() || FitsCodePage(wide, codePage)) return HistoryEntry(std::move(ansi));
    return HistoryEntry(std::move(ansi), std::u16string(wide));
}

HistoryEntry EntryFromWide(std::u16string wide, const CodePage& codePage) {
    bool fits = false;
    std::string ansi = AnsiOf(wide, codePage, &fits);
    if (fits) return HistoryEntry(std::move(ansi));
    return HistoryEntry(std::move(ansi), std::move(wide));
}

}  // namespace zurimo
