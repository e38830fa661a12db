// The common-controls library, loaded the first time a window needs its controls (the
// options sheet, its hot-key and up-down fields) and kept from then on. Loading it at start
// would cost the idle program more than a megabyte under Wine.
#pragma once

#include <windows.h>
#include <prsht.h>

namespace zurimo {

// Loads the library and registers its control classes; false when it cannot be had.
bool LoadCommonControls();

// PropertySheetA of the library; -1 when it cannot be had.
INT_PTR RunPropertySheet(const PROPSHEETHEADERA* header);

}  // namespace zurimo
