// The options sheet's model: the Key page's checks, what OK and Apply change, and the small
// conversions of the pages' fields.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/hot_key_rules.h"
#include "app/options_model.h"
#include "tests/support/memory_registry.h"

namespace zurimo {
namespace {

// ---- Key page checks -------------------------------------------------------------------

std::string Describe(const KeyCheckResult& r) {
    const char* results[] = {"none", "conflict", "duplicate"};
    const char* messages[] = {"-", "digit", "hotkey", "dup-of-hotkey"};
    std::ostringstream out;
    out << results[static_cast<int>(r.result)] << " msg=" << messages[static_cast<int>(r.message)]
        << " dup=" << r.duplicate << (r.resetOperationField ? " reset" : " keep");
    return out.str();
}

TEST(CheckOperationKeyTest, DigitHotKeyAndDuplicateRules) {
    const std::uint16_t ctrl = kHotKeyControl;
    const std::uint16_t ctrlAlt = kHotKeyControl | kHotKeyAlt;
    const std::uint16_t ctrlShift = kHotKeyControl | kHotKeyShift;
    struct Case {
        const char* what;
        const char* keys;  // the nine table entries; '-' is a cleared entry
        std::int32_t number;
        std::uint16_t hotKeyHi, hotKeyLo;
        int operation;
        std::uint16_t key;
        const char* expected;
    } cases[] = {
        {"digit for an operation", "CDFEOQPNM", 1, 0, 0, 0, '5', "conflict msg=digit dup=-1 reset"},
        {"lowest digit", "CDFEOQPNM", 1, 0, 0, 3, '1', "conflict msg=digit dup=-1 reset"},
        {"highest digit", "CDFEOQPNM", 1, 0, 0, 8, '9', "conflict msg=digit dup=-1 reset"},
        {"digit for the hot key", "CDFEOQPNM", 1, 0, 0, kHotKeyCheck, '5',
         "conflict msg=digit dup=-1 keep"},
        {"zero is not one of the digits", "CDFEOQPNM", 1, 0, 0, 0, '0', "none msg=- dup=-1 keep"},
        {"digit with Number off", "CDFEOQPNM", 0, 0, 0, 0, '5', "none msg=- dup=-1 keep"},
        {"digit owned by another, Number off", "C5FEOQPNM", 0, 0, 0, 0, '5',
         "duplicate msg=- dup=1 keep"},
        {"digit rule before the hot-key rule", "CDFEOQPNM", 1, ctrl, '5', 0, '5',
         "conflict msg=digit dup=-1 reset"},
        {"hot key Ctrl+Q beats the owner of Q", "CDFEOQPNM", 0, ctrl, 'Q', 0, 'Q',
         "conflict msg=hotkey dup=-1 reset"},
        {"hot key Ctrl+Q for the owner of Q", "CDFEOQPNM", 0, ctrl, 'Q', 5, 'Q',
         "conflict msg=hotkey dup=-1 reset"},
        {"hot key Ctrl+R for a free key", "CDFEOQPNM", 0, ctrl, 'R', 2, 'R',
         "conflict msg=hotkey dup=-1 reset"},
        {"hot key Ctrl+Alt+Q is not Ctrl alone", "CDFEOQPNM", 0, ctrlAlt, 'Q', 0, 'Q',
         "duplicate msg=- dup=5 keep"},
        {"hot key Ctrl+Shift+Q is not Ctrl alone", "CDFEOQPNM", 0, ctrlShift, 'Q', 0, 'Q',
         "duplicate msg=- dup=5 keep"},
        {"hot key Ctrl+Q, other key", "CDFEOQPNM", 0, ctrl, 'Q', 0, 'X', "none msg=- dup=-1 keep"},
        {"hot-key rule is for operations only", "CDFEOQPNM", 0, ctrl, 'Q', kHotKeyCheck, 'Q',
         "duplicate msg=dup-of-hotkey dup=5 keep"},
        {"another operation's key", "CDFEOQPNM", 0, 0, 0, 0, 'D', "duplicate msg=- dup=1 keep"},
        {"the operation's own key", "CDFEOQPNM", 0, 0, 0, 0, 'C', "none msg=- dup=-1 keep"},
        {"the last operation's key", "CDFEOQPNM", 0, 0, 0, 0, 'M', "duplicate msg=- dup=8 keep"},
        {"first equal entry wins", "CDFDOQPNM", 0, 0, 0, 0, 'D', "duplicate msg=- dup=1 keep"},
        {"own entry skipped, later one found", "CDFDOQPNM", 0, 0, 0, 1, 'D',
         "duplicate msg=- dup=3 keep"},
        {"hot key on an operation's key", "CDFEOQPNM", 0, 0, 0, kHotKeyCheck, 'C',
         "duplicate msg=dup-of-hotkey dup=0 keep"},
        {"hot key on the last operation's key", "CDFEOQPNM", 0, 0, 0, kHotKeyCheck, 'M',
         "duplicate msg=dup-of-hotkey dup=8 keep"},
        {"free key with a cleared entry", "C-FEOQPNM", 0, 0, 0, 0, 'X', "none msg=- dup=-1 keep"},
    };
    for (const Case& c : cases) {
        KeyOptions page;
        for (int i = 0; i < kKeyCount; ++i) page.keys[i] = c.keys[i] == '-' ? 0 : c.keys[i];
        page.number = c.number;
        page.hotKeyHi = c.hotKeyHi;
        page.hotKeyLo = c.hotKeyLo;
        EXPECT_EQ(c.expected, Describe(CheckOperationKey(c.operation, c.key, page))) << c.what;
    }
}

TEST(KeyMessageTextTest, GivesTheTextsShownInTheMessageBoxes) {
    EXPECT_EQ("", KeyMessageText(KeyMessage::kNone, -1));
    EXPECT_EQ("[数字キーで取り出し] が有効なので、1 ～ 9 の数字キーは使えません。",
              KeyMessageText(KeyMessage::kDigit, -1));
    EXPECT_EQ("ホットキーと重複しています\r\n他のキーを割り当ててください",
              KeyMessageText(KeyMessage::kHotKey, -1));
    EXPECT_EQ("[取り出し] と重複しています\r\n他のキーを割り当ててください",
              KeyMessageText(KeyMessage::kDuplicateOfHotKey, 0));
    EXPECT_EQ("[閉じる] と重複しています\r\n他のキーを割り当ててください",
              KeyMessageText(KeyMessage::kDuplicateOfHotKey, 5));
    EXPECT_EQ("[コンテキストメニュー] と重複しています\r\n他のキーを割り当ててください",
              KeyMessageText(KeyMessage::kDuplicateOfHotKey, 8));
}

// ---- OK and Apply ----------------------------------------------------------------------

// Records the host's calls, and the registry values written between them, as one timeline.
class RecordingHost : public OptionsHost {
public:
    explicit RecordingHost(const MemoryRegistry& registry) : registry_(registry) {}

