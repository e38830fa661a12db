#include "base/win/clipboard_text.h"

#include <cstring>

namespace zurimo {
namespace {

template <typename Text>
UniqueHGlobal Block(const Text& text) {
    std::size_t bytes = text.size() * sizeof(typename Text::value_type);
    UniqueHGlobal block(
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes + sizeof(typename Text::value_type)));
    if (!block) return block;
    GlobalLockGuard lock(block.get());
    if (!lock) return UniqueHGlobal();
    std::memcpy(lock.get(), text.data(), bytes);
    return block;
}

}  // namespace

UniqueHGlobal TextBlock(const std::string& text) { return Block(text); }

UniqueHGlobal TextBlock(const std::u16string& text) { return Block(text); }

bool PutTextOnClipboard(HWND owner, const std::string& text, const std::u16string& wide) {
    UniqueHGlobal block = TextBlock(text);
    if (!block) return false;
    UniqueHGlobal wideBlock;
    if (!wide.empty() && !(wideBlock = TextBlock(wide))) return false;
    ClipboardOpen clipboard(owner);
    if (!clipboard || !EmptyClipboard()) return false;
    // The wide text first: Windows then keeps the ANSI text as given, not made from it.
    if (wideBlock) {
        if (!SetClipboardData(CF_UNICODETEXT, wideBlock.get())) return false;
        (void)wideBlock.release();  // the clipboard owns it now
    }
    if (!SetClipboardData(CF_TEXT, block.get())) return false;
    (void)block.release();
    return true;
}

}  // namespace zurimo
