// What a take-out from the history delivers, and what becomes of the entry it came from. The
// history window carries out what these decide.
#pragma once

#include <cstdint>
#include <string>

#include "base/code_page.h"
#include "history/history_entry.h"
#include "history/history_list.h"
#include "history/transforms.h"

namespace zurimo {

// The history window's state that a take-out reads.
struct TakeOutState {
    bool menuChoicePending = false;
    std::string menuChoice;  // the context menu's text, when pending
    bool dateTimeBox = false;
    bool quoteBox = false;
    int selected = -1;  // -1: nothing selected
};

// The settings a take-out reads.
struct TakeOutSettings {
    std::string quote;
    std::int32_t dateTime = 0;  // 0: long date
};

enum class TakeOutKind {
    kNothing,     // nothing selected: nothing happens
    kMenuChoice,  // the context menu's text, unchanged
    kDateTime,    // the date and time, quoted when the quote box is ticked too
    kQuoted,      // the selected entry quoted line by line; the entry stays
    kEntry,       // the selected entry itself, taken out of the list
};

struct TakeOutPlan {
    TakeOutKind kind = TakeOutKind::kNothing;
    // What goes on the clipboard: the ANSI text, and the exact original beside it for an
    // entry the code page cannot hold (quoted by the same rule).
    HistoryEntry text;
    int entryIndex = -1;  // kEntry: the entry taken out of the list
    bool untickQuote = false;
    bool untickDateTime = false;
};

// Decides the take-out; `clock` is read only for a date-time take-out.
TakeOutPlan PlanTakeOut(const HistoryList& history, const TakeOutState& state,
                        const TakeOutSettings& settings, DateTimeSource& clock,
                        const CodePage& codePage);

// A taken entry whose text the clipboard did not take goes back to its place, unless capture
// is paused: then the delivery has already added it again at the head.
inline bool PutsEntryBack(bool delivered, bool paused) { return !delivered && !paused; }

// Where a dragged entry stands once the drop is done: something may have been captured
// while it was dragged. Its old index when it is still there, else the first equal entry,
// else -1 (the entry went meanwhile).
int FindDraggedEntry(const HistoryList& history, int index, const HistoryEntry& dragged);

}  // namespace zurimo
