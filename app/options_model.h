// The options: what each page holds, how confirming them changes the settings and the
// program, and the checks of the Key page.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/zurimo_app.h"

namespace zurimo {

struct GeneralOptions {
    std::int32_t file = 0, paste = 0, dateTime = 0, word = 0, autoExec = 0;
    std::string quote;
};
struct ViewOptions {
    std::int32_t tab = 1, history = 100;
};
struct KeyOptions {
    std::uint16_t hotKeyHi = 0, hotKeyLo = 0;
    std::int32_t number = 0;
    std::array<std::uint16_t, kKeyCount> keys = kDefaultKeys;
};
struct ContextMenuOptions {
    std::int32_t addYen = 0, menu = 0;
};
struct ShellExtOptions {
    std::int32_t shellMenu = 0, shellUserMenu = 0, shellSep = 0, shellHierarchy = 0;
    std::int32_t shellLimit = 32;
    int driveType = 0;  // index of "std", "mingw", "cygwin", "sfu"
};
struct Options {
    GeneralOptions general;
    ViewOptions view;
    KeyOptions key;
    ContextMenuOptions contextMenu;
    ShellExtOptions shellExt;
};

// Page indexes in the sheet.
enum OptionsPage { kPageGeneral, kPageView, kPageKey, kPageContextMenu, kPageShellExt };

// What applying the options does beyond the settings in memory.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    virtual void InstallMainHook() = 0;
    virtual void RemoveMainHook() = 0;
    virtual void InstallWordHook() = 0;
    virtual void RemoveWordHook() = 0;
    virtual bool SetAutoStart(bool enable) = 0;
    // Applies the hot-key change rule and stores the new pair.
    virtual void ChangeHotKey(std::uint16_t key, std::uint16_t modifiers) = 0;
    virtual void RebuildContextMenu() = 0;
    virtual bool RegisterShellExtension(bool on) = 0;
    virtual void WriteDriveType(int index) = 0;  // into the ShellExt key, made when missing
};

// Every setting into the pages (the Unix path style is read separately).
void FillOptions(const CZurimoApp& app, Options* options);

// OK: every page, in the program's order.
void ApplyAllOptions(const Options& options, CZurimoApp& app, Profile& profile, OptionsHost& host);
// Apply: only the page in front.
void ApplyOptionsPage(int page, const Options& options, CZurimoApp& app, Profile& profile,
                      OptionsHost& host);

// The Unix path styles as stored in DriveType, and back (ignoring case; anything else is 0).
const char* DriveTypeText(int index);
int DriveTypeIndex(std::string_view text);

// The messages of a number field that does not hold a number, or one out of its range.
std::string NotAnIntegerMessage();
std::string IntegerRangeMessage(std::int32_t low, std::int32_t high);

// An integer typed into a dialog field: optional spaces and sign, digits, optional spaces.
bool ParseDialogInt(std::string_view text, std::int32_t* value);

// The Key page's check of a key for an operation (0-8) or for the global hot key (9).
constexpr int kHotKeyCheck = 9;
enum class KeyCheck { kNone, kConflict, kDuplicate };
enum class KeyMessage { kNone, kDigit, kHotKey, kDuplicateOfHotKey };
struct KeyCheckResult {
    KeyCheck result = KeyCheck::kNone;
    KeyMessage message = KeyMessage::kNone;
    int duplicate = -1;             // the operation that has the key already
    bool resetOperationField = false;
};
KeyCheckResult CheckOperationKey(int operation, std::uint16_t key, const KeyOptions& page);

// The names of the operations, in key-table order, and the Key page's messages.
extern const char* const kOperationNames[kKeyCount];
std::string KeyMessageText(KeyMessage message, int duplicate);

}  // namespace zurimo
