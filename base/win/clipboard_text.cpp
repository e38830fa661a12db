#include "base/win/clipboard_text.h"

#include <cstring>

namespace zurimo {

UniqueHGlobal TextBlock(const std::string& text) {
    UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1));
    if (!block) return block;
    GlobalLockGuard lock(block.get());
    if (!lock) return UniqueHGlobal();
    std::memcpy(lock.get(), text.data(), text.size());
    return block;
}

bool PutTextOnClipboard(HWND owner, const std::string& text) {
    UniqueHGlobal block = TextBlock(text);
    if (!block) return false;
    ClipboardOpen clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_TEXT, block.get())) return false;
    (void)block.release();  // the clipboard owns it now
    return true;
}

}  // namespace zurimo
