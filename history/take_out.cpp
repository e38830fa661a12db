#include "history/take_out.h"

namespace zurimo {

TakeOutPlan PlanTakeOut(const HistoryList& history, const TakeOutState& state,
                        const TakeOutSettings& settings, DateTimeSource& clock,
                        const CodePage& codePage) {
    TakeOutPlan plan;
    if (state.menuChoicePending) {
        plan.kind = TakeOutKind::kMenuChoice;
        plan.text = HistoryEntry(state.menuChoice);
        return plan;
    }
    if (state.dateTimeBox) {
        plan.kind = TakeOutKind::kDateTime;
        plan.text = HistoryEntry(
            DateTimeTakeOutText(clock, settings.dateTime, state.quoteBox, settings.quote));
        plan.untickDateTime = true;
        plan.untickQuote = state.quoteBox;
        return plan;
    }
    if (state.selected < 0 || state.selected >= history.Count()) return plan;
    const HistoryEntry& entry = history.At(state.selected);
    if (state.quoteBox) {
        plan.kind = TakeOutKind::kQuoted;
        plan.text.text = QuoteText(entry.text, settings.quote);
        if (entry.HasWide()) {
            plan.text.wide = QuoteText(entry.wide, codePage.ToWide(settings.quote));
        }
        plan.untickQuote = true;
        return plan;
    }
    plan.kind = TakeOutKind::kEntry;
    plan.text = entry;
    plan.entryIndex = state.selected;
    return plan;
}

int FindDraggedEntry(const HistoryList& history, int index, const HistoryEntry& dragged) {
    if (index >= 0 && index < history.Count() && history.At(index) == dragged) return index;
    for (int i = 0; i < history.Count(); ++i) {
        if (history.At(i) == dragged) return i;
    }
    return -1;
}

}  // namespace zurimo
