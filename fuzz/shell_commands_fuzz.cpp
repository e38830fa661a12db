// The Explorer menu's commands over any selection, with the system's facts (short paths,
// directory entries, dates, shortcut files) and the registry coming from the input: the
// properties texts, every command's text, and the popup planned for the selection. With flag
// 0x20 the paths have UTF-16 forms too, with a character code page 932 lacks wherever the
// ANSI form shows '?', and every command's two clipboard texts are checked against each other.
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "fuzz/registry_input.h"
#include "shellext/commands.h"
#include "shellext/path_format.h"
#include "shellext/properties.h"
#include "shellext/shell_menu.h"
#include "shellext/shell_settings.h"
#include "tests/support/iconv_code_page.h"

namespace zurimo::fuzz {
namespace {

// Answers from a few the input gave, taken in turn.
template <typename T>
class Answers {
public:
    void Add(std::optional<T> answer) { answers_.push_back(std::move(answer)); }
    std::optional<T> Next() {
        std::optional<T> answer = Peek();
        ++next_;
        return answer;
    }
    // The answer the next call will give.
    std::optional<T> Peek() const {
        if (answers_.empty()) return std::nullopt;
        return answers_[next_ % answers_.size()];
    }

private:
    std::vector<std::optional<T>> answers_;
    std::size_t next_ = 0;
};

// A text as the wide calls would give it: converted, with a character code page 932 lacks
// where the ANSI calls show their stand-in '?'.
std::u16string WideOf(const std::string& ansi, const CodePage& codePage) {
    std::u16string wide = codePage.ToWide(ansi);
    for (char16_t& unit : wide) {
        if (unit == u'?') unit = u'\u2615';
    }
    return wide;
}

// The wide calls take their answers from the same turns as the ANSI ones.
class FakeFacts : public ShellFacts {
public:
    std::optional<std::string> ShortPath(const std::string&) override { return shortPaths.Next(); }
    std::optional<std::u16string> ShortPath(const std::u16string&) override {
        std::optional<std::string> path = shortPaths.Next();
        return path ? std::optional<std::u16string>(WideOf(*path, codePage)) : std::nullopt;
    }
    std::optional<ItemFacts> Gather(const std::string&) override { return items.Next(); }
    std::optional<WideItemFacts> Gather(const std::u16string&) override {
        std::optional<ItemFacts> item = items.Next();
        return item ? std::optional<WideItemFacts>(Wide(*item)) : std::nullopt;
    }
    std::optional<std::string> FormatDate(std::uint64_t, bool) override { return dates.Next(); }
    std::optional<std::string> FormatTime(std::uint64_t) override { return times.Next(); }
    // ASCII letters only, stepping over double-byte characters.
    std::string UpperCase(const std::string& text) override {
        std::string upper = text;
        std::vector<std::size_t> starts = CharStarts(text);
        for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
            char& c = upper[starts[i]];
            if (starts[i + 1] - starts[i] == 1 && c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 32);
            }
        }
        return upper;
    }
    std::u16string UpperCase(const std::u16string& text) override {
        std::u16string upper = text;
        for (char16_t& c : upper) {
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        }
        return upper;
    }
    std::optional<std::string> ReadSmallFile(const std::string&, std::size_t limit) override {
        std::optional<std::string> file = files.Next();
        if (file && file->size() > limit) return std::nullopt;
        return file;
    }
    std::optional<std::string> ReadSmallFile(const std::u16string&, std::size_t limit) override {
        return ReadSmallFile(std::string(), limit);
    }

    WideItemFacts Wide(const ItemFacts& item) const {
        WideItemFacts wide;
        wide.attributes = item.attributes;
        wide.created = item.created;
        wide.accessed = item.accessed;
        wide.written = item.written;
        wide.sizeHigh = item.sizeHigh;
        wide.sizeLow = item.sizeLow;
        wide.alternateName = WideOf(item.alternateName, codePage);
        wide.displayName = WideOf(item.displayName, codePage);
        wide.typeName = WideOf(item.typeName, codePage);
        wide.shellAttributes = item.shellAttributes;
        wide.version = item.version;
        wide.copyright = item.copyright;
        return wide;
    }

    IconvCodePage codePage;
    Answers<std::string> shortPaths, dates, times, files;
    Answers<ItemFacts> items;
};

std::optional<std::string> MaybeText(FuzzInput& in) {
    if (in.Byte() & 1) return std::nullopt;
    return in.Text();
}

