#include "app/zurimo_app.h"

#include <cstdio>

namespace zurimo {
namespace {

// Reads and writes one setting; a 16-bit member keeps the low 16 bits of what it reads.
void Read(Profile& p, const char* name, std::int32_t& member) {
    member = static_cast<std::int32_t>(
        p.GetInt(kSettingsSection, name, static_cast<std::uint32_t>(member)));
}
void Read(Profile& p, const char* name, std::uint16_t& member) {
    member = static_cast<std::uint16_t>(p.GetInt(kSettingsSection, name, member));
}
void Read(Profile& p, const char* name, std::string& member) {
    member = p.GetString(kSettingsSection, name, member);
}
void Write(Profile& p, const char* name, std::int32_t member) {
    p.WriteInt(kSettingsSection, name, static_cast<std::uint32_t>(member));
}
void Write(Profile& p, const char* name, std::uint16_t member) {
    p.WriteInt(kSettingsSection, name, member);
}
void Write(Profile& p, const char* name, const std::string& member) {
    p.WriteString(kSettingsSection, name, member);
}

// Visits every value of the Settings key in its load and save order.
template <typename App, typename Visit>
void ForEachSetting(App& app, Visit visit) {
    visit("HotKeyLo", app.hotKeyLo);
    visit("HotKeyHi", app.hotKeyHi);
    visit("Number", app.number);
    visit("Paste", app.paste);
    visit("File", app.file);
    visit("Word", app.word);
    visit("AutoExec", app.autoExec);
    visit("Quote", app.quote);
    visit("DateTime", app.dateTime);
    visit("Tab", app.tab);
    visit("History", app.history);
    visit("AddYen", app.addYen);
    visit("Menu", app.menu);
    visit("ShellMenu", app.shellMenu);
    visit("ShellUserMenu", app.shellUserMenu);
    visit("ShellSep", app.shellSep);
    visit("ShellHierarchy", app.shellHierarchy);
    visit("ShellLimit", app.shellLimit);
}

}  // namespace

std::string KeyValueName(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "Key%02d", index);
    return name;
}

HistorySettings HistorySettingsOf(const CZurimoApp& app) {
    HistorySettings settings;
    settings.capacity = app.history;
    settings.tab = app.tab;
    settings.number = app.number;
    settings.paste = app.paste;
    settings.file = app.file;
    settings.dateTime = app.dateTime;
    settings.quote = app.quote;
    settings.keys = app.keyTable;
    settings.shortTexts = app.platformId != kPlatformNt;
    return settings;
}

void CZurimoApp::LoadSettings(Profile& profile) {
    ForEachSetting(*this, [&](const char* name, auto& member) { Read(profile, name, member); });
    LoadKeyTable(profile);
}

void CZurimoApp::LoadKeyTable(Profile& profile) {
    for (int i = 0; i < kKeyCount; ++i) {
        auto key = static_cast<std::uint16_t>(profile.GetInt(kSettingsSection, KeyValueName(i), 0));
        if (key != 0) keyTable[i] = key;
    }
}

void CZurimoApp::SaveSettings(Profile& profile) {
    SaveKeyTable(profile);
    ForEachSetting(*this, [&](const char* name, auto& member) { Write(profile, name, member); });
}

void CZurimoApp::SaveKeyTable(Profile& profile) {
    for (int i = 0; i < kKeyCount; ++i) {
        profile.WriteInt(kSettingsSection, KeyValueName(i), keyTable[i]);
    }
}

void CZurimoApp::SetShellLimit(Profile& profile, std::int32_t limit) {
    shellLimit = limit;
    Write(profile, "ShellLimit", shellLimit);
}

bool CZurimoApp::SetShellMenuOptions(Profile& profile, std::int32_t userMenu,
                                     std::int32_t separator, std::int32_t hierarchy) {
    if (!profile.WriteInt(kSettingsSection, "ShellUserMenu", static_cast<std::uint32_t>(userMenu)) ||
        !profile.WriteInt(kSettingsSection, "ShellSep", static_cast<std::uint32_t>(separator)) ||
        !profile.WriteInt(kSettingsSection, "ShellHierarchy", static_cast<std::uint32_t>(hierarchy))) {
        return false;
    }
    shellUserMenu = userMenu;
    shellSep = separator;
    shellHierarchy = hierarchy;
    return true;
}

}  // namespace zurimo
