// The selection over any paths: its list and entries, the 8.3 and URL facts against plain
// walks, and the Unix forms and name part of each path; with their UTF-16 forms (flag 0x40),
// the wide list kept only for a path that does not fit code page 932, and the wide forms
// against plain walks and against the ANSI ones.
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "shellext/path_format.h"
#include "shellext/selection.h"
#include "tests/support/iconv_code_page.h"

namespace zurimo::fuzz {
namespace {

// The parts of a path as walked by character: each folder (followed by a backslash), and
// the name after the last backslash.
struct PathParts {
    std::vector<std::string_view> folders;
    std::optional<std::string_view> name;  // nothing without a backslash
};

PathParts Split(std::string_view path) {
    PathParts parts;
    std::vector<std::size_t> starts = CharStarts(path);
    std::size_t begin = 0;
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        if (path[starts[i]] == '\\') {
            parts.folders.push_back(path.substr(begin, starts[i] - begin));
            begin = starts[i] + 1;
        }
    }
    if (!parts.folders.empty()) parts.name = path.substr(begin);
    return parts;
}

// The first and the last character start holding a single-byte dot, or npos.
std::size_t Dot(std::string_view part, bool last) {
    std::vector<std::size_t> starts = CharStarts(part);
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        if (part[starts[i]] != '.') continue;
        found = starts[i];
        if (!last) break;
    }
    return found;
}

bool Lowercase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

// What the three tests should answer: a name over 12 bytes, or over 8 without a dot of the
// 8.3 form before its extension of at most three; any folder on the path likewise.
bool Fits83(std::string_view part, std::size_t dot) {
    return dot != std::string_view::npos && part.size() - dot <= 4 && dot <= 8;
}

bool LongPart(std::string_view part, bool lastDot) {
    if (part.size() > 12) return true;
    if (part.size() <= 8) return false;
    if (lastDot) return !Fits83(part, Dot(part, true));
    // Every dot of a folder's name must leave the 8.3 form.
    std::vector<std::size_t> starts = CharStarts(part);
    bool anyDot = false;
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        if (part[starts[i]] != '.') continue;
        anyDot = true;
        if (!Fits83(part, starts[i])) return true;
    }
    return !anyDot;
}

void CheckPath(std::string_view path) {
    PathParts parts = Split(path);
    FUZZ_CHECK(IsLongName(path) == (parts.name && LongPart(*parts.name, true)));
    bool longFolder = false;
    for (std::string_view folder : parts.folders) {
        longFolder = longFolder || LongPart(folder, false);
    }
    FUZZ_CHECK(HasLongFolder(path) == longFolder);
    std::size_t dot = Dot(path, true);
    FUZZ_CHECK(IsUrlPath(path) ==
               (dot != std::string_view::npos && Lowercase(path.substr(dot), ".url")));

    std::optional<std::string> name = FileNamePart(path);
    FUZZ_CHECK(name.has_value() == parts.name.has_value());
    if (name) FUZZ_CHECK(*name == *parts.name);

    // Standard style: every single-byte backslash a slash and semicolon a colon, nothing else.
    std::string standard = ToUnixPath(path, UnixStyle::kStandard);
    std::vector<std::size_t> starts = CharStarts(path);
    std::string expected(path);
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        if (starts[i + 1] - starts[i] != 1) continue;
        if (path[starts[i]] == '\\') expected[starts[i]] = '/';
        if (path[starts[i]] == ';') expected[starts[i]] = ':';
    }
    FUZZ_CHECK(standard == expected);

    // The other styles: their prefix, then the drive as a folder (or a network path's two
    // slashes), then the rest as in the standard style.
    bool network = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
    for (UnixStyle style : {UnixStyle::kMinGW, UnixStyle::kCygwin, UnixStyle::kSfu}) {
        std::string prefix = style == UnixStyle::kCygwin ? "/cygdrive"
                             : style == UnixStyle::kSfu  ? "/dev/fs"
                                                         : "";
        std::string unix = ToUnixPath(path, style);
        FUZZ_CHECK(unix.compare(0, prefix.size(), prefix) == 0);
        if (network || path.empty()) {
            FUZZ_CHECK(unix == prefix + standard);
            continue;
        }
        std::size_t letter = starts[1];
        std::size_t rest = letter < path.size() && path[letter] == ':' ? letter + 1 : letter;
        FUZZ_CHECK(unix ==
                   prefix + "/" + std::string(path.substr(0, letter)) + expected.substr(rest));
    }
}

// A path as the wide calls would give it: the ANSI path converted, with a character code
// page 932 lacks where the ANSI calls show their stand-in '?'.
std::u16string WideOf(const std::string& path, const CodePage& codePage) {
    std::u16string wide = codePage.ToWide(path);
    for (char16_t& unit : wide) {
        if (unit == u'?') unit = u'\u2615';
    }
    return wide;
}

