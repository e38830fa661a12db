#include "shellext/properties.h"

#include "shellext/wide_text.h"

namespace zurimo {
namespace {

constexpr char kUnknown[] = "Unknown";
constexpr char kSeparator[] =
    " --------------------------------------------------------------------\r\n";
constexpr std::size_t kLocationLimit = 255;

template <typename Form>
typename Form::Text Line(const Form& form, const char* label, const typename Form::Text& value) {
    return form.From(label) + value + form.From("\r\n");
}

template <typename Form, typename Text>
Text PadRight(const Form& form, Text text, std::size_t width) {
    std::size_t used = form.Width(text);
    if (used < width) text.append(width - used, ' ');
    return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

template <typename Text>
std::string SizeText(const BasicItemFacts<Text>& item) {
    return item.sizeHigh != 0 ? std::string(kUnknown) : GroupedNumber(item.sizeLow);
}

// The folder the item is in: the path up to its last backslash, that backslash left out.
template <typename Text>
Text Location(const Text& path) {
    std::size_t slash = FindLastChar(path, '\\');
    Text folder = slash == Text::npos ? path : path.substr(0, slash);
    return CutAtCharBoundary(folder, kLocationLimit);
}

template <typename Text>
Text DosName(const BasicItemFacts<Text>& item) {
    return item.alternateName.empty() ? item.displayName : item.alternateName;
}

// "date time" in the long date form, or "Unknown" when either part cannot be formatted.
std::string DetailedTime(ShellFacts& facts, std::uint64_t fileTime) {
    std::optional<std::string> date = facts.FormatDate(fileTime, true);
    std::optional<std::string> time = facts.FormatTime(fileTime);
    return date && time ? *date + " " + *time : std::string(kUnknown);
}

template <typename Form>
std::optional<typename Form::Text> Detailed(const Form& form, const typename Form::Text& path,
                                            ShellFacts& facts) {
    using Text = typename Form::Text;
    auto found = facts.Gather(path);
    if (!found) return std::nullopt;
    const auto& item = *found;
    bool folder = (item.shellAttributes & kShellFolder) != 0;
    auto time = [&](std::uint64_t fileTime) { return form.From(DetailedTime(facts, fileTime)); };

    Text rule = form.From(kSeparator);
    Text text = Line(form, "● ", item.displayName);
    text += rule;
    text += Line(form, "    種類             : ", item.typeName);
    text += Line(form, "    場所             : ", Location(path));
    if (!folder) text += Line(form, "    サイズ           : ", form.From(SizeText(item) + " bytes"));
    text += rule;
    text += facts.UpperCase(Line(form, "    MS-DOSファイル名 : ", DosName(item)));
    if (!folder) text += Line(form, "    作成日時         : ", time(item.created));
    text += Line(form, "    更新日時         : ", time(item.written));
    if (!folder) text += Line(form, "    アクセス日時     : ", time(item.accessed));
    text += rule;
    text += Line(form, "    属性             : ", form.From(AttributeLetters(item.attributes)));
    text += rule;
    if (!folder && item.version) {
        text += Line(form, "    バージョン       : ", form.From(*item.version));
        if (item.copyright) text += Line(form, "    著作権           : ", form.From(*item.copyright));
        text += rule;
    }
    return text;
}

template <typename Form>
std::optional<typename Form::Text> Simple(const Form& form, const typename Form::Text& path,
                                          ShellFacts& facts) {
    auto found = facts.Gather(path);
    if (!found) return std::nullopt;
    const auto& item = *found;

    auto name = facts.UpperCase(PadRight(form, DosName(item), 12));
    std::string size = (item.attributes & kAttributeDirectory) ? std::string(12, ' ')
                                                               : PadLeft(SizeText(item), 12);
    std::optional<std::string> date = facts.FormatDate(item.written, false);
    std::optional<std::string> time = facts.FormatTime(item.written);
    std::string written = date && time ? *date + PadLeft(*time, 10) : std::string(kUnknown);
    return name +
           form.From("  " + size + "  " + written + "  " +
                     PadLeft(AttributeLetters(item.attributes), 5) + "  ") +
           item.displayName + form.From(" (") + item.typeName + form.From(")\r\n");
}

}  // namespace

const char kSimpleHeader[] =
    "MS-DOS 名           サイズ  最終更新日時         属性  名前 (種類)\r\n";

std::string GroupedNumber(std::uint32_t value) {
    std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string AttributeLetters(std::uint32_t attributes) {
    std::string letters;
    if (attributes & kAttributeReadOnly) letters += 'R';
    if (attributes & kAttributeHidden) letters += 'H';
    if (attributes & kAttributeSystem) letters += 'S';
    if (attributes & kAttributeArchive) letters += 'A';
    if (attributes & kAttributeCompressed) letters += 'C';
    return letters;
}

std::optional<std::string> DetailedText(const std::string& path, ShellFacts& facts) {
    return Detailed(AnsiForm(), path, facts);
}

std::optional<std::string> SimpleLine(const std::string& path, ShellFacts& facts) {
    return Simple(AnsiForm(), path, facts);
}

std::optional<std::u16string> DetailedText(const std::u16string& path, ShellFacts& facts,
                                           const CodePage& codePage) {
    return Detailed(WideForm{codePage}, path, facts);
}

std::optional<std::u16string> SimpleLine(const std::u16string& path, ShellFacts& facts,
                                         const CodePage& codePage) {
    return Simple(WideForm{codePage}, path, facts);
}

}  // namespace zurimo
