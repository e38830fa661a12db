// Internet shortcut files of any content, any shortcut path, and the three forms of an
// address: the address is a piece of one line of the file within its limit, and the formed
// texts keep to theirs without splitting a character.
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "shellext/path_format.h"
#include "shellext/url_format.h"

namespace zurimo::fuzz {

int UrlFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::string path = in.Text();
    std::string name = in.Text();
    std::string address = in.Text();
    std::string file = in.Rest();

    std::optional<std::string> url = ShortcutUrl(file);
    if (url) {
        FUZZ_CHECK(!url->empty() && url->size() <= 2083 && *url != "Failed!");
        FUZZ_CHECK(file.find('\0') == std::string::npos);
        FUZZ_CHECK(url->find('\n') == std::string::npos);
        FUZZ_CHECK(file.find(*url) != std::string::npos);
        FUZZ_CHECK(file.find("=") != std::string::npos && file.find(']') != std::string::npos);
    }

    // The name is the file name, less a ".url" at a character start (the first such).
    std::string shortcut = ShortcutName(path);
    std::string fileName = FileNamePart(path).value_or("");
    FUZZ_CHECK(fileName.compare(0, shortcut.size(), shortcut) == 0);
    if (shortcut.size() < fileName.size()) {
        FUZZ_CHECK(IsBoundary(CharStarts(fileName), shortcut.size()));
        FUZZ_CHECK(fileName[shortcut.size()] == '.' && fileName.size() - shortcut.size() == 4);
    }

    FUZZ_CHECK(FormatUrl(UrlForm::kUrl, name, address) == address);
    // The two formed texts are their whole text cut at a character boundary to 1023 bytes.
    bool plainName = true;
    for (char c : name) {
        plainName = plainName && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                                  (c >= 'a' && c <= 'z'));
    }
    std::string target = address;
    std::string scheme = address.substr(0, 7);
    for (char& c : scheme) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    if (scheme == "mailto:") target.erase(0, 7);
    const std::string withName = (plainName ? name : "\"" + name + "\"") + " <" + target + ">";
    const std::string anchor = "<a href=\"" + address + "\">" + name + "</a>";
    for (UrlForm form : {UrlForm::kWithName, UrlForm::kAnchor}) {
        const std::string& whole = form == UrlForm::kAnchor ? anchor : withName;
        std::string formed = FormatUrl(form, name, address);
        std::vector<std::size_t> starts = CharStarts(whole);
        FUZZ_CHECK(formed.size() <= 1023);
        FUZZ_CHECK(whole.compare(0, formed.size(), formed) == 0);
        FUZZ_CHECK(IsBoundary(starts, formed.size()));
        FUZZ_CHECK(formed.size() == whole.size() || formed.size() >= 1022);
    }
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(UrlFuzz)
