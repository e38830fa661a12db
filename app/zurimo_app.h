// The application object: the in-memory copy of every setting, read once at start and
// written back once at exit. The rest of the program reads and assigns the members directly.
#pragma once

#include <cstdint>
#include <string>

#include "base/product.h"
#include "base/profile.h"
#include "history/history_settings.h"
#include "history/list_keys.h"

namespace zurimo {


// Operating-system families, as the version query reports them.
constexpr std::uint32_t kPlatformWin95 = 1;
constexpr std::uint32_t kPlatformNt = 2;

class CZurimoApp {
public:
    // Settings, with their defaults.
    std::uint16_t hotKeyLo = 0;  // virtual-key code of the global hot key
    std::uint16_t hotKeyHi = 0;  // its modifiers as the hot-key control gives them
    std::int32_t number = 0;
    std::int32_t paste = 0;
    std::int32_t file = 0;
    std::int32_t word = 0;
    std::int32_t autoExec = 0;
    std::string quote = ">";
    std::int32_t dateTime = 0;
    std::int32_t tab = 1;
    std::int32_t history = 100;
    std::int32_t addYen = 0;
    std::int32_t menu = 0;
    std::int32_t shellMenu = 0;
    std::int32_t shellUserMenu = 0;
    std::int32_t shellSep = 0;
    std::int32_t shellHierarchy = 0;
    std::int32_t shellLimit = 32;
    KeyTable keyTable = kDefaultKeys;

    // For this run only.
    std::uint32_t platformId = kPlatformNt;

    void LoadSettings(Profile& profile);
    void LoadKeyTable(Profile& profile);
    void SaveSettings(Profile& profile);
    void SaveKeyTable(Profile& profile);

    // Stores the limit and writes `ShellLimit` at once.
    void SetShellLimit(Profile& profile, std::int32_t limit);
    // Writes the three values at once, stopping at the first failed write; only when all
    // three were written are the members replaced. Returns whether all succeeded.
    bool SetShellMenuOptions(Profile& profile, std::int32_t userMenu, std::int32_t separator,
                             std::int32_t hierarchy);
};

// What the history window works with, from the settings.
HistorySettings HistorySettingsOf(const CZurimoApp& app);

// "Key00" .. "Key08".
std::string KeyValueName(int index);

}  // namespace zurimo
