// Key presses as a user makes them, through SendInput, for the end-to-end tests and the
// screenshot driver: a chord such as "ctrl+shift+f10" presses its keys in order and lets them
// go in reverse.
#pragma once

#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

namespace zurimo {

// The virtual-key code of a key named ctrl, alt, shift, enter, esc, tab, delete, f3, f10, up,
// down, left, right, apps, space, comma, period, or of a letter or digit; 0 for any other name.
inline WORD KeyCode(const std::string& name) {
    static const struct {
        const char* name;
        WORD vk;
    } kKeys[] = {{"ctrl", VK_CONTROL}, {"alt", VK_MENU},        {"shift", VK_SHIFT},
                 {"enter", VK_RETURN}, {"esc", VK_ESCAPE},      {"tab", VK_TAB},
                 {"delete", VK_DELETE}, {"f3", VK_F3},          {"f10", VK_F10},
                 {"up", VK_UP},        {"down", VK_DOWN},       {"left", VK_LEFT},
                 {"right", VK_RIGHT},  {"apps", VK_APPS},       {"space", VK_SPACE},
                 {"comma", VK_OEM_COMMA}, {"period", VK_OEM_PERIOD}};
    for (const auto& key : kKeys) {
        if (name == key.name) return key.vk;
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    return 0;
}

// One key going down or up, with its scan code, as a keyboard sends it.
inline void SendKey(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
    Sleep(15);  // one key after another, as a hand types them
}

// Presses the chord; false, pressing nothing, when it names a key KeyCode does not know.
inline bool PressChord(const std::string& chord) {
    std::vector<WORD> keys;
    for (std::string::size_type start = 0;;) {
        std::string::size_type plus = chord.find('+', start);
        WORD vk = KeyCode(chord.substr(start, plus - start));
        if (vk == 0) return false;
        keys.push_back(vk);
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    for (WORD vk : keys) SendKey(vk, false);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) SendKey(*it, true);
    return true;
}

}  // namespace zurimo
