// The resident program's control of the Explorer extension: registration at start-up and
// shutdown, and the "シェル拡張" page.
#include <gtest/gtest.h>

#include "harness.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace e2e {
namespace {

constexpr char kShellExtKey[] = "Software\\Kestro!\\Zurimo!\\ShellExt";
constexpr char kClassKey[] = "CLSID\\{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";
constexpr char kServerKey[] = "CLSID\\{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}\\InprocServer32";
constexpr char kFileHandlerKey[] =
    "*\\shellex\\ContextMenuHandlers\\{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";
// Every key the registration writes, each with all below it.
constexpr const char* kRegisteredKeys[] = {
    kClassKey,
    "ZurimoShellExt.ZurimoShellExt",
    "ZurimoShellExt.ZurimoShellExt.1",
    kFileHandlerKey,
    "Directory\\shellex\\ContextMenuHandlers\\{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}",
    "InternetShortcut\\shellex\\ContextMenuHandlers\\{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}",
};
constexpr int kShellExtPage = 4;

std::string LibraryPath() { return ProgramFolder() + "\\ZurimoEx.dll"; }

bool ClassesKeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A REG_SZ value (the default value for a null name).
AssertionResult ReadText(HKEY root, const char* path, const char* name, std::string* value) {
    HKEY opened = nullptr;
    LONG error = RegOpenKeyExA(root, path, 0, KEY_READ, &opened);
    if (error != ERROR_SUCCESS) return testing::AssertionFailure() << "no key " << path;
    UniqueHKey key(opened);
    char buffer[MAX_PATH * 2] = {};
    DWORD type = 0, size = sizeof buffer - 1;
    error = RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                             &size);
    if (error != ERROR_SUCCESS || type != REG_SZ) {
        return testing::AssertionFailure() << path << " " << (name ? name : "(default)")
                                           << ": error " << error << ", type " << type;
    }
    *value = buffer;
    return testing::AssertionSuccess();
}

// What a registration left behind, whether in the machine's classes or the user's.
void RemoveRegistration() {
    for (const char* path : kRegisteredKeys) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, path);
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\Classes\\") + path).c_str());
    }
}

std::vector<std::string> RegistrationKeysLeft() {
    std::vector<std::string> left;
    for (const char* path : kRegisteredKeys) {
        if (ClassesKeyExists(path)) left.push_back(path);
    }
    return left;
}

AssertionResult ReadDriveType(std::string* value) {
    return ReadText(HKEY_CURRENT_USER, kShellExtKey, "DriveType", value);
}

// Whether a process has a module of that file name loaded.
bool HasModule(DWORD processId, const char* name) {
    zurimo::UniqueResource<zurimo::FileTraits> snapshot(
        CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot) return false;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot.get(), &module); more;
         more = Module32Next(snapshot.get(), &module)) {
        if (!_stricmp(module.szModule, name)) return true;
    }
    return false;
}

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(ControlText(child));
    return TRUE;
}

