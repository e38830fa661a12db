// The library as a whole: its module handle and the lock count that tells Explorer when it
// may unload it.
#pragma once

#include <windows.h>

namespace zurimo {

HINSTANCE ModuleHandle();
void LockModule();
void UnlockModule();

}  // namespace zurimo
