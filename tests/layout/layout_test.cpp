// The dialogs of zurimo.exe and ZurimoEx.dll laid out at the system's DPI. Each template is
// created from the binary's resources, as the program creates it, with a dialog procedure
// that does nothing; the positions are the templates' own. A control may not lie outside its
// dialog, and two visible controls may not overlap, except a group box and what lies inside
// it, and an up-down control and the buddy it attaches itself to.
//
// The texts of statics, buttons, check boxes and radio buttons are measured with the
// control's own font and listed when they do not fit, without failing: the Japanese font
// here stands in for ＭＳ Ｐゴシック, whose widths differ.
//
// Run once per DPI (the prefix's HKCU\Control Panel\Desktop LogPixels), with --dpi=N naming
// the DPI the run expects. The program's manifest is linked in, so the controls are the
// common controls 6 ones the program gets, at the DPI awareness it declares.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/win/handles.h"
#include "base/win/win_text.h"
#include "resource.h"

namespace zurimo {
namespace {

int g_expected_dpi = 96;

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type window) { DestroyWindow(window); }
};
using UniqueWindow = UniqueResource<WindowTraits>;

// ANSI (code page 932) text as UTF-8, for the report.
std::string Utf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    const int wide_size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                              nullptr, 0);
    std::wstring wide(static_cast<size_t>(wide_size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], wide_size);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr,
                                         nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, &utf8[0], size, nullptr, nullptr);
    return utf8;
}

// What the check reads from a template's header (DIALOG or DIALOGEX).
struct TemplateHeader {
    DWORD style = 0;
    int controls = 0;
    int cx = 0, cy = 0;     // dialog units
    int point_size = 0;     // 0 without DS_SETFONT
    bool parsed = false;
};

TemplateHeader ReadHeader(const BYTE* data, DWORD size) {
    TemplateHeader header;
    auto word = [&](DWORD at) { return at + 2 <= size ? *reinterpret_cast<const WORD*>(data + at) : 0; };
    auto dword = [&](DWORD at) { return at + 4 <= size ? *reinterpret_cast<const DWORD*>(data + at) : 0; };
    const bool extended = word(0) == 1 && word(2) == 0xFFFF;
    DWORD at = 0;
    if (extended) {  // dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy
        header.style = dword(12);
        header.controls = word(16);
        header.cx = static_cast<short>(word(22));
        header.cy = static_cast<short>(word(24));
        at = 26;
    } else {  // style, exStyle, cdit, x, y, cx, cy
        header.style = dword(0);
        header.controls = word(8);
        header.cx = static_cast<short>(word(14));
        header.cy = static_cast<short>(word(16));
        at = 18;
    }
    // The menu and the class are each nothing, an ordinal or a string; the title a string.
    for (int field = 0; field < 2; ++field) {
        if (word(at) == 0xFFFF) {
            at += 4;
        } else {
            while (at < size && word(at) != 0) at += 2;
            at += 2;
        }
    }
    while (at < size && word(at) != 0) at += 2;
    at += 2;
    if (header.style & DS_SETFONT) header.point_size = word(at);
    header.parsed = at + 2 <= size;
    return header;
}

std::string ClassOf(HWND control) {
    std::string name = ClassName(control);  // a versioned class reads "6.0.x!Button" on some systems
    const size_t bang = name.rfind('!');
    return bang == std::string::npos ? name : name.substr(bang + 1);
}

enum class Kind { kOther, kStatic, kPushButton, kCheck, kGroupBox, kUpDown };

Kind KindOf(HWND control) {
    const std::string name = ClassOf(control);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(name.c_str(), "Static") == 0) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_SIMPLE: case SS_LEFTNOWORDWRAP:
            return Kind::kStatic;
        default:
            return Kind::kOther;  // icons, frames, bitmaps
        }
    }
    if (lstrcmpiA(name.c_str(), "Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON:
            return Kind::kPushButton;
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
            return Kind::kCheck;
        case BS_GROUPBOX:
            return Kind::kGroupBox;
        default:
            return Kind::kOther;
        }
    }
    if (lstrcmpiA(name.c_str(), UPDOWN_CLASSA) == 0) return Kind::kUpDown;
    return Kind::kOther;
}

// A control's rectangle in its dialog's client coordinates.
RECT RectIn(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

// The width the control leaves its text: a push button loses its frame and focus rectangle
// on each side, a check box or radio button its box and the gap after it.
int TextRoom(HWND control, Kind kind, HDC dc) {
    RECT client;
    GetClientRect(control, &client);
    switch (kind) {
    case Kind::kPushButton:
        return client.right - 4 * GetSystemMetrics(SM_CXEDGE);
    case Kind::kCheck: {
        SIZE zero = {};
        GetTextExtentPoint32A(dc, "0", 1, &zero);
        return client.right - GetSystemMetrics(SM_CXMENUCHECK) - zero.cx / 2;
    }
    default:
        return client.right;
    }
}

// The text as drawn: a mnemonic's & takes no room and && shows one &.
std::string AsDrawn(const std::string& text) {
    std::string drawn;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        drawn += text[i];
    }
    return drawn;
}

