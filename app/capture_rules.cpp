#include "app/capture_rules.h"

namespace zurimo {

bool IsExcludedFromHistory(const ClipboardMarks& marks) {
    for (const std::string& name : marks.formatNames) {
        if (name == "ExcludeClipboardContentFromMonitorProcessing" ||
            name == "Clipboard Viewer Ignore") {
            return true;
        }
    }
    return marks.hasCanInclude && marks.canIncludeInHistory == 0;
}

}  // namespace zurimo
