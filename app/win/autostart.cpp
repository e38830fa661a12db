#include "app/win/autostart.h"

#include <string>

#include "app/registry_entries.h"
#include "base/win/win_registry.h"
#include "base/win/win_text.h"

namespace zurimo {

bool SetAutoStart(bool enable) {
    std::string path = ModulePath(nullptr);
    if (enable && path.empty()) return false;
    return ApplyRegChanges(SystemRegistry(), AutoStartChanges(enable, path)) == kErrorSuccess;
}

}  // namespace zurimo
