#include "app/registry_entries.h"

#include "app/options_model.h"
#include "base/product.h"

namespace zurimo {

RegChanges AutoStartChanges(bool enable, const std::string& programPath) {
    if (!enable) return {DeleteValueChange(kHkeyCurrentUser, kRunKey, kAppTitle)};
    return {SetStringChange(kHkeyCurrentUser, kRunKey, kAppTitle, programPath)};
}

RegChanges DriveTypeChanges(int index) {
    // Nothing else makes the ShellExt key: without it the chosen style would be lost.
    return {CreateKeyChange(kHkeyCurrentUser, kShellExtKey),
            SetStringChange(kHkeyCurrentUser, kShellExtKey, "DriveType", DriveTypeText(index))};
}

}  // namespace zurimo