// The texts of every control of a window, in their order.
std::vector<std::string> ControlTexts(HWND window) {
    std::vector<std::string> texts;
    EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

class ShellExtControlTest : public FreshUserTest {
protected:
    void SetUp() override {
        FreshUserTest::SetUp();
        RemoveRegistration();
    }
    void TearDown() override {
        s.program.Kill();
        RemoveRegistration();
        FreshUserTest::TearDown();
    }

    AssertionResult OpenPage() {
        AssertionResult opened = OpenOptionsSheet(s.program, &sheet);
        if (!opened) return opened;
        SendMessageA(sheet, PSM_SETCURSEL, kShellExtPage, 0);
        AssertionResult shown = s.program.CatchUp();
        if (!shown) return shown;
        page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        if (ControlText(page) == "シェル拡張") return testing::AssertionSuccess();
        return testing::AssertionFailure() << "page " << kShellExtPage << " is \""
                                           << ControlText(page) << "\"";
    }
    void Press(int button) { PostMessageA(sheet, PSM_PRESSBUTTON, button, 0); }
    void Click(int id) { SendDlgItemMessageA(page, id, BM_CLICK, 0, 0); }
    bool Checked(int id) { return SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }
    AssertionResult Closed() {
        if (WaitUntil([&] { return !IsWindow(sheet); })) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the sheet stays open";
    }
    DWORD Setting(const char* name) {
        DWORD value = 0xDEADBEEF;
        ReadDword(name, &value);
        return value;
    }

    Session s;
    HWND sheet = nullptr;
    HWND page = nullptr;
};

TEST_F(ShellExtControlTest, AMissingLibraryIsReportedAtStartAndTurnsTheOptionOff) {
    FileSetAside library(LibraryPath());
    ASSERT_TRUE(library.moved());
    SetDword("ShellMenu", 1);
    SetDword("HotKeyLo", 'J');
    SetDword("HotKeyHi", HOTKEYF_CONTROL | HOTKEYF_ALT);
    ASSERT_TRUE(s.program.Start());
    EXPECT_EQ("シェル拡張の登録に失敗しました : " + LibraryPath(), s.program.TakeMessage());

    // Start-up goes on: the hot key comes after the extension.
    ASSERT_TRUE(s.program.WaitForMainWindow());
    s.history = s.program.historyWindow();
    ASSERT_NE(nullptr, s.history);
    SettleFocus();
    PressKeys("ctrl+alt+j");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(s.history) != FALSE; }));

    // The option is off now, so the exit neither unregisters nor says anything.
    ASSERT_TRUE(s.program.Close());
    EXPECT_EQ(0u, Setting("ShellMenu"));
    EXPECT_EQ(std::vector<std::string>{}, RegistrationKeysLeft());
}

TEST_F(ShellExtControlTest, TheExtensionIsRegisteredOnlyWhileTheProgramRuns) {
    SetDword("ShellMenu", 1);
    ASSERT_TRUE(s.Start());
    EXPECT_EQ(nullptr, s.program.WaitForMessageBox(300));
    std::string server;
    EXPECT_TRUE(ReadText(HKEY_CLASSES_ROOT, kServerKey, nullptr, &server));
    EXPECT_TRUE(_stricmp(LibraryPath().c_str(), server.c_str()) == 0)
        << server << ", not " << LibraryPath();
    EXPECT_TRUE(ClassesKeyExists(kFileHandlerKey));
    EXPECT_FALSE(HasModule(s.program.processId(), "ZurimoEx.dll"))
        << "the library is loaded only for the call";
    EXPECT_TRUE(HasModule(s.program.processId(), "Zurimo.dll")) << "the module list is read";

    ASSERT_TRUE(s.program.Close());
    EXPECT_EQ(std::vector<std::string>{}, RegistrationKeysLeft());
    EXPECT_EQ(1u, Setting("ShellMenu")) << "the next start registers again";

    Program again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.WaitForMainWindow());
    EXPECT_TRUE(ClassesKeyExists(kServerKey));
    ASSERT_TRUE(again.Close());
    EXPECT_FALSE(ClassesKeyExists(kServerKey));
}

TEST_F(ShellExtControlTest, AFailedUnregistrationAtExitIsReportedBeforeTheSettingsAreSaved) {
    SetDword("ShellMenu", 1);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(ClassesKeyExists(kServerKey));
    RemoveRegistration();  // someone else took the keys away
    PostMessageA(s.program.mainWindow(), WM_CLOSE, 0, 0);
    HWND box = s.program.WaitForMessageBox();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("シェル拡張の解除に失敗しました : " + LibraryPath(), MessageBoxText(box));
    EXPECT_FALSE(ValueExists("History")) << "the settings are saved after the message";
    DismissMessageBox(box);
    ASSERT_TRUE(s.program.WaitForExit(kWaitMs));
    EXPECT_EQ(1u, Setting("ShellMenu"));
    EXPECT_EQ(100u, Setting("History"));
}

