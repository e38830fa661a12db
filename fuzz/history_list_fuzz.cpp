// The display line of any text, and the history list with its view driven by a sequence of
// adds, inserts, removals and loads, with a view that can refuse a line: the list and the
// view stay in step line for line.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "history/history_list.h"

namespace zurimo::fuzz {
namespace {

struct Refused {};

// A list box that refuses the insertion it was told to refuse.
class FakeView : public HistoryView {
public:
    int LineCount() const override { return static_cast<int>(lines.size()); }
    void InsertLine(int index, std::string_view line) override {
        // The line lies in its entry's text: the byte after it is the line break or, for a
        // whole text, the text's terminating zero.
        char after = line.data()[line.size()];
        FUZZ_CHECK(after == '\0' || after == '\r' || after == '\n');
        if (refuseIn >= 0 && refuseIn-- == 0) throw Refused();
        lines.insert(lines.begin() + index, std::string(line));
    }
    void InsertWideLine(int index, std::u16string_view line) override {
        char16_t after = line.data()[line.size()];
        FUZZ_CHECK(after == u'\0' || after == u'\r' || after == u'\n');
        if (refuseIn >= 0 && refuseIn-- == 0) throw Refused();
        // Kept as the units' low bytes with a mark in front, apart from any ANSI line.
        std::string narrow = "W:";
        for (char16_t unit : line) narrow += static_cast<char>(unit & 0xFF);
        lines.insert(lines.begin() + index, narrow);
    }
    void RemoveLine(int index) override { lines.erase(lines.begin() + index); }

    std::vector<std::string> lines;
    int refuseIn = -1;  // the insertions to take before refusing one; -1: take all
};

// The display line: everything before the first CR or LF that starts a character.
void CheckDisplayLine(std::string_view text) {
    std::string line = DisplayLine(text);
    FUZZ_CHECK(DisplayLineView(text) == line);
    FUZZ_CHECK(DisplayLineView(text).data() == text.data());
    std::size_t expected = text.size();
    std::vector<std::size_t> starts = CharStarts(text);
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        if (text[starts[i]] == '\r' || text[starts[i]] == '\n') {
            expected = starts[i];
            break;
        }
    }
    FUZZ_CHECK(line == text.substr(0, expected));
}

std::string LineOf(const HistoryEntry& entry) {
    if (!entry.HasWide()) return DisplayLine(entry.text);
    std::string narrow = "W:";
    for (char16_t unit : WideDisplayLineView(entry.wide)) narrow += static_cast<char>(unit & 0xFF);
    return narrow;
}

// Half the texts come with an original outside any code page (each byte raised by 0x3000,
// so that its CR and LF stay).
HistoryEntry MakeEntry(std::string text, bool wide) {
    if (!wide || text.empty()) return HistoryEntry(std::move(text));
    std::u16string original;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        original += byte == '\r' || byte == '\n' ? static_cast<char16_t>(byte)
                                                 : static_cast<char16_t>(0x3000 + byte);
    }
    return HistoryEntry(std::move(text), std::move(original));
}

bool Same(const HistoryList& list, const std::vector<HistoryEntry>& entries) {
    return list.entries().size() == entries.size() &&
           std::equal(entries.begin(), entries.end(), list.entries().begin());
}

void CheckInStep(const HistoryList& list, const FakeView& view) {
    FUZZ_CHECK(view.lines.size() == list.entries().size());
    for (int i = 0; i < list.Count(); ++i) FUZZ_CHECK(view.lines[i] == LineOf(list.At(i)));
}

}  // namespace

int HistoryListFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    FakeView view;
    HistoryList list(&view);
    while (!in.empty()) {
        std::uint8_t op = in.Byte();
        view.refuseIn = (op & 0x80) ? in.Byte() % 4 : -1;
        int count = list.Count();
        bool refused = false;
        try {
            switch (op % 4) {
            case 0: {
                HistoryEntry text = MakeEntry(in.Text(), op & 0x40);
                int capacity = in.Byte() % 8;
                CheckDisplayLine(text.text);
                HistoryEntry newest = count > 0 ? list.At(0) : HistoryEntry();
                list.Add(text, capacity);
                // The oldest goes only when the list is exactly full; the newest moves down.
                FUZZ_CHECK(list.Count() == (count == capacity && count > 0 ? count : count + 1));
                FUZZ_CHECK(list.At(0) == text);
                if (list.Count() > 1) FUZZ_CHECK(list.At(1) == newest);
                break;
            }
            case 1: {
                HistoryEntry text = MakeEntry(in.Text(), op & 0x40);
                list.Insert(in.Byte() % (count + 1), text);
                break;
            }
            case 2:
                if (count > 0) list.Remove(in.Byte() % count);
                break;
            default: {
                std::vector<HistoryEntry> entries(in.Byte() % 6);
                for (HistoryEntry& entry : entries) entry = MakeEntry(in.Text(), in.Byte() & 1);
                list.Assign(entries);
                FUZZ_CHECK(Same(list, entries));
                break;
            }
            }
        } catch (const Refused&) {
            refused = true;  // the entry is left out too (a refused load leaves both empty)
        }
        // Whole lines compared after a refusal and at the end; the count after every step.
        if (refused || op % 4 == 3) {
            CheckInStep(list, view);
        } else {
            FUZZ_CHECK(view.lines.size() == list.entries().size());
        }
    }
    CheckInStep(list, view);
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(HistoryListFuzz)
