// Drives a running zurimo.exe from outside for scripts/screenshots.sh, as another program
// would: puts texts on the clipboard, posts and sends messages, presses keys, waits for
// windows and tells where they are on the screen. One command per run:
//
//   clip TEXT...                   each TEXT on the clipboard in turn ("\n" is a line break),
//                                  each time waiting until the history list has taken it
//   post|send WINDOW MSG [W [L]]   MSG is a number or reg:NAME (a registered message)
//   click WINDOW/ID                the click of a button, as its parent gets it
//   keys WINDOW CHORD...           brings WINDOW to the front and presses "shift+f10", "down"...
//                                  (for "menu", the menu that is open takes the keys)
//   cursor X Y                     moves the mouse pointer
//   gone WINDOW                    waits until WINDOW is hidden or gone
//   rect WINDOW...                 waits for the windows, lets them paint and prints the
//                                  rectangle around them all as WxH+X+Y
//
// WINDOW is main (class KestroZurimoClass), history (the dialog with list 1012 that main
// owns), tray (Wine's notification area), menus:N (at least N visible popup menus, all of
// them; "menu" is menus:1), class:NAME, or a window title; WINDOW/ID is the control ID at any
// depth inside it. A wait gives up after 10 s with a message and exit code 1.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/win/handles.h"
#include "tests/support/win_keys.h"