TEST_F(ShellExtControlTest, ThePageShowsTheSettingsAndRefusesALimitOutsideOneTo32) {
    SetDword("ShellMenu", 1);
    SetDword("ShellUserMenu", 1);
    SetDword("ShellHierarchy", 1);
    SetDword("ShellLimit", 20);
    {
        UniqueHKey key = CreateUserKey(kShellExtKey);
        ASSERT_TRUE(key);
        RegSetValueExA(key.get(), "DriveType", 0, REG_SZ, reinterpret_cast<const BYTE*>("MinGW"), 6);
    }
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(OpenPage());

    for (auto [id, text] : {std::pair<int, const char*>{IDC_SHELL_MENU, "Zurimo! メニューを追加する(&C)"},
                            {IDC_SHELL_USER_MENU, "ユーザーメニューも追加する(&U)"},
                            {IDC_SHELL_SEP, "セパレータを入れる(&S)"},
                            {IDC_SHELL_HIERARCHY, "メニューを階層化する(&H)"},
                            {IDC_DRIVE_STD, "標準 (&A)"},
                            {IDC_DRIVE_MINGW, "&MinGW/Msys"},
                            {IDC_DRIVE_CYGWIN, "C&ygwin"},
                            {IDC_DRIVE_SFU, "S&FU"}}) {
        EXPECT_EQ(text, ControlText(GetDlgItem(page, id))) << id;
    }
    std::vector<std::string> texts = ControlTexts(page);
    for (const char* text : {"エクスプローラのコンテキスト (右クリック) メニューの設定",
                             "クリップボードに送るテキストの上限(&L)", "KB", "(1～32KB)",
                             "Unix パス"}) {
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), text)) << text;
    }
    HWND limit = GetDlgItem(page, IDC_SHELL_LIMIT);
    ASSERT_NE(nullptr, limit);
    LONG style = GetWindowLongA(limit, GWL_STYLE);
    EXPECT_TRUE((style & ES_NUMBER) && (style & ES_RIGHT)) << std::hex << style;
    HWND spin = GetDlgItem(page, IDC_SHELL_LIMIT_SPIN);
    ASSERT_NE(nullptr, spin);
    EXPECT_EQ(MAKELONG(32, 1), SendMessageA(spin, UDM_GETRANGE, 0, 0));
    EXPECT_EQ(limit, reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)));

    // The stored values; "MinGW" is read without regard to case.
    EXPECT_TRUE(Checked(IDC_SHELL_MENU));
    EXPECT_TRUE(Checked(IDC_SHELL_USER_MENU));
    EXPECT_FALSE(Checked(IDC_SHELL_SEP));
    EXPECT_TRUE(Checked(IDC_SHELL_HIERARCHY));
    EXPECT_EQ("20", ControlText(limit));
    EXPECT_TRUE(Checked(IDC_DRIVE_MINGW));
    EXPECT_FALSE(Checked(IDC_DRIVE_STD));
    for (int id : {IDC_SHELL_USER_MENU, IDC_SHELL_SEP, IDC_SHELL_HIERARCHY}) EXPECT_TRUE(Enabled(id)) << id;

    // The arrow keys count in the field.
    ASSERT_TRUE(BringToFront(sheet));
    SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(limit), TRUE);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(sheet) == limit; }, 3000));
    PressKeys("up");
    EXPECT_TRUE(WaitUntil([&] { return ControlText(limit) == "21"; })) << ControlText(limit);

    // Without the popup its options are cleared and unavailable; they stay cleared.
    Click(IDC_SHELL_MENU);
    for (int id : {IDC_SHELL_USER_MENU, IDC_SHELL_SEP, IDC_SHELL_HIERARCHY}) {
        EXPECT_FALSE(Checked(id)) << id;
        EXPECT_FALSE(Enabled(id)) << id;
    }
    Click(IDC_SHELL_MENU);
    for (int id : {IDC_SHELL_USER_MENU, IDC_SHELL_SEP, IDC_SHELL_HIERARCHY}) {
        EXPECT_FALSE(Checked(id)) << id;
        EXPECT_TRUE(Enabled(id)) << id;
    }

    for (const char* bad : {"0", "33"}) {
        SetText(limit, bad);
        Press(PSBTN_APPLYNOW);
        EXPECT_EQ("1 から 32 までの整数を入力してください。", s.program.TakeMessage()) << bad;
    }
    SetText(limit, "");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ("整数を入力してください。", s.program.TakeMessage());
    // Clicking the popup's box takes the page's values, so a bad limit is reported there.
    SetText(limit, "0");
    PostMessageA(GetDlgItem(page, IDC_SHELL_MENU), BM_CLICK, 0, 0);
    EXPECT_EQ("1 から 32 までの整数を入力してください。", s.program.TakeMessage());
    EXPECT_FALSE(Checked(IDC_SHELL_MENU));
    // Leaving the page is refused too.
    SetText(limit, "33");
    PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
    EXPECT_EQ("1 から 32 までの整数を入力してください。", s.program.TakeMessage());
    EXPECT_EQ(page, reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)));
    Press(PSBTN_OK);
    EXPECT_EQ("1 から 32 までの整数を入力してください。", s.program.TakeMessage());
    EXPECT_TRUE(IsWindow(sheet)) << "OK does not close the sheet either";

    Press(PSBTN_CANCEL);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(20u, Setting("ShellLimit")) << "nothing was applied";
    EXPECT_EQ(1u, Setting("ShellUserMenu"));
    EXPECT_TRUE(ClassesKeyExists(kServerKey));
}

