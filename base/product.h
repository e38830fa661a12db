// The names the program is known by: its title (also every message box's caption) and the
// registry key of its settings and lists under HKEY_CURRENT_USER.
#pragma once

namespace zurimo {

constexpr char kMakerKey[] = "Kestro!";
constexpr char kAppTitle[] = "Zurimo!";
constexpr char kAppKey[] = "Software\\Kestro!\\Zurimo!";
// The section of the settings below kAppKey.
constexpr char kSettingsSection[] = "Settings";

// The standard report of memory running out.
constexpr char kOutOfMemoryText[] = "ﾒﾓﾘが不足しています。";

}  // namespace zurimo