namespace {

constexpr DWORD kWaitMs = 10000;

bool Visible(HWND hwnd) { return IsWindowVisible(hwnd) != FALSE; }

struct Search {
    std::string cls, title;
    HWND owner = nullptr;  // for the history window
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    char cls[256] = {}, title[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    if (search->owner) {
        if (GetWindow(hwnd, GW_OWNER) == search->owner && GetDlgItem(hwnd, 1012)) {
            search->found.push_back(hwnd);
        }
    } else if ((search->cls.empty() || search->cls == cls) &&
               (search->title.empty() || search->title == title)) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

struct ChildSearch {
    int id;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    if (GetDlgCtrlID(hwnd) == search->id) search->found.push_back(hwnd);
    return TRUE;
}

// The windows a WINDOW argument names, visible ones first; none when they are not there (yet).
std::vector<HWND> Find(std::string target) {
    int id = 0;
    std::string::size_type slash = target.rfind('/');
    if (slash != std::string::npos && slash + 1 < target.size() &&
        strspn(target.c_str() + slash + 1, "0123456789") == target.size() - slash - 1) {
        id = atoi(target.c_str() + slash + 1);
        target.resize(slash);
    }
    Search search;
    size_t least = 1;
    if (target == "main") {
        search.cls = "KestroZurimoClass";
    } else if (target == "history") {
        std::vector<HWND> main = Find("main");
        if (main.empty()) return {};
        search.owner = main[0];
    } else if (target == "tray") {
        search.title = "Wine System Tray";
    } else if (target == "menu" || target.rfind("menus:", 0) == 0) {
        search.cls = "#32768";
        if (target != "menu") least = strtoul(target.c_str() + 6, nullptr, 10);
    } else if (target.rfind("class:", 0) == 0) {
        search.cls = target.substr(6);
    } else {
        search.title = target;
    }
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    std::vector<HWND> windows;
    for (bool visible : {true, false}) {
        for (HWND hwnd : search.found) {
            if (Visible(hwnd) == visible) windows.push_back(hwnd);
        }
    }
    if (search.cls == "#32768") {  // only the menus on screen count
        while (!windows.empty() && !Visible(windows.back())) windows.pop_back();
        if (windows.size() < least) return {};
    }
    if (!id) return windows;
    ChildSearch children = {id, {}};
    for (HWND hwnd : windows) {
        EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&children));
    }
    return children.found;
}

template <typename Condition>
bool WaitUntil(Condition condition) {
    DWORD end = GetTickCount() + kWaitMs;
    while (!condition()) {
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
        Sleep(30);
    }
    return true;
}

[[noreturn]] void Fail(const std::string& what) {
    fprintf(stderr, "shot_driver: %s\n", what.c_str());
    exit(1);
}

// The windows `target` names, waited for; with `visible`, only once the first one shows.
std::vector<HWND> Wait(const std::string& target, bool visible) {
    std::vector<HWND> windows;
    if (!WaitUntil([&] {
            windows = Find(target);
            return !windows.empty() && (!visible || Visible(windows[0]));
        })) {
        Fail("no " + std::string(visible ? "visible " : "") + "window \"" + target + "\"");
    }
    return windows;
}

UINT Message(const char* text) {
    if (!strncmp(text, "reg:", 4)) return RegisterWindowMessageA(text + 4);
    return static_cast<UINT>(strtoul(text, nullptr, 0));
}

ULONG_PTR Number(int argc, char** argv, int i) {
    return i < argc ? static_cast<ULONG_PTR>(strtoull(argv[i], nullptr, 0)) : 0;
}

// "\n" in a text on the command line stands for a line break, "\t" for a tab.
std::string Unescape(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            out += "\r\n";
            ++p;
        } else if (p[0] == '\\' && p[1] == 't') {
            out += '\t';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

void SetClipboardText(const std::string& text) {
    zurimo::UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    zurimo::ClipboardOpen clipboard(nullptr);
    if (!block || !clipboard || !EmptyClipboard()) Fail("the clipboard is not available");
    memcpy(zurimo::GlobalLockGuard(block.get()).get(), text.c_str(), text.size() + 1);
    if (SetClipboardData(CF_TEXT, block.get())) (void)block.release();  // the clipboard's now
}

int LineCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

void PressChord(const std::string& chord) {
    if (!zurimo::PressChord(chord)) Fail("unknown key in \"" + chord + "\"");
    Sleep(150);
}

int Run(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "clip") {
        HWND list = Wait("history/1012", false)[0];
        for (int i = 2; i < argc; ++i) {
            int before = LineCount(list);
            SetClipboardText(Unescape(argv[i]));
            if (!WaitUntil([&] { return LineCount(list) != before; })) {
                Fail(std::string("the history did not take \"") + argv[i] + "\"");
            }
        }
    } else if ((command == "post" || command == "send") && argc >= 4) {
        HWND hwnd = Wait(argv[2], false)[0];
        UINT message = Message(argv[3]);
        WPARAM wParam = Number(argc, argv, 4);
        LPARAM lParam = static_cast<LPARAM>(Number(argc, argv, 5));
        if (command == "post") {
            if (!PostMessageA(hwnd, message, wParam, lParam)) Fail("cannot post the message");
        } else {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs,
                                     &result)) {
                Fail("the window did not answer");
            }
            printf("%llu\n", static_cast<unsigned long long>(result));
        }
    } else if (command == "click" && argc == 3) {
        HWND button = Wait(argv[2], false)[0];
        PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    } else if (command == "keys" && argc >= 4) {
        HWND hwnd = Wait(argv[2], true)[0];
        char cls[16] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        // A popup menu has the keyboard already, through the window that opened it.
        if (strcmp(cls, "#32768") != 0 && !WaitUntil([&] {
                if (GetForegroundWindow() == hwnd) return true;
                SetForegroundWindow(hwnd);
                return false;
            })) {
            Fail(std::string("cannot bring \"") + argv[2] + "\" to the front");
        }
        // Once X reports the new focus, Wine takes the keyboard state from X: a key pressed
        // before that report would be lost.
        Sleep(300);
        for (int i = 3; i < argc; ++i) PressChord(argv[i]);
    } else if (command == "cursor" && argc == 4) {
        SetCursorPos(atoi(argv[2]), atoi(argv[3]));
    } else if (command == "gone" && argc == 3) {
        if (!WaitUntil([&] {
                std::vector<HWND> windows = Find(argv[2]);
                return windows.empty() || !Visible(windows[0]);
            })) {
            Fail(std::string("\"") + argv[2] + "\" stays on the screen");
        }
    } else if (command == "rect" && argc >= 3) {
        RECT all = {};
        for (int i = 2; i < argc; ++i) {
            for (HWND hwnd : Wait(argv[i], true)) {
                if (!Visible(hwnd)) continue;
                // Painted anew, frame included, before the picture is taken.
                DWORD_PTR ignored;
                SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &ignored);
                RedrawWindow(hwnd, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
                RECT r;
                GetWindowRect(hwnd, &r);
                UnionRect(&all, &all, &r);
            }
        }
        Sleep(300);  // Wine hands the painted window to X a moment later
        printf("%ldx%ld+%ld+%ld\n", all.right - all.left, all.bottom - all.top, all.left, all.top);
    } else {
        Fail("unknown command; see the comment at the top of shot_driver.cpp");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