TEST_F(ShellExtControlTest, ApplyingThePageStoresItAndRegistersOrUnregistersOnce) {
    SetDword("ShellMenu", 1);
    SetDword("ShellSep", 1);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(ClassesKeyExists(kServerKey));
    ASSERT_TRUE(OpenPage());
    EXPECT_TRUE(Checked(IDC_DRIVE_STD)) << "no ShellExt key: the standard style";

    // Apply: off, Cygwin, 12 KB. The extension is unregistered once: a second time would
    // fail and say so.
    Click(IDC_DRIVE_CYGWIN);
    Click(IDC_SHELL_MENU);
    SetText(GetDlgItem(page, IDC_SHELL_LIMIT), "12");
    Press(PSBTN_APPLYNOW);
    EXPECT_EQ("<no message>", s.program.TakeMessage(1000));
    EXPECT_EQ(std::vector<std::string>{}, RegistrationKeysLeft());
    std::string driveType;
    EXPECT_TRUE(ReadDriveType(&driveType)) << "the key is made when it is missing";
    EXPECT_EQ("cygwin", driveType);
    EXPECT_EQ(12u, Setting("ShellLimit")) << "written at once";
    EXPECT_EQ(0u, Setting("ShellSep")) << "written at once";
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(Closed());

    // The page shows what was applied; OK turns the extension on again.
    ASSERT_TRUE(OpenPage());
    EXPECT_TRUE(Checked(IDC_DRIVE_CYGWIN));
    EXPECT_FALSE(Checked(IDC_SHELL_MENU));
    EXPECT_FALSE(Enabled(IDC_SHELL_SEP));
    EXPECT_EQ("12", ControlText(GetDlgItem(page, IDC_SHELL_LIMIT)));
    Click(IDC_SHELL_MENU);
    Click(IDC_SHELL_HIERARCHY);
    Click(IDC_DRIVE_SFU);
    Press(PSBTN_OK);
    ASSERT_TRUE(Closed());
    EXPECT_EQ("<no message>", s.program.TakeMessage(1000));
    EXPECT_TRUE(ClassesKeyExists(kServerKey));
    EXPECT_TRUE(ReadDriveType(&driveType));
    EXPECT_EQ("sfu", driveType);
    EXPECT_EQ(1u, Setting("ShellHierarchy"));

    ASSERT_TRUE(s.program.Close());
    EXPECT_EQ(std::vector<std::string>{}, RegistrationKeysLeft());
    EXPECT_EQ(1u, Setting("ShellMenu"));
    EXPECT_EQ(12u, Setting("ShellLimit"));
}

}  // namespace
}  // namespace e2e