struct Control {
    HWND window;
    int id;
    Kind kind;
    RECT rect;
    std::string label;  // for the report
};

class DialogChecker {
public:
    DialogChecker(std::string module_name, HWND host) : module_(std::move(module_name)), host_(host) {}

    // Creates the template NAME ("#101" for an ordinal) of MODULE, checks it and destroys it.
    void Check(HMODULE module, const std::string& name) {
        const std::string id = name[0] == '#' ? name.substr(1) : name;
        dialog_id_ = name[0] == '#' ? std::atoi(id.c_str()) : 0;
        HRSRC found = FindResourceA(module, name.c_str(), RT_DIALOG);
        ASSERT_NE(nullptr, found) << module_ << " dialog " << id;
        auto data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        const TemplateHeader header = ReadHeader(data, SizeofResource(module, found));
        ASSERT_TRUE(header.parsed) << module_ << " dialog " << id;

        UniqueWindow dialog(CreateDialogIndirectParamA(
            module, reinterpret_cast<LPCDLGTEMPLATEA>(data), host_, DoNothing, 0));
        ASSERT_TRUE(dialog) << module_ << " dialog " << id << " cannot be created, error "
                            << GetLastError();
        where_ = module_ + " dialog " + id + " \"" + Utf8(WindowText(dialog.get())) + "\"";
        const bool page = (header.style & WS_CHILD) != 0;

        // The template's size in dialog units, at this DPI's font.
        RECT expected = {0, 0, header.cx, header.cy}, client;
        MapDialogRect(dialog.get(), &expected);
        GetClientRect(dialog.get(), &client);
        EXPECT_EQ(expected.right, client.right) << where_;
        EXPECT_EQ(expected.bottom, client.bottom) << where_;
        if (header.point_size) {
            LOGFONTA font = {};
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog.get(), WM_GETFONT, 0, 0)),
                       sizeof font, &font);
            EXPECT_EQ(-MulDiv(header.point_size, g_expected_dpi, 72), font.lfHeight)
                << where_ << ": its " << header.point_size << " pt font is not scaled to "
                << g_expected_dpi << " DPI";
        }

        std::vector<Control> controls;
        for (HWND child = GetWindow(dialog.get(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const int control_id = GetDlgCtrlID(child);
            controls.push_back({child, control_id, KindOf(child), RectIn(dialog.get(), child),
                                "control " + std::to_string(control_id) + " " + ClassOf(child) +
                                    " \"" + Utf8(WindowText(child)) + "\""});
        }
        EXPECT_EQ(header.controls, static_cast<int>(controls.size()))
            << where_ << ": not every control of the template was created";

        for (const Control& control : controls) {
            EXPECT_TRUE(Contains(client, control.rect))
                << where_ << ": " << control.label << " at " << Describe(control.rect)
                << " lies outside the dialog's " << Describe(client);
            MeasureText(control);
        }
        for (size_t i = 0; i < controls.size(); ++i) {
            for (size_t j = i + 1; j < controls.size(); ++j) CheckPair(controls[i], controls[j]);
        }
        std::printf("%s%s: %d x %d px, %zu controls\n", where_.c_str(), page ? " (page)" : "",
                    static_cast<int>(client.right), static_cast<int>(client.bottom),
                    controls.size());
    }

    int unfitting() const { return unfitting_; }

private:
    static INT_PTR CALLBACK DoNothing(HWND, UINT message, WPARAM, LPARAM) {
        return message == WM_INITDIALOG;
    }

    static bool Visible(const Control& control) {
        return (GetWindowLongA(control.window, GWL_STYLE) & WS_VISIBLE) != 0;
    }

    static bool Buddies(const Control& a, const Control& b) {
        auto buddy = [](const Control& updown, const Control& other) {
            return updown.kind == Kind::kUpDown &&
                   reinterpret_cast<HWND>(SendMessageA(updown.window, UDM_GETBUDDY, 0, 0)) == other.window;
        };
        return buddy(a, b) || buddy(b, a);
    }

    void CheckPair(const Control& a, const Control& b) {
        RECT common;
        if (!Visible(a) || !Visible(b) || !IntersectRect(&common, &a.rect, &b.rect)) return;
        if (a.kind == Kind::kGroupBox && Contains(a.rect, b.rect)) return;
        if (b.kind == Kind::kGroupBox && Contains(b.rect, a.rect)) return;
        if (Buddies(a, b)) return;
        ADD_FAILURE() << where_ << ": " << a.label << " at " << Describe(a.rect) << " overlaps "
                      << b.label << " at " << Describe(b.rect);
    }

    void MeasureText(const Control& control) {
        if (control.kind != Kind::kStatic && control.kind != Kind::kPushButton &&
            control.kind != Kind::kCheck) {
            return;
        }
        const std::string text = WindowText(control.window);
        if (text.empty()) return;  // filled in when the dialog runs
        const LONG style = GetWindowLongA(control.window, GWL_STYLE);
        const bool prefix = control.kind != Kind::kStatic || !(style & SS_NOPREFIX);

        HDC dc = GetDC(control.window);
        auto font = reinterpret_cast<HFONT>(SendMessageA(control.window, WM_GETFONT, 0, 0));
        HGDIOBJ old_font = SelectObject(dc, font);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        const int room = TextRoom(control.window, control.kind, dc);
        RECT client;
        GetClientRect(control.window, &client);
        const bool multi_line = control.kind == Kind::kStatic
                                    ? (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP &&
                                          (style & SS_TYPEMASK) != SS_SIMPLE &&
                                          client.bottom >= 2 * metrics.tmHeight
                                    : (style & BS_MULTILINE) != 0;
        char report[512] = "";
        if (multi_line) {
            RECT needed = {0, 0, room, 0};
            DrawTextA(dc, text.c_str(), -1, &needed,
                      DT_CALCRECT | DT_WORDBREAK | (prefix ? 0 : DT_NOPREFIX));
            if (needed.right > room || needed.bottom > client.bottom) {
                std::snprintf(report, sizeof report, "text %ld x %ld px, room %d x %ld px",
                              needed.right, needed.bottom, room, client.bottom);
            }
        } else {
            const std::string drawn = prefix ? AsDrawn(text) : text;
            SIZE size = {};
            GetTextExtentPoint32A(dc, drawn.c_str(), static_cast<int>(drawn.size()), &size);
            if (size.cx > room) {
                std::snprintf(report, sizeof report, "text %ld px, room %d px", size.cx, room);
            }
        }
        SelectObject(dc, old_font);
        ReleaseDC(control.window, dc);
        if (report[0]) {
            std::printf("does not fit: %s: %s: %s\n", where_.c_str(), control.label.c_str(), report);
            ++unfitting_;
        }
    }

    std::string module_;
    HWND host_;
    std::string where_;
    int dialog_id_ = 0;
    int unfitting_ = 0;
};

BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
    auto list = reinterpret_cast<std::vector<std::string>*>(names);
    // "#N" stands for the ordinal N, as FindResource reads it.
    list->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name))
                                         : std::string(name));
    return TRUE;
}

