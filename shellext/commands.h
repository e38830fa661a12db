// The texts of the Explorer menu's commands over the selection. Each gives the text to put
// on the clipboard, or nothing when the command fails (the clipboard then stays as it was).
#pragma once

#include <optional>
#include <string>

#include "base/registry.h"
#include "shellext/selection.h"
#include "shellext/shell_facts.h"

namespace zurimo {

// The command at `offset` (see ShellCommand): paths and names, properties, URLs, or user
// string offset - 11.
std::optional<std::string> CommandText(int offset, const Selection& selection, ShellFacts& facts,
                                       Registry& registry);

}  // namespace zurimo
