// What the Explorer extension reads from the resident program's registry key, fresh for
// every menu: four settings, the user strings and the Unix path style.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/registry.h"
#include "shellext/path_format.h"

namespace zurimo {

struct ShellSettings {
    bool separator = false;  // ShellSep: a separator below the popup
    bool hierarchy = false;  // ShellHierarchy: the commands grouped into submenus
    bool userMenu = false;   // ShellUserMenu: the user strings in the popup
};

// ShellLimit, ShellSep, ShellHierarchy and ShellUserMenu, each a four-byte REG_DWORD, with
// ShellLimit not 0; nothing otherwise (then there is no menu).
std::optional<ShellSettings> ReadShellSettings(Registry& registry);

// The caption of every User<k> from 0 up to the first key that does not open; a caption that
// does not read (another type, 260 bytes or more with its zero) is nothing but keeps its k.
std::vector<std::optional<std::string>> ReadUserCaptions(Registry& registry);

// The content of User<k> (its first string); nothing when the key or a text value of at
// most 1024 bytes is missing.
std::optional<std::string> ReadUserContent(Registry& registry, int k);

// The style DriveType of the ShellExt key names; the standard style when it cannot be read.
UnixStyle ReadUnixStyle(Registry& registry);

}  // namespace zurimo
