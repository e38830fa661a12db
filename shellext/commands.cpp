#include "shellext/commands.h"

#include <string_view>
#include <vector>

#include "shellext/path_format.h"
#include "shellext/properties.h"
#include "shellext/shell_menu.h"
#include "shellext/shell_settings.h"
#include "shellext/url_format.h"
#include "shellext/wide_text.h"

namespace zurimo {
namespace {

// The selection's paths in the form's kind of text.
const std::string& List(const Selection& selection, const AnsiForm&) { return selection.list(); }
const std::u16string& List(const Selection& selection, const WideForm&) {
    return selection.wideList();
}
std::vector<std::string_view> Entries(const Selection& selection, const AnsiForm&) {
    return selection.Entries();
}
std::vector<std::u16string_view> Entries(const Selection& selection, const WideForm&) {
    return selection.WideEntries();
}

std::optional<std::string> Detailed(const std::string& path, ShellFacts& facts, const AnsiForm&) {
    return DetailedText(path, facts);
}
std::optional<std::u16string> Detailed(const std::u16string& path, ShellFacts& facts,
                                       const WideForm& form) {
    return DetailedText(path, facts, form.codePage);
}
std::optional<std::string> Simple(const std::string& path, ShellFacts& facts, const AnsiForm&) {
    return SimpleLine(path, facts);
}
std::optional<std::u16string> Simple(const std::u16string& path, ShellFacts& facts,
                                     const WideForm& form) {
    return SimpleLine(path, facts, form.codePage);
}

// One item's text for a path or name command; nothing when the item has none.
template <typename Text>
std::optional<Text> PathText(int offset, const Text& path, ShellFacts& facts, UnixStyle style) {
    switch (offset) {
    case kCopyLongPath: return path;
    case kCopyLongPathUnix: return ToUnixPath(path, style);
    case kCopyLongName: return FileNamePart(path);
    default: break;
    }
    std::optional<Text> shortPath = facts.ShortPath(path);
    if (!shortPath) return std::nullopt;
    if (offset == kCopyShortPathUnix) return ToUnixPath(*shortPath, style);
    if (offset == kCopyShortName) return FileNamePart(*shortPath);
    return shortPath;
}

// The shortcut file is read whichever way the item is named; its address is in the code page.
template <typename Form>
std::optional<typename Form::Text> UrlText(const Form& form, UrlForm url,
                                           const typename Form::Text& path, ShellFacts& facts) {
    std::optional<std::string> file = facts.ReadSmallFile(path, kShortcutFileLimit);
    std::optional<std::string> address = file ? ShortcutUrl(*file) : std::nullopt;
    if (!address) return std::nullopt;
    return FormatUrl(url, ShortcutName(path), form.From(*address));
}

// One text for one item; for several, the texts of those that have one, each followed by
// CR LF (`header` first), also when none has one.
template <typename Form, typename ItemText>
std::optional<typename Form::Text> OverSelection(const Form& form, const Selection& selection,
                                                 ItemText itemText, const char* header = "") {
    using Text = typename Form::Text;
    if (selection.count() == 1) {
        std::optional<Text> text = itemText(List(selection, form));
        if (text && *header) return form.From(header) + *text;
        return text;
    }
    Text all = form.From(header);
    for (const auto& entry : Entries(selection, form)) {
        if (std::optional<Text> text = itemText(Text(entry))) all += *text;
    }
    return all;
}

template <typename Text>
std::optional<Text> WithLineEnd(std::optional<Text> text) {
    if (text) *text += Ascii<Text>("\r\n");
    return text;
}

// The path, name, properties and URL commands over the selection's paths in the form's kind.
template <typename Form>
std::optional<typename Form::Text> SelectionText(const Form& form, int offset,
                                                 const Selection& selection, ShellFacts& facts,
                                                 Registry& registry) {
    using Text = typename Form::Text;
    const Text& list = List(selection, form);
    if (selection.count() == 0 || list.empty()) {
        // No path: only the long path command answers, with the empty list.
        return offset == kCopyLongPath ? std::optional<Text>(list) : std::nullopt;
    }
    bool several = selection.count() != 1;
    switch (offset) {
    case kCopyLongPath: return list;  // already one path, or lines with CR LF
    case kCopyLongPathUnix:
    case kCopyShortPath:
    case kCopyShortPathUnix:
    case kCopyLongName:
    case kCopyShortName: {
        UnixStyle style = ReadUnixStyle(registry);
        return OverSelection(form, selection, [&](const Text& path) {
            std::optional<Text> text = PathText(offset, path, facts, style);
            return several ? WithLineEnd(text) : text;
        });
    }
    case kCopyPropertiesDetailed:
        return OverSelection(form, selection,
                             [&](const Text& path) { return Detailed(path, facts, form); });
    case kCopyPropertiesSimple:
        return OverSelection(
            form, selection, [&](const Text& path) { return Simple(path, facts, form); },
            kSimpleHeader);
    case kCopyUrl:
    case kCopyUrlWithName:
    case kCopyUrlAnchor: {
        auto url = static_cast<UrlForm>(offset - kCopyUrl);
        return OverSelection(form, selection, [&](const Text& path) -> std::optional<Text> {
            if (several && !IsUrlPath(path)) return std::nullopt;
            std::optional<Text> text = UrlText(form, url, path, facts);
            return several ? WithLineEnd(text) : text;
        });
    }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CommandText(int offset, const Selection& selection, ShellFacts& facts,
                                       Registry& registry) {
    if (offset >= kUserStringOffset) return ReadUserContent(registry, offset - kUserStringOffset);
    return SelectionText(AnsiForm(), offset, selection, facts, registry);
}

std::optional<std::u16string> WideCommandText(int offset, const Selection& selection,
                                              ShellFacts& facts, Registry& registry,
                                              const CodePage& codePage) {
    if (!selection.hasWide() || offset >= kUserStringOffset) return std::nullopt;
    return SelectionText(WideForm{codePage}, offset, selection, facts, registry);
}

std::optional<ClipboardTexts> CommandTexts(int offset, const Selection& selection,
                                           ShellFacts& facts, Registry& registry,
                                           const CodePage& codePage) {
    std::optional<std::string> ansi = CommandText(offset, selection, facts, registry);
    std::optional<std::u16string> wide =
        WideCommandText(offset, selection, facts, registry, codePage);
    if (!ansi && !wide) return std::nullopt;
    ClipboardTexts texts;
    if (wide) texts.wide = *wide;
    texts.ansi = ansi ? *ansi : codePage.ToAnsi(texts.wide);
    return texts;
}

}  // namespace zurimo
