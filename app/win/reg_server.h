// Registration of the Explorer extension ZurimoEx.dll: the program loads the library from its
// own folder only for one call of DllRegisterServer or DllUnregisterServer.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/handles.h"

namespace zurimo {

// Calls a library's self-registration with OLE initialised on this thread for the object's
// life. A failure is reported to the user only when OLE could not be initialised.
class CRegServer {
public:
    CRegServer() = default;
    virtual ~CRegServer() = default;
    CRegServer(const CRegServer&) = delete;
    CRegServer& operator=(const CRegServer&) = delete;

    // DllRegisterServer / DllUnregisterServer of the library at `path`; true on success.
    bool Register(const std::string& path);
    bool Unregister(const std::string& path);

    // Loads the library, calls the export `name` (no arguments, an HRESULT back) and unloads
    // it again. True when the export exists and gives a success code.
    static bool CallExport(const std::string& path, const char* name);

private:
    // Reports "初期化失敗" when OLE is not there; otherwise calls the export.
    bool Call(const std::string& path, const char* name);

    OleInitialization ole_;
};

// ZurimoEx.dll in the program's own folder; empty when the program's path cannot be had.
std::string ShellExtensionPath();

// Registers (true) or unregisters (false) the extension beside the program. A failure is
// reported in a message box over `owner` (which may be null). Returns whether it succeeded.
bool RegisterShellExtension(bool on, HWND owner);

}  // namespace zurimo
