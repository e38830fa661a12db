#include "base/win/common_controls.h"

#include <commctrl.h>

namespace zurimo {
namespace {

HMODULE Library() {
    static HMODULE library = LoadLibraryA("comctl32.dll");  // kept for the program's life
    return library;
}

// An export of the library, as the function type it is.
template <typename Function>
Function Export(const char* name) {
    HMODULE library = Library();
    // Through void*: GetProcAddress gives a FARPROC, whatever the export's real type.
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}

}  // namespace

bool LoadCommonControls() {
    static const bool loaded = [] {
        auto init = Export<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        return init && init(&controls);
    }();
    return loaded;
}

INT_PTR RunPropertySheet(const PROPSHEETHEADERA* header) {
    auto run = Export<INT_PTR(WINAPI*)(const PROPSHEETHEADERA*)>("PropertySheetA");
    if (!LoadCommonControls() || !run) return -1;
    return run(header);
}

}  // namespace zurimo
