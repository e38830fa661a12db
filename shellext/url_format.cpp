#include "shellext/url_format.h"

#include "shellext/path_format.h"
#include "shellext/wide_text.h"

namespace zurimo {
namespace {

constexpr std::size_t kAddressLimit = 2083;
constexpr std::size_t kFormedLimit = 1023;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

template <typename Text>
bool IsPlainName(const Text& name) {
    for (auto c : name) {
        bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!plain) return false;
    }
    return true;
}

template <typename Char>
std::basic_string<Char> ShortcutNameOf(std::basic_string_view<Char> path) {
    using Text = std::basic_string<Char>;
    Text name = FileNamePart(path).value_or(Text());
    for (std::size_t dot = FindChar(name, '.'); dot != Text::npos;
         dot = FindChar(name, '.', dot + 1)) {
        if (EqualsIgnoringAsciiCase(std::basic_string_view<Char>(name).substr(dot), ".url")) {
            return name.substr(0, dot);
        }
    }
    return name;
}

template <typename Text>
Text FormatUrlOf(UrlForm form, const Text& name, const Text& address) {
    auto ascii = [](const char* text) { return Ascii<Text>(text); };
    switch (form) {
    case UrlForm::kUrl: return address;
    case UrlForm::kWithName: {
        Text target = address;
        if (target.size() >= 7 && EqualsIgnoringAsciiCase(target.substr(0, 7), "mailto:")) {
            target.erase(0, 7);
        }
        Text shown = IsPlainName(name) ? name : ascii("\"") + name + ascii("\"");
        return CutAtCharBoundary(shown + ascii(" <") + target + ascii(">"), kFormedLimit);
    }
    case UrlForm::kAnchor:
        return CutAtCharBoundary(ascii("<a href=\"") + address + ascii("\">") + name + ascii("</a>"),
                                 kFormedLimit);
    }
    return address;
}

}  // namespace

std::optional<std::string> ShortcutUrl(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return std::nullopt;  // not a text file
    bool inSection = false;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.front() == '[') {
            std::size_t close = line.find(']');
            inSection = close != std::string_view::npos &&
                        EqualsIgnoringAsciiCase(Trim(line.substr(1, close - 1)), "InternetShortcut");
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos ||
            !EqualsIgnoringAsciiCase(Trim(line.substr(0, equals)), "URL")) {
            continue;
        }
        std::string_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        std::string address = CutAtCharBoundary(value, kAddressLimit);
        if (address.empty() || address == "Failed!") return std::nullopt;
        return address;
    }
    return std::nullopt;
}

std::string ShortcutName(std::string_view path) { return ShortcutNameOf(path); }

std::u16string ShortcutName(std::u16string_view path) { return ShortcutNameOf(path); }

std::string FormatUrl(UrlForm form, const std::string& name, const std::string& address) {
    return FormatUrlOf(form, name, address);
}

std::u16string FormatUrl(UrlForm form, const std::u16string& name,
                         const std::u16string& address) {
    return FormatUrlOf(form, name, address);
}

}  // namespace zurimo
