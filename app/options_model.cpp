#include "app/options_model.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/hot_key_rules.h"
#include "base/text.h"

namespace zurimo {
namespace {

constexpr const char* kDriveTypes[] = {"std", "mingw", "cygwin", "sfu"};

// The General page: the hooks follow Paste and Word, autostart changes only when the entry
// could be written or removed, and the rest is stored.
void ApplyGeneral(const GeneralOptions& g, CZurimoApp& app, OptionsHost& host) {
    if (g.paste != app.paste) {
        app.paste = g.paste;
        g.paste ? host.InstallMainHook() : host.RemoveMainHook();
    }
    app.file = g.file;
    if (g.word != app.word) {
        app.word = g.word;
        g.word ? host.InstallWordHook() : host.RemoveWordHook();
    }
    if (g.autoExec != app.autoExec && host.SetAutoStart(g.autoExec != 0)) {
        app.autoExec = g.autoExec;
    }
    app.quote = g.quote;
    app.dateTime = g.dateTime;
}

void ApplyView(const ViewOptions& v, CZurimoApp& app) {
    app.history = v.history;
    app.tab = v.tab;
}

void ApplyKey(const KeyOptions& k, CZurimoApp& app, OptionsHost& host) {
    host.ChangeHotKey(k.hotKeyLo, k.hotKeyHi);
    app.number = k.number;
    app.keyTable = k.keys;
}

void ApplyContextMenu(const ContextMenuOptions& c, CZurimoApp& app, OptionsHost& host) {
    app.addYen = c.addYen;
    app.menu = c.menu;
    host.RebuildContextMenu();
}

void ApplyShellMenu(const ShellExtOptions& s, CZurimoApp& app, OptionsHost& host) {
    if (s.shellMenu != app.shellMenu) {
        app.shellMenu = s.shellMenu;
        host.RegisterShellExtension(s.shellMenu != 0);
    }
}

}  // namespace

const char* const kOperationNames[kKeyCount] = {
    "取り出し", "削除", "検索", "編集", "オプション", "閉じる", "前へ", "次へ", "コンテキストメニュー",
};

void FillOptions(const CZurimoApp& app, Options* o) {
    o->general.file = app.file;
    o->general.paste = app.paste;
    o->general.quote = app.quote;
    o->general.dateTime = app.dateTime;
    o->general.word = app.word;
    o->general.autoExec = app.autoExec;
    o->view.tab = app.tab;
    o->view.history = app.history;
    o->key.hotKeyHi = app.hotKeyHi;
    o->key.hotKeyLo = app.hotKeyLo;
    o->key.number = app.number;
    o->key.keys = app.keyTable;
    o->contextMenu.addYen = app.addYen;
    o->contextMenu.menu = app.menu;
    o->shellExt.shellMenu = app.shellMenu;
    o->shellExt.shellUserMenu = app.shellUserMenu;
    o->shellExt.shellSep = app.shellSep;
    o->shellExt.shellHierarchy = app.shellHierarchy;
    o->shellExt.shellLimit = app.shellLimit;
}

void ApplyAllOptions(const Options& o, CZurimoApp& app, Profile& profile, OptionsHost& host) {
    ApplyGeneral(o.general, app, host);
    ApplyView(o.view, app);
    ApplyKey(o.key, app, host);
    ApplyContextMenu(o.contextMenu, app, host);
    ApplyShellMenu(o.shellExt, app, host);
    app.SetShellLimit(profile, o.shellExt.shellLimit);
    app.SetShellMenuOptions(profile, o.shellExt.shellUserMenu, o.shellExt.shellSep,
                            o.shellExt.shellHierarchy);
    host.WriteDriveType(o.shellExt.driveType);
}

void ApplyOptionsPage(int page, const Options& o, CZurimoApp& app, Profile& profile,
                      OptionsHost& host) {
    switch (page) {
    case kPageGeneral: ApplyGeneral(o.general, app, host); break;
    case kPageView: ApplyView(o.view, app); break;
    case kPageKey: ApplyKey(o.key, app, host); break;
    case kPageContextMenu: ApplyContextMenu(o.contextMenu, app, host); break;
    case kPageShellExt:
        ApplyShellMenu(o.shellExt, app, host);
        app.SetShellMenuOptions(profile, o.shellExt.shellUserMenu, o.shellExt.shellSep,
                                o.shellExt.shellHierarchy);
        app.SetShellLimit(profile, o.shellExt.shellLimit);
        host.WriteDriveType(o.shellExt.driveType);
        break;
    }
}

const char* DriveTypeText(int index) {
    return index >= 0 && index < 4 ? kDriveTypes[index] : kDriveTypes[0];
}

int DriveTypeIndex(std::string_view text) {
    for (int i = 0; i < 4; ++i) {
        if (EqualsIgnoringAsciiCase(text, kDriveTypes[i])) return i;
    }
    return 0;
}

std::string NotAnIntegerMessage() { return "整数を入力してください。"; }

std::string IntegerRangeMessage(std::int32_t low, std::int32_t high) {
    std::string text = "%1 から %2 までの整数を入力してください。";
    text.replace(text.find("%1"), 2, std::to_string(low));
    text.replace(text.find("%2"), 2, std::to_string(high));
    return text;
}

bool ParseDialogInt(std::string_view text, std::int32_t* value) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::size_t digits = i;
    long long number = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number = number * 10 + (text[i++] - '0');
        if (number > 2147483648LL) return false;
    }
    if (i == digits) return false;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i != text.size()) return false;
    if (negative) number = -number;
    if (number > 2147483647LL) return false;
    *value = static_cast<std::int32_t>(number);
    return true;
}

KeyCheckResult CheckOperationKey(int operation, std::uint16_t key, const KeyOptions& page) {
    KeyCheckResult check;
    bool forOperation = operation != kHotKeyCheck;
    if (page.number && key >= '1' && key <= '9') {
        check.result = KeyCheck::kConflict;
        check.message = KeyMessage::kDigit;
        check.resetOperationField = forOperation;
        return check;
    }
    int equal = -1;
    for (int i = 0; i < kKeyCount && equal < 0; ++i) {
        if (i != operation && page.keys[i] == key) equal = i;
    }
    if (forOperation && page.hotKeyHi == kHotKeyControl && page.hotKeyLo == key) {
        check.result = KeyCheck::kConflict;
        check.message = KeyMessage::kHotKey;
        check.resetOperationField = true;
        return check;
    }
    if (equal < 0) return check;
    check.result = KeyCheck::kDuplicate;
    check.duplicate = equal;
    if (!forOperation) check.message = KeyMessage::kDuplicateOfHotKey;
    return check;
}

std::string KeyMessageText(KeyMessage message, int duplicate) {
    switch (message) {
    case KeyMessage::kNone: return std::string();
    case KeyMessage::kDigit:
        return "[数字キーで取り出し] が有効なので、1 ～ 9 の数字キーは使えません。";
    case KeyMessage::kHotKey: return "ホットキーと重複しています\r\n他のキーを割り当ててください";
    case KeyMessage::kDuplicateOfHotKey: {
        const char* name = duplicate >= 0 && duplicate < kKeyCount ? kOperationNames[duplicate] : "";
        return std::string("[") + name + "] と重複しています\r\n他のキーを割り当ててください";
    }
    }
    return std::string();
}

}  // namespace zurimo