    void InstallMainHook() override { Record("InstallMainHook"); }
    void RemoveMainHook() override { Record("RemoveMainHook"); }
    void InstallWordHook() override { Record("InstallWordHook"); }
    void RemoveWordHook() override { Record("RemoveWordHook"); }
    bool SetAutoStart(bool enable) override {
        Record("SetAutoStart(" + std::to_string(enable) + ")");
        return autoStartResult;
    }
    void ChangeHotKey(std::uint16_t key, std::uint16_t modifiers) override {
        Record("ChangeHotKey(" + std::to_string(key) + "," + std::to_string(modifiers) + ")");
    }
    void RebuildContextMenu() override { Record("RebuildContextMenu"); }
    bool RegisterShellExtension(bool on) override {
        Record("RegisterShellExtension(" + std::to_string(on) + ")");
        return false;  // the result is of no consequence
    }
    void WriteDriveType(int index) override {
        Record("WriteDriveType(" + std::to_string(index) + ")");
    }

    std::vector<std::string> Timeline() {
        CatchUpWithRegistry();
        return timeline_;
    }

    bool autoStartResult = true;

private:
    void CatchUpWithRegistry() {
        std::vector<std::string> writes = registry_.ValueNamesInWriteOrder();
        for (; seenWrites_ < writes.size(); ++seenWrites_) {
            timeline_.push_back("write " + writes[seenWrites_]);
        }
    }
    void Record(const std::string& call) {
        CatchUpWithRegistry();
        timeline_.push_back(call);
    }