void CheckWidePath(std::u16string_view path, std::string_view ansi, const CodePage& codePage) {
    std::size_t slash = path.rfind(u'\\');
    std::optional<std::u16string> name = FileNamePart(path);
    FUZZ_CHECK(name.has_value() == (slash != std::u16string_view::npos));
    if (name) FUZZ_CHECK(*name == path.substr(slash + 1));
    std::size_t dot = path.rfind(u'.');
    std::u16string end(dot == std::u16string_view::npos ? u"" : path.substr(dot));
    for (char16_t& unit : end) {
        if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + 32);
    }
    FUZZ_CHECK(IsUrlPath(path) == (end == u".url"));

    // Every backslash a slash and semicolon a colon; the other styles put their prefix and
    // the drive (one character, a surrogate pair whole) before it.
    std::u16string standard(path);
    for (char16_t& unit : standard) {
        if (unit == u'\\') unit = u'/';
        if (unit == u';') unit = u':';
    }
    FUZZ_CHECK(ToUnixPath(path, UnixStyle::kStandard) == standard);
    bool network = path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\';
    std::u16string cygwin = ToUnixPath(path, UnixStyle::kCygwin);
    if (network || path.empty()) {
        FUZZ_CHECK(cygwin == u"/cygdrive" + standard);
    } else {
        bool pair = path.size() >= 2 && path[0] >= 0xD800 && path[0] < 0xDC00 &&
                    path[1] >= 0xDC00 && path[1] < 0xE000;
        std::size_t letter = pair ? 2 : 1;
        std::size_t rest = letter < path.size() && path[letter] == u':' ? letter + 1 : letter;
        FUZZ_CHECK(cygwin == u"/cygdrive/" + std::u16string(path.substr(0, letter)) +
                                 standard.substr(rest));
    }
    // A path that is its ANSI form exactly gets the same forms both ways.
    if (FitsCodePage(path, codePage) && codePage.ToAnsi(path) == ansi) {
        for (UnixStyle style : {UnixStyle::kStandard, UnixStyle::kMinGW, UnixStyle::kSfu}) {
            FUZZ_CHECK(ToUnixPath(path, style) == codePage.ToWide(ToUnixPath(ansi, style)));
        }
    }
}

}  // namespace

int SelectionFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::uint8_t flags = in.Byte();
    std::vector<std::string> first(flags % 4), second((flags >> 2) % 4);
    for (std::string& path : first) path = in.Text();
    for (std::string& path : second) path = in.Text();
    unsigned count = (flags & 0x80) ? in.Byte() : static_cast<unsigned>(first.size());
    std::string style = in.Text();

    UnixStyle named = UnixStyleFrom(style);
    FUZZ_CHECK(named == (Lowercase(style, "mingw")    ? UnixStyle::kMinGW
                         : Lowercase(style, "cygwin") ? UnixStyle::kCygwin
                         : Lowercase(style, "sfu")    ? UnixStyle::kSfu
                                                      : UnixStyle::kStandard));

    IconvCodePage codePage;
    bool wide = (flags & 0x40) != 0;
    Selection selection;
    bool url = false, longPath = false, longName = false;
    for (const std::vector<std::string>* paths : {&first, &second}) {
        std::vector<std::u16string> widePaths;
        bool fits = true, plainWide = true;  // plain: no CR or LF the entries could mistake
        std::u16string wideList;
        for (const std::string& path : *paths) {
            widePaths.push_back(WideOf(path, codePage));
            CheckWidePath(widePaths.back(), path, codePage);
            fits = fits && FitsCodePage(widePaths.back(), codePage);
            if (wide && !FitsCodePage(widePaths.back(), codePage)) {
                // A path the code page cannot hold is long; so is a name it cannot hold.
                std::u16string_view whole = widePaths.back();
                std::size_t slash = whole.rfind(u'\\');
                longPath = true;
                longName = longName ||
                           !FitsCodePage(whole.substr(slash == whole.npos ? 0 : slash + 1), codePage);
            }
            plainWide = plainWide && widePaths.back().find_first_of(u"\r\n") == std::u16string::npos;
            wideList += widePaths.back();
            if (count != 1) wideList += u"\r\n";
        }
        if (wide) {
            selection.Take(count, *paths, widePaths, codePage);
            FUZZ_CHECK(selection.hasWide() == !fits);
        } else {
            selection.Take(count, *paths);
            FUZZ_CHECK(!selection.hasWide());
        }
        if (selection.hasWide()) {
            FUZZ_CHECK(selection.wideList() == wideList);
            std::vector<std::u16string_view> entries = selection.WideEntries();
            if (count == 1) {
                FUZZ_CHECK(entries.size() == 1 && entries[0] == wideList);
            } else if (plainWide) {
                FUZZ_CHECK(entries.size() == widePaths.size());
                for (std::size_t i = 0; i < entries.size(); ++i) {
                    FUZZ_CHECK(entries[i] == widePaths[i]);
                }
            }
        } else {
            FUZZ_CHECK(selection.wideList().empty() && selection.WideEntries().empty());
        }
        std::string list;
        bool plain = true;  // no path whose CR LF the entries could mistake
        for (const std::string& path : *paths) {
            CheckPath(path);
            url = url || IsUrlPath(path);
            longName = longName || IsLongName(path);
            longPath = longPath || longName || HasLongFolder(path);
            list += path;
            if (count != 1) list += "\r\n";
            // A lead byte at the end of a path would take the CR after it as its trail byte.
            std::vector<std::size_t> starts = CharStarts(path);
            bool loneLead = !path.empty() && starts[starts.size() - 2] + 1 == path.size() &&
                            IsLeadByte932(static_cast<unsigned char>(path.back()));
            plain = plain && path.find_first_of("\r\n") == std::string::npos && !loneLead;
        }
        FUZZ_CHECK(selection.count() == count);
        FUZZ_CHECK(selection.list() == list);
        // The facts stay on once set, and a long name makes a long path.
        FUZZ_CHECK(selection.hasUrlItem == url && selection.hasLongName == longName &&
                   selection.hasLongPath == longPath);

        std::vector<std::string_view> entries = selection.Entries();
        if (count == 1) {
            FUZZ_CHECK(entries.size() == 1 && entries[0] == list);
        } else if (plain) {
            FUZZ_CHECK(entries.size() == paths->size());
            for (std::size_t i = 0; i < entries.size(); ++i) FUZZ_CHECK(entries[i] == (*paths)[i]);
        }
    }
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(SelectionFuzz)
