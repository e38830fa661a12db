// The library as a whole: its module handle and the lock count that tells Explorer when it
// may unload it.
#pragma once

#include <windows.h>

#include <new>

namespace zurimo {

HINSTANCE ModuleHandle();
void LockModule();
void UnlockModule();

// Runs `body`, a call that Explorer or COM makes into the library. No exception may leave it:
// a fault in Explorer's process closes every Explorer window, and the taskbar with them.
// Running out of memory gives E_OUTOFMEMORY, anything else E_FAIL.
template <typename Body>
HRESULT NoThrow(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace zurimo
