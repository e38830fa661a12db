// The registry entries the program keeps outside its Settings key, as lists of changes.
#pragma once

#include <string>

#include "base/reg_changes.h"

namespace zurimo {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kShellExtKey[] = "Software\\Kestro!\\Zurimo!\\ShellExt";

// The logon autostart value "Zurimo!" under the Run key (which must exist): the program's
// path, unquoted and without arguments; or, with `enable` false, its removal.
RegChanges AutoStartChanges(bool enable, const std::string& programPath);

// The Unix path style of the shell extension ("std", "mingw", "cygwin", "sfu" for 0 to 3),
// written into the ShellExt key, which is created when missing.
RegChanges DriveTypeChanges(int index);

}  // namespace zurimo
