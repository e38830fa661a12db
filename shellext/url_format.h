// Internet shortcuts (.url files) and the three forms the Explorer menu gives their
// address in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zurimo {

// Shortcut files larger than this are not read: no address.
constexpr std::size_t kShortcutFileLimit = 1 << 20;

// The value of key URL in section [InternetShortcut] of a shortcut file's text, as the
// profile functions read it (names in any case, spaces around the value and one pair of
// quotes taken off, at most 2083 bytes). Nothing when it is missing, empty or "Failed!",
// and for a file that is not text (it holds a zero byte).
std::optional<std::string> ShortcutUrl(std::string_view fileText);

// The shortcut's name: its file name up to the ".url" at its end (My Site.url: My Site).
std::string ShortcutName(std::string_view path);
std::u16string ShortcutName(std::u16string_view path);

enum class UrlForm { kUrl, kWithName, kAnchor };
// The address alone; "name <address>" ("\"name\" <address>" unless the name is only ASCII
// letters and digits; a mailto: address without its scheme); or <a href="address">name</a>.
// The two formed texts are cut at 1023 bytes, or in UTF-16 at 1023 units.
std::string FormatUrl(UrlForm form, const std::string& name, const std::string& address);
std::u16string FormatUrl(UrlForm form, const std::u16string& name,
                         const std::u16string& address);

}  // namespace zurimo