std::string BinaryPath(const char* name) {
    std::string path = ModulePath(nullptr);  // ...\tests\layout_tests.exe
    path.resize(path.rfind('\\'));
    path.resize(path.rfind('\\') + 1);
    return path + "bin\\" + name;
}

TEST(DialogLayout, EveryDialogOfBothBinariesLiesWithinItselfWithoutOverlaps) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(g_expected_dpi, dpi) << "the prefix's LogPixels did not take effect";
    std::printf("system DPI %d\n", dpi);

    UniqueWindow host(CreateWindowExA(0, "Static", "layout host", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(host);
    int unfitting = 0;
    for (const char* binary : {"zurimo.exe", "ZurimoEx.dll"}) {
        const std::string path = BinaryPath(binary);
        UniqueLibrary module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module) << path << ": error " << GetLastError();
        std::vector<std::string> names;
        EnumResourceNamesA(module.get(), RT_DIALOG, AddName,
                           reinterpret_cast<LONG_PTR>(&names));
        std::printf("%s: %zu dialog templates\n", binary, names.size());
        if (std::strcmp(binary, "zurimo.exe") == 0) {
            EXPECT_FALSE(names.empty()) << "zurimo.exe holds its dialogs";
        }
        DialogChecker checker(binary, host.get());
        for (const std::string& name : names) checker.Check(module.get(), name);
        unfitting += checker.unfitting();
    }
    std::printf("%d texts do not fit at %d DPI (listed, not failed: the font is a stand-in)\n",
                unfitting, dpi);
}

}  // namespace
}  // namespace zurimo

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--dpi=", 6) == 0) zurimo::g_expected_dpi = std::atoi(argv[i] + 6);
    }
    // The up-down and hot-key controls of the options pages.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&classes);
    return RUN_ALL_TESTS();
}