ItemFacts ReadItem(FuzzInput& in) {
    ItemFacts item;
    item.attributes = in.U32();
    item.created = in.U64();
    item.accessed = in.U64();
    item.written = in.U64();
    item.sizeHigh = in.Byte() & 1 ? in.U32() : 0;
    item.sizeLow = in.U32();
    item.alternateName = in.Text();
    item.displayName = in.Text();
    item.typeName = in.Text();
    item.shellAttributes = in.U32();
    item.version = MaybeText(in);
    item.copyright = MaybeText(in);
    return item;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The two clipboard texts of a command (`facts` giving the answers `text` had): CF_TEXT is
// the ANSI text as it is, or the UTF-16 text's ANSI form when it alone could be had; the
// UTF-16 text is there only for a selection with UTF-16 paths, and follows their list.
void CheckBothTexts(int offset, const Selection& selection, const std::optional<std::string>& text,
                    FakeFacts& facts, Registry& registry, UnixStyle style) {
    std::optional<ClipboardTexts> texts =
        CommandTexts(offset, selection, facts, registry, facts.codePage);
    if (text) FUZZ_CHECK(texts && texts->ansi == *text);
    if (!selection.hasWide() || offset < 0 || offset >= kUserStringOffset) {
        FUZZ_CHECK(texts.has_value() == text.has_value() && (!texts || texts->wide.empty()));
        return;
    }
    const std::u16string& list = selection.wideList();
    if (!text && texts) FUZZ_CHECK(texts->ansi == facts.codePage.ToAnsi(texts->wide));
    if (selection.count() == 0 || offset == kCopyLongPath) {
        FUZZ_CHECK(offset == kCopyLongPath ? texts && texts->wide == list : !texts);
    } else if (selection.count() != 1) {
        const std::u16string& wide = texts->wide;
        FUZZ_CHECK(wide.empty() || wide.compare(wide.size() - 2, 2, u"\r\n") == 0);
        if (offset == kCopyPropertiesSimple) {
            std::u16string header = facts.codePage.ToWide(kSimpleHeader);
            FUZZ_CHECK(wide.compare(0, header.size(), header) == 0);
        }
    } else if (offset == kCopyLongPathUnix) {
        FUZZ_CHECK(texts && texts->wide == ToUnixPath(list, style));
    } else if (offset == kCopyLongName && FileNamePart(list)) {
        FUZZ_CHECK(texts && texts->wide == *FileNamePart(list));
    }
}

}  // namespace

int ShellCommandsFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::uint8_t flags = in.Byte();
    std::vector<std::string> paths(flags % 4);
    for (std::string& path : paths) path = in.Text();
    unsigned count = (flags & 0x80) ? in.Byte() % 5 : static_cast<unsigned>(paths.size());
    long long idRange = static_cast<std::int8_t>(in.Byte());

    FakeFacts facts;
    for (std::uint8_t n = in.Byte() % 4; n > 0; --n) facts.shortPaths.Add(MaybeText(in));
    for (std::uint8_t n = in.Byte() % 3; n > 0; --n) {
        if (in.Byte() & 1) facts.items.Add(std::nullopt);
        else facts.items.Add(ReadItem(in));
    }
    for (std::uint8_t n = in.Byte() % 3; n > 0; --n) facts.dates.Add(MaybeText(in));
    for (std::uint8_t n = in.Byte() % 3; n > 0; --n) facts.times.Add(MaybeText(in));
    for (std::uint8_t n = in.Byte() % 3; n > 0; --n) facts.files.Add(MaybeText(in));
    MemoryRegistry registry;
    FillRegistry(in, registry);

    const CodePage& codePage = facts.codePage;
    std::vector<std::u16string> widePaths;
    for (const std::string& path : paths) widePaths.push_back(WideOf(path, codePage));
    Selection selection;
    if (flags & 0x20) {
        selection.Take(count, paths, widePaths, codePage);
    } else {
        selection.Take(count, paths);
    }

    // The properties of the first path, as often as the facts give different answers.
    std::string path = paths.empty() ? std::string() : paths[0];
    for (int round = 0; round < 3; ++round) {
        std::optional<ItemFacts> item = facts.items.Peek();
        std::optional<std::string> detailed = DetailedText(path, facts);
        FUZZ_CHECK(detailed.has_value() == item.has_value());
        if (detailed) {
            // A mark and a space, then the name on the first line.
            std::size_t space = detailed->find(' ');
            FUZZ_CHECK(space <= 3 && detailed->compare(space + 1, item->displayName.size() + 2,
                                                       item->displayName + "\r\n") == 0);
            FUZZ_CHECK(EndsWith(*detailed, "-\r\n"));
            FUZZ_CHECK(detailed->find(item->typeName) != std::string::npos);
        }
        item = facts.items.Peek();
        std::optional<std::string> simple = SimpleLine(path, facts);
        FUZZ_CHECK(simple.has_value() == item.has_value());
        if (simple) {
            FUZZ_CHECK(EndsWith(*simple, item->displayName + " (" + item->typeName + ")\r\n"));
        }
    }

    // The same in UTF-16: the name column padded to 12 bytes of the code page.
    std::u16string widePath = widePaths.empty() ? std::u16string() : widePaths[0];
    for (int round = 0; round < 3; ++round) {
        std::optional<ItemFacts> item = facts.items.Peek();
        std::optional<std::u16string> detailed = DetailedText(widePath, facts, codePage);
        FUZZ_CHECK(detailed.has_value() == item.has_value());
        if (detailed) {
            WideItemFacts wide = facts.Wide(*item);
            std::u16string first = codePage.ToWide("● ") + wide.displayName + u"\r\n";
            FUZZ_CHECK(detailed->compare(0, first.size(), first) == 0);
            FUZZ_CHECK(detailed->size() >= 3 &&
                       detailed->compare(detailed->size() - 3, 3, u"-\r\n") == 0);
            FUZZ_CHECK(detailed->find(wide.typeName) != std::u16string::npos);
        }
        item = facts.items.Peek();
        std::optional<std::u16string> simple = SimpleLine(widePath, facts, codePage);
        FUZZ_CHECK(simple.has_value() == item.has_value());
        if (simple) {
            WideItemFacts wide = facts.Wide(*item);
            std::u16string dos = facts.UpperCase(wide.alternateName.empty() ? wide.displayName
                                                                            : wide.alternateName);
            std::size_t width = codePage.ToAnsi(dos).size();
            dos.append(width < 12 ? 12 - width : 0, u' ');
            FUZZ_CHECK(simple->compare(0, dos.size() + 2, dos + u"  ") == 0);
            std::u16string end = wide.displayName + u" (" + wide.typeName + u")\r\n";
            FUZZ_CHECK(simple->size() >= end.size() &&
                       simple->compare(simple->size() - end.size(), end.size(), end) == 0);
        }
    }

    // Every command: the long path and user strings need no facts; the rest answer with
    // one text per item, or (for several) with all the texts that could be had.
    UnixStyle style = ReadUnixStyle(registry);
    for (int offset = -1; offset <= kUserStringOffset + 2; ++offset) {
        FakeFacts sameAnswers = facts;
        std::optional<std::string> text = CommandText(offset, selection, facts, registry);
        CheckBothTexts(offset, selection, text, sameAnswers, registry, style);
        if (offset >= kUserStringOffset) {
            FUZZ_CHECK(text == ReadUserContent(registry, offset - kUserStringOffset));
        } else if (offset < 0) {
            FUZZ_CHECK(!text);
        } else if (count == 0 || selection.list().empty() || offset == kCopyLongPath) {
            FUZZ_CHECK(offset == kCopyLongPath ? text == selection.list() : !text);
        } else if (count != 1) {
            FUZZ_CHECK(text && (text->empty() || EndsWith(*text, "\r\n")));
            if (offset == kCopyPropertiesSimple) FUZZ_CHECK(StartsWith(*text, kSimpleHeader));
        } else if (offset == kCopyLongPathUnix) {
            FUZZ_CHECK(text == ToUnixPath(selection.list(), style));
        } else if (offset == kCopyLongName) {
            FUZZ_CHECK(text == FileNamePart(selection.list()));
        } else if (offset == kCopyPropertiesSimple && text) {
            FUZZ_CHECK(StartsWith(*text, kSimpleHeader));
        }
    }
    FUZZ_CHECK(registry.OpenHandleCount() == 0);

    // The popup: nothing with fewer than 11 identifiers, else never more than granted.
    std::vector<std::optional<std::string>> captions = ReadUserCaptions(registry);
    ShellMenuPlan plan = PlanShellMenu(selection, (flags & 0x40) != 0, captions, idRange);
    if (idRange < kUserStringOffset) {
        FUZZ_CHECK(plan.entries.empty() && plan.idsUsed == 0);
    } else {
        FUZZ_CHECK(!plan.entries.empty() && plan.idsUsed <= idRange);
        FUZZ_CHECK(plan.idsUsed <= kUserStringOffset + static_cast<int>(captions.size()));
        for (const ShellMenuEntry& entry : plan.entries) FUZZ_CHECK(entry.offset < plan.idsUsed);
    }
    FUZZ_CHECK(registry.OpenHandleCount() == 0);
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(ShellCommandsFuzz)
