#include "shellext/properties.h"


#include "base/text.h"

namespace zurimo {
namespace {

constexpr char kUnknown[] = "Unknown";
constexpr char kSeparator[] =
    " --------------------------------------------------------------------\r\n";
constexpr std::size_t kLocationLimit = 255;

std::string Line(const char* label, const std::string& value) {
    return std::string(label) + value + "\r\n";
}

std::string PadRight(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string SizeText(const ItemFacts& item) {
    return item.sizeHigh != 0 ? std::string(kUnknown) : GroupedNumber(item.sizeLow);
}

// The folder the item is in: the path up to its last backslash, that backslash left out.
std::string Location(const std::string& path) {
    std::size_t slash = FindLastChar(path, '\\');
    std::string folder = slash == std::string::npos ? path : path.substr(0, slash);
    return CutAtCharBoundary(folder, kLocationLimit);
}

std::string DosName(const ItemFacts& item) {
    return item.alternateName.empty() ? item.displayName : item.alternateName;
}

// "date time" in the long date form, or "Unknown" when either part cannot be formatted.
std::string DetailedTime(ShellFacts& facts, std::uint64_t fileTime) {
    std::optional<std::string> date = facts.FormatDate(fileTime, true);
    std::optional<std::string> time = facts.FormatTime(fileTime);
    return date && time ? *date + " " + *time : std::string(kUnknown);
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
    std::optional<ItemFacts> found = facts.Gather(path);
    if (!found) return std::nullopt;
    const ItemFacts& item = *found;
    bool folder = (item.shellAttributes & kShellFolder) != 0;

    std::string text = "● " + item.displayName + "\r\n";
    text += kSeparator;
    text += Line("    種類             : ", item.typeName);
    text += Line("    場所             : ", Location(path));
    if (!folder) text += Line("    サイズ           : ", SizeText(item) + " bytes");
    text += kSeparator;
    text += facts.UpperCase(Line("    MS-DOSファイル名 : ", DosName(item)));
    if (!folder) text += Line("    作成日時         : ", DetailedTime(facts, item.created));
    text += Line("    更新日時         : ", DetailedTime(facts, item.written));
    if (!folder) text += Line("    アクセス日時     : ", DetailedTime(facts, item.accessed));
    text += kSeparator;
    text += Line("    属性             : ", AttributeLetters(item.attributes));
    text += kSeparator;
    if (!folder && item.version) {
        text += Line("    バージョン       : ", *item.version);
        if (item.copyright) text += Line("    著作権           : ", *item.copyright);
        text += kSeparator;
    }
    return text;
}

std::optional<std::string> SimpleLine(const std::string& path, ShellFacts& facts) {
    std::optional<ItemFacts> found = facts.Gather(path);
    if (!found) return std::nullopt;
    const ItemFacts& item = *found;

    std::string name = facts.UpperCase(PadRight(DosName(item), 12));
    std::string size = (item.attributes & kAttributeDirectory) ? std::string(12, ' ')
                                                               : PadLeft(SizeText(item), 12);
    std::optional<std::string> date = facts.FormatDate(item.written, false);
    std::optional<std::string> time = facts.FormatTime(item.written);
    std::string written = date && time ? *date + PadLeft(*time, 10) : std::string(kUnknown);
    return name + "  " + size + "  " + written + "  " + PadLeft(AttributeLetters(item.attributes), 5) +
           "  " + item.displayName + " (" + item.typeName + ")\r\n";
}

}  // namespace zurimo
