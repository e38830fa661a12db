// fault_probe.dll: a hook library the end-to-end tests put into the program under test to make
// one of its memory allocations fail. Loaded into zurimo.exe, it points the program's own
// imports of malloc, calloc and realloc at wrappers that count the calls and fail the one the
// test asks for. The test and the wrappers share a named block of memory (FaultProbeControl).
#include <windows.h>

#include <cstring>

#include "fault_probe.h"

namespace {

FaultProbeControl* g_control = nullptr;
void* (*g_malloc)(size_t) = nullptr;
void* (*g_calloc)(size_t, size_t) = nullptr;
void* (*g_realloc)(void*, size_t) = nullptr;

// True when this call is the one to fail.
bool FailThisCall() {
    FaultProbeControl* control = g_control;
    if (!control) return false;
    InterlockedIncrement(&control->calls);
    if (!control->armed || InterlockedDecrement(&control->countdown) != 0) return false;
    InterlockedIncrement(&control->failures);
    return true;
}

void* FailingMalloc(size_t size) { return FailThisCall() ? nullptr : g_malloc(size); }
void* FailingCalloc(size_t count, size_t size) {
    return FailThisCall() ? nullptr : g_calloc(count, size);
}
void* FailingRealloc(void* block, size_t size) {
    return FailThisCall() ? nullptr : g_realloc(block, size);
}

// Points the main module's import of `name` from msvcrt.dll at `replacement`; gives the
// function it pointed at before.
void* PatchImport(const char* name, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
    for (; dir.VirtualAddress && import->Name; ++import) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + import->Name), "msvcrt.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
            void* before = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return before;
        }
    }
    return nullptr;
}

bool InProgramUnderTest() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    return lstrcmpiA(name ? name + 1 : path, "zurimo.exe") == 0;
}

void Install() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kFaultProbeMapping);
    if (!mapping) return;
    auto* control = static_cast<FaultProbeControl*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FaultProbeControl)));
    CloseHandle(mapping);  // the view keeps it
    if (!control) return;
    g_malloc = reinterpret_cast<void* (*)(size_t)>(
        PatchImport("malloc", reinterpret_cast<void*>(FailingMalloc)));
    g_calloc = reinterpret_cast<void* (*)(size_t, size_t)>(
        PatchImport("calloc", reinterpret_cast<void*>(FailingCalloc)));
    g_realloc = reinterpret_cast<void* (*)(void*, size_t)>(
        PatchImport("realloc", reinterpret_cast<void*>(FailingRealloc)));
    g_control = control;
    control->installed = g_malloc && g_calloc && g_realloc ? 1 : -1;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH && InProgramUnderTest()) {
        // Stays for the life of the program: its imports point here from now on.
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<const char*>(&DllMain), &self);
        (void)instance;
        Install();
    }
    return TRUE;
}

// Only there to bring the library into the program's thread.
extern "C" __declspec(dllexport) LRESULT CALLBACK FaultProbeHook(int code, WPARAM wParam,
                                                                 LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
