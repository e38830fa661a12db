#include "app/autostart.h"

#include <windows.h>

#include "app/zurimo_app.h"
#include "base/reg_key.h"
#include "base/win/win_registry.h"
#include "base/win/win_text.h"

namespace zurimo {

bool SetAutoStart(bool enable) {
    CRegKey run(SystemRegistry());
    if (run.Open(kHkeyCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run") !=
        kErrorSuccess) {
        return false;
    }
    if (!enable) return run.DeleteValue(kAppTitle) == kErrorSuccess;
    std::string path = ModulePath(nullptr);  // unquoted, without arguments
    return !path.empty() && run.SetString(kAppTitle, path) == kErrorSuccess;
}

}  // namespace zurimo
