// The history: captured texts, entry 0 the newest. A view (the history window's list box)
// mirrors it line for line; every insertion and removal is applied to both at one index.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_entry.h"

namespace zurimo {

// The entries, newest first. Adding at the head and dropping at the tail cost the same at
// any length.
using HistoryEntries = std::deque<HistoryEntry>;

// The text shown for an entry: up to its first CR or LF.
std::string DisplayLine(std::string_view text);
// The same, as a view into `text`.
std::string_view DisplayLineView(std::string_view text);
// The same for a UTF-16 text.
std::u16string_view WideDisplayLineView(std::u16string_view text);

class HistoryView {
public:
    virtual ~HistoryView() = default;
    virtual int LineCount() const = 0;
    // `line` lies inside the entry's text; when it is the whole text, the text's terminating
    // zero follows it, so it can be handed on without a copy.
    virtual void InsertLine(int index, std::string_view line) = 0;
    // The line of an entry with a wide original, in its real characters; the same rule
    // about the terminating zero holds.
    virtual void InsertWideLine(int index, std::u16string_view line) = 0;
    virtual void RemoveLine(int index) = 0;
};

class HistoryList {
public:
    explicit HistoryList(HistoryView* view = nullptr) : view_(view) {}

    // Adds `text` as entry 0. When the view holds exactly `capacity` lines the oldest entry
    // is dropped first; a list already above capacity keeps its surplus until TrimTo.
    void Add(HistoryEntry entry, int capacity);
    // Drops the oldest entries beyond `capacity`.
    void TrimTo(int capacity);

    void Insert(int index, HistoryEntry entry);
    void Remove(int index);
    // Replaces the whole list (as after loading) and rebuilds the view, entry 0 first.
    void Assign(std::vector<HistoryEntry> entries);

    int Count() const { return static_cast<int>(entries_.size()); }
    const HistoryEntry& At(int index) const { return entries_.at(index); }
    const HistoryEntries& entries() const { return entries_; }

private:
    void ShowLine(int index);

    HistoryView* view_;
    HistoryEntries entries_;
};

}  // namespace zurimo