    const MemoryRegistry& registry_;
    std::size_t seenWrites_ = 0;
    std::vector<std::string> timeline_;
};

using Lines = std::vector<std::string>;

// Every member of the application as "Name=value".
Lines Settings(const CZurimoApp& app) {
    std::string keys;
    for (std::uint16_t key : app.keyTable) keys += std::to_string(key) + ",";
    auto s = [](auto v) { return std::to_string(v); };
    return {"File=" + s(app.file), "Paste=" + s(app.paste), "Word=" + s(app.word),
            "AutoExec=" + s(app.autoExec), "Quote=" + app.quote, "DateTime=" + s(app.dateTime),
            "History=" + s(app.history), "Tab=" + s(app.tab), "HotKeyLo=" + s(app.hotKeyLo),
            "HotKeyHi=" + s(app.hotKeyHi), "Number=" + s(app.number), "Keys=" + keys,
            "AddYen=" + s(app.addYen), "Menu=" + s(app.menu), "ShellMenu=" + s(app.shellMenu),
            "ShellUserMenu=" + s(app.shellUserMenu), "ShellSep=" + s(app.shellSep),
            "ShellHierarchy=" + s(app.shellHierarchy), "ShellLimit=" + s(app.shellLimit)};
}

// The "Name=value" entries of `after` that differ from `before`.
Lines Changed(const Lines& before, const Lines& after) {
    Lines changed;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (before[i] != after[i]) changed.push_back(after[i]);
    }
    return changed;
}

// Every page differs from the application's defaults, each field with its own value so that
// a field stored into the wrong member shows.
Options AllChanged() {
    Options o;
    o.general = {3, 1, 4, 5, 1, "| "};  // file, paste, dateTime, word, autoExec, quote
    o.view = {2, 500};
    o.key.hotKeyHi = kHotKeyControl | kHotKeyAlt;
    o.key.hotKeyLo = 'Z';
    o.key.number = 6;
    o.key.keys = {'X', 'D', 'F', 'E', 'O', 'Q', 'P', 'N', 0};
    o.contextMenu = {7, 8};
    o.shellExt = {1, 9, 10, 11, 20, 2};
    return o;
}

// A settings registry, the application over it and a host that records into one timeline.
struct Bench {
    MemoryRegistry registry;
    Profile profile{registry, kAppKey};
    CZurimoApp app;
    RecordingHost host{registry};
};

TEST(ApplyAllOptionsTest, OkAppliesEveryPageInTheProgramsOrder) {
    Bench b;
    ApplyAllOptions(AllChanged(), b.app, b.profile, b.host);
    EXPECT_EQ((Lines{"InstallMainHook", "InstallWordHook", "SetAutoStart(1)",
                     "ChangeHotKey(90,6)", "RebuildContextMenu", "RegisterShellExtension(1)",
                     "write ShellLimit", "write ShellUserMenu", "write ShellSep",
                     "write ShellHierarchy", "WriteDriveType(2)"}),
              b.host.Timeline());
    // The hot-key pair is the host's to store.
    EXPECT_EQ((Lines{"File=3", "Paste=1", "Word=5", "AutoExec=1", "Quote=| ", "DateTime=4",
                     "History=500", "Tab=2", "Number=6", "Keys=88,68,70,69,79,81,80,78,0,",
                     "AddYen=7", "Menu=8", "ShellMenu=1", "ShellUserMenu=9", "ShellSep=10",
                     "ShellHierarchy=11", "ShellLimit=20"}),
              Changed(Settings(CZurimoApp()), Settings(b.app)));
}

// The entries of a timeline that contain `part`.
Lines Containing(const Lines& timeline, const std::string& part) {
    Lines found;
    for (const std::string& line : timeline) {
        if (line.find(part) != std::string::npos) found.push_back(line);
    }
    return found;
}

TEST(ApplyAllOptionsTest, HooksAndShellExtensionFollowOnlyAChange) {
    struct Case {
        std::int32_t oldPaste, newPaste, oldWord, newWord, oldShell, newShell;
        Lines hooks;
        Lines shellExtension;
    } cases[] = {
        {0, 1, 0, 1, 0, 1, {"InstallMainHook", "InstallWordHook"}, {"RegisterShellExtension(1)"}},
        {1, 0, 1, 0, 1, 0, {"RemoveMainHook", "RemoveWordHook"}, {"RegisterShellExtension(0)"}},
        {1, 0, 0, 0, 1, 1, {"RemoveMainHook"}, {}},
        {0, 0, 0, 1, 0, 0, {"InstallWordHook"}, {}},
        {1, 1, 1, 1, 1, 1, {}, {}},
        {0, 0, 0, 0, 0, 0, {}, {}},
    };
    for (const Case& c : cases) {
        Bench b;
        b.app.paste = c.oldPaste, b.app.word = c.oldWord, b.app.shellMenu = c.oldShell;
        Options o;
        FillOptions(b.app, &o);
        o.general.paste = c.newPaste, o.general.word = c.newWord, o.shellExt.shellMenu = c.newShell;
        ApplyAllOptions(o, b.app, b.profile, b.host);
        std::ostringstream what;
        what << "paste " << c.oldPaste << "->" << c.newPaste << ", word " << c.oldWord << "->"
             << c.newWord << ", shell menu " << c.oldShell << "->" << c.newShell;
        EXPECT_EQ(c.hooks, Containing(b.host.Timeline(), "Hook")) << what.str();
        EXPECT_EQ(c.shellExtension, Containing(b.host.Timeline(), "ShellExtension")) << what.str();
        // A failed registration of the extension keeps the new value all the same.
        EXPECT_EQ((std::vector<int>{c.newPaste, c.newWord, c.newShell}),
                  (std::vector<int>{b.app.paste, b.app.word, b.app.shellMenu}))
            << what.str();
    }
}

TEST(ApplyAllOptionsTest, AutoExecIsStoredOnlyWhenTheAutostartChangeSucceeded) {
    struct Case {
        std::int32_t oldValue, newValue;
        bool succeeds;
        Lines calls;
        std::int32_t stored;
    } cases[] = {
        {0, 1, true, {"SetAutoStart(1)"}, 1}, {0, 1, false, {"SetAutoStart(1)"}, 0},
        {1, 0, true, {"SetAutoStart(0)"}, 0}, {1, 0, false, {"SetAutoStart(0)"}, 1},
        {1, 1, false, {}, 1},                 {0, 0, false, {}, 0},
    };
    for (const Case& c : cases) {
        Bench b;
        b.app.autoExec = c.oldValue;
        Options o;
        FillOptions(b.app, &o);
        o.general.autoExec = c.newValue;
        b.host.autoStartResult = c.succeeds;
        ApplyAllOptions(o, b.app, b.profile, b.host);
        std::string what = std::to_string(c.oldValue) + "->" + std::to_string(c.newValue) +
                           (c.succeeds ? " succeeding" : " failing");
        EXPECT_EQ(c.calls, Containing(b.host.Timeline(), "SetAutoStart")) << what;
        EXPECT_EQ(c.stored, b.app.autoExec) << what;
    }
}

TEST(ApplyOptionsPageTest, ChangesOnlyThePageInFront) {
    struct Case {
        int page;
        Lines timeline;
        Lines changed;
    } cases[] = {
        {kPageGeneral,
         {"InstallMainHook", "InstallWordHook", "SetAutoStart(1)"},
         {"File=3", "Paste=1", "Word=5", "AutoExec=1", "Quote=| ", "DateTime=4"}},
        {kPageView, {}, {"History=500", "Tab=2"}},
        {kPageKey, {"ChangeHotKey(90,6)"}, {"Number=6", "Keys=88,68,70,69,79,81,80,78,0,"}},
        {kPageContextMenu, {"RebuildContextMenu"}, {"AddYen=7", "Menu=8"}},
        // The shell-menu options go before the limit here, unlike OK.
        {kPageShellExt,
         {"RegisterShellExtension(1)", "write ShellUserMenu", "write ShellSep",
          "write ShellHierarchy", "write ShellLimit", "WriteDriveType(2)"},
         {"ShellMenu=1", "ShellUserMenu=9", "ShellSep=10", "ShellHierarchy=11", "ShellLimit=20"}},
        {5, {}, {}},
        {-1, {}, {}},
    };
    for (const Case& c : cases) {
        Bench b;
        ApplyOptionsPage(c.page, AllChanged(), b.app, b.profile, b.host);
        EXPECT_EQ(c.timeline, b.host.Timeline()) << "page " << c.page;
        EXPECT_EQ(c.changed, Changed(Settings(CZurimoApp()), Settings(b.app))) << "page " << c.page;
    }
}

TEST(ApplyAllOptionsTest, FailedShellMenuWriteKeepsTheOldOptionsAndGoesOn) {
    Bench b;
    b.registry.failSetValue = [](const std::string& name) { return name == "ShellSep" ? 5L : 0L; };
    ApplyAllOptions(AllChanged(), b.app, b.profile, b.host);
    EXPECT_EQ(0, b.app.shellUserMenu);
    EXPECT_EQ(0, b.app.shellSep);
    EXPECT_EQ(0, b.app.shellHierarchy);
    EXPECT_EQ(20, b.app.shellLimit);
    EXPECT_EQ("WriteDriveType(2)", b.host.Timeline().back());
}

// ---- Filling the pages -----------------------------------------------------------------

TEST(FillOptionsTest, CopiesEverySettingAndTheKeyTable) {
    Bench b;  // each setting with its own value, so that a swap shows
    b.app.file = 11, b.app.paste = 12, b.app.word = 13, b.app.autoExec = 14, b.app.dateTime = 15;
    b.app.quote = "》";
    b.app.history = 321, b.app.tab = 2;
    b.app.hotKeyHi = kHotKeyControl | kHotKeyShift, b.app.hotKeyLo = 'V', b.app.number = 16;
    b.app.keyTable = {'A', 'B', 0, 'E', 'O', 'Q', 'P', 'N', 'K'};
    b.app.addYen = 17, b.app.menu = 18;
    b.app.shellMenu = 19, b.app.shellUserMenu = 20, b.app.shellSep = 21, b.app.shellHierarchy = 22;
    b.app.shellLimit = 7;
    Options o;
    o.shellExt.driveType = 3;  // read separately, so left as it is
    FillOptions(b.app, &o);

    const GeneralOptions& g = o.general;
    EXPECT_EQ((std::vector<int>{11, 12, 13, 14, 15}),
              (std::vector<int>{g.file, g.paste, g.word, g.autoExec, g.dateTime}));
    EXPECT_EQ("》", g.quote);
    EXPECT_EQ(321, o.view.history);
    EXPECT_EQ(2, o.view.tab);
    EXPECT_EQ(kHotKeyControl | kHotKeyShift, o.key.hotKeyHi);
    EXPECT_EQ('V', o.key.hotKeyLo);
    EXPECT_EQ(16, o.key.number);
    EXPECT_EQ(b.app.keyTable, o.key.keys);
    EXPECT_EQ(17, o.contextMenu.addYen);
    EXPECT_EQ(18, o.contextMenu.menu);
    const ShellExtOptions& s = o.shellExt;
    EXPECT_EQ((std::vector<int>{19, 20, 21, 22, 7, 3}),
              (std::vector<int>{s.shellMenu, s.shellUserMenu, s.shellSep, s.shellHierarchy,
                                s.shellLimit, s.driveType}));

    // Confirming what was filled changes nothing and touches no hook, autostart or extension.
    Lines before = Settings(b.app);
    ApplyAllOptions(o, b.app, b.profile, b.host);
    EXPECT_EQ(before, Settings(b.app));
    EXPECT_EQ((Lines{"ChangeHotKey(86,3)", "RebuildContextMenu", "write ShellLimit",
                     "write ShellUserMenu", "write ShellSep", "write ShellHierarchy",
                     "WriteDriveType(3)"}),
              b.host.Timeline());
}

// ---- Field conversions -----------------------------------------------------------------

TEST(DriveTypeTest, TextsAndIndexesIgnoringCase) {
    const char* texts[] = {"std", "mingw", "cygwin", "sfu"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(texts[i], DriveTypeText(i)) << i;
        EXPECT_EQ(i, DriveTypeIndex(texts[i])) << texts[i];
    }
    EXPECT_EQ(1, DriveTypeIndex("MinGW"));
    EXPECT_EQ(2, DriveTypeIndex("CYGWIN"));
    EXPECT_EQ(3, DriveTypeIndex("SFU"));
    for (const char* other : {"", "cyg", "std ", "mingw ", " sfu", "cygwin32", "msys"}) {
        EXPECT_EQ(0, DriveTypeIndex(other)) << "[" << other << "]";
    }
    for (int index : {-1, 4, 100}) EXPECT_STREQ("std", DriveTypeText(index)) << index;
}

TEST(ParseDialogIntTest, AcceptsSpacesSignAndTheWholeRange) {
    struct Case {
        const char* text;
        std::int32_t value;
    } good[] = {{"100", 100},        {" 42 ", 42}, {"-7", -7},
                {"+8", 8},           {"0", 0},     {"2147483647", 2147483647},
                {"-2147483648", -2147483647 - 1}};
    for (const Case& c : good) {
        std::int32_t value = 12345;
        EXPECT_TRUE(ParseDialogInt(c.text, &value)) << "[" << c.text << "]";
        EXPECT_EQ(c.value, value) << "[" << c.text << "]";
    }
    for (const char* bad : {"", " ", "-", "+", "abc", "12a", "1 2", "- 5", "--5", "4294967296",
                            "2147483648", "-2147483649", "99999999999999999999"}) {
        std::int32_t value = 12345;
        EXPECT_FALSE(ParseDialogInt(bad, &value)) << "[" << bad << "] gave " << value;
    }
}

}  // namespace
}  // namespace zurimo
