// The library's entry point and its five exports.
#include "shellext/win/module.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "base/win/program.h"
#include "base/win/win_registry.h"
#include "base/win/win_text.h"
#include "shellext/registration.h"
#include "shellext/win/class_factory.h"
#include "base/win/file_version_info.h"

namespace zurimo {
namespace {

HINSTANCE g_module = nullptr;
LONG g_locks = 0;

// {7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}
const CLSID kClsid = {0x7A31C2E4, 0x5B6D, 0x4E8F, {0x9A, 0x0B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};

}  // namespace

HINSTANCE ModuleHandle() { return g_module; }
void LockModule() { InterlockedIncrement(&g_locks); }
void UnlockModule() { InterlockedDecrement(&g_locks); }

}  // namespace zurimo

using namespace zurimo;

// Reserved is set at detach when the process is ending: its other threads are gone, maybe
// in the middle of holding a lock, and the system takes the memory back. Nothing is done then.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        SetProgramInstance(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        ShellExtFactory::ReleaseCached();
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
    return NoThrow([&] {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (clsid != kClsid) return CLASS_E_CLASSNOTAVAILABLE;
        ShellExtFactory* factory = ShellExtFactory::Cached();
        if (!factory) return E_OUTOFMEMORY;
        return factory->QueryInterface(riid, out);
    });
}

STDAPI DllGetVersion(DLLVERSIONINFO* info) {
    return NoThrow([&] {
        if (!info) return E_FAIL;
        std::string path = ModulePath(g_module);
        FileVersionInfo version;
        if (path.empty() || !version.Load(path, true)) return E_FAIL;
        info->dwMajorVersion = HIWORD(version.fileVersionHigh());
        info->dwMinorVersion = LOWORD(version.fileVersionHigh());
        info->dwBuildNumber = HIWORD(version.fileVersionLow());
        info->dwPlatformID = DLLVER_PLATFORM_NT;
        return S_OK;
    });
}

STDAPI DllRegisterServer() {
    return NoThrow([] {
        std::string path = ModulePath(g_module);
        if (path.empty()) return E_FAIL;
        return RegisterServer(SystemRegistry(), path) == kErrorSuccess ? S_OK : E_FAIL;
    });
}

STDAPI DllUnregisterServer() {
    return NoThrow([] { return UnregisterServer(SystemRegistry()) ? S_OK : E_FAIL; });
}
