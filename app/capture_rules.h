// Which clipboard changes capture reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zurimo {

// MS Word announces each copy twice. While the hook library says a change came from Word,
// the first of each pair is skipped and the second read; other changes are always read.
class WordFilter {
public:
    // True when this change is to be read.
    bool Accept(bool fromWord) {
        if (!fromWord) return true;
        toggle_ = !toggle_;
        return !toggle_;
    }
    bool toggle() const { return toggle_; }

private:
    bool toggle_ = false;
};

// A clipboard that carries a password manager's "keep out of history" mark. `formatNames`
// are the names of the registered formats on the clipboard; `canIncludeInHistory` is the
// DWORD of "CanIncludeInClipboardHistory" when that format is there.
struct ClipboardMarks {
    std::vector<std::string> formatNames;
    bool hasCanInclude = false;
    std::uint32_t canIncludeInHistory = 1;
};
bool IsExcludedFromHistory(const ClipboardMarks& marks);

}  // namespace zurimo
