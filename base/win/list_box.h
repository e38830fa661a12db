// Small helpers for a dialog's list box of ANSI lines.
#pragma once

#include <windows.h>

#include <string>

namespace zurimo {

inline int ListCount(HWND list) {
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

// The selected line, or -1.
inline int ListSelection(HWND list) {
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

// Selects line `index`; an index past the end (or -1) leaves no line selected.
inline void ListSelect(HWND list, int index) { SendMessageA(list, LB_SETCURSEL, index, 0); }

// Puts a line at `index` (-1: the end), also in a sorted list box.
inline void ListInsert(HWND list, int index, const std::string& line) {
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(line.c_str()));
}

inline void ListDelete(HWND list, int index) { SendMessageA(list, LB_DELETESTRING, index, 0); }

// Moves line `from` to `to`, selected there.
inline void ListMove(HWND list, int from, int to, const std::string& line) {
    ListDelete(list, from);
    ListInsert(list, to, line);
    ListSelect(list, to);
}

}  // namespace zurimo
