// Dragging a text out of the program with OLE: a data object offering CF_TEXT (and
// CF_UNICODETEXT for a text the code page cannot hold), and a drop source that allows only
// the copy effect.
#pragma once

#include <windows.h>

#include <string>

namespace zurimo {

// Waits, with the mouse captured, to see whether a press at `screenPoint` turns into a
// drag: the pointer leaves the drag rectangle, or the button stays down for the drag delay.
// Releasing the button, pressing another one or Escape first means no drag.
bool WaitForDragStart(HWND hwnd, POINT screenPoint);

// Runs the drag with `block` (a movable global block holding zero-terminated text) as
// CF_TEXT and, when given, `wideBlock` (zero-terminated UTF-16) as CF_UNICODETEXT. True when
// a target accepted the drop as a copy. The blocks stay the caller's.
bool DragText(HGLOBAL block, HGLOBAL wideBlock = nullptr);

}  // namespace zurimo
