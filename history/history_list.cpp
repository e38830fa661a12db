#include "history/history_list.h"

#include <iterator>
#include <utility>

#include "base/text.h"

namespace zurimo {

std::string_view DisplayLineView(std::string_view text) {
    return text.substr(0, FindLineBreak(text));
}

std::string DisplayLine(std::string_view text) { return std::string(DisplayLineView(text)); }

std::u16string_view WideDisplayLineView(std::u16string_view text) {
    return text.substr(0, text.find_first_of(u"\r\n"));
}

void HistoryList::ShowLine(int index) {
    const HistoryEntry& entry = entries_[index];
    if (entry.HasWide()) {
        view_->InsertWideLine(index, WideDisplayLineView(entry.wide));
    } else {
        view_->InsertLine(index, DisplayLineView(entry.text));
    }
}

void HistoryList::Add(HistoryEntry entry, int capacity) {
    int lines = view_ ? view_->LineCount() : Count();
    if (lines == capacity && lines > 0) Remove(lines - 1);
    Insert(0, std::move(entry));
}

void HistoryList::TrimTo(int capacity) {
    while (capacity > 0 && Count() > capacity) Remove(Count() - 1);
}

void HistoryList::Insert(int index, HistoryEntry entry) {
    entries_.insert(entries_.begin() + index, std::move(entry));
    if (!view_) return;
    try {
        ShowLine(index);
    } catch (...) {
        entries_.erase(entries_.begin() + index);  // keep the store and the view in step
        throw;
    }
}

void HistoryList::Remove(int index) {
    entries_.erase(entries_.begin() + index);
    if (view_) view_->RemoveLine(index);
}

void HistoryList::Assign(std::vector<HistoryEntry> entries) {
    if (view_) {
        for (int i = view_->LineCount(); i > 0; --i) view_->RemoveLine(i - 1);
    }
    entries_.assign(std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
    if (!view_) return;
    int shown = 0;
    try {
        for (; shown < Count(); ++shown) ShowLine(shown);
    } catch (...) {
        // A view that can't take every line leaves both empty, as a failed load does.
        for (; shown > 0; --shown) view_->RemoveLine(shown - 1);
        entries_.clear();
        throw;
    }
}

}  // namespace zurimo
