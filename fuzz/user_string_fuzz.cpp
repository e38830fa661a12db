// The user-string check over any caption, content and list of strings already defined: a
// string passes only within the limits, with both fields, and (when new) with a caption of
// its own; a fault names its field and says why.
#include <string>

#include "fuzz/fuzz.h"
#include "menu/user_string.h"

namespace zurimo::fuzz {

int UserStringFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::uint8_t flags = in.Byte();
    bool isNew = (flags & 1) != 0;
    std::string caption = in.Text();
    std::string content = in.Text();
    MenuItemList existing(flags >> 5);
    for (CMenuItem& item : existing) {
        item.caption = in.Text();
        item.content = in.Text();
        item.flags = (flags & 2) ? kMenuSeparator : kMenuString;
    }

    UserStringCheck check = CheckUserString(caption, content, isNew, existing);
    using Field = UserStringCheck::Field;
    bool captionTooLong = caption.size() > kUserCaptionInputLimit;
    bool contentTooLong = content.size() > kUserContentInputLimit;
    bool taken = false;
    for (const CMenuItem& item : existing) taken = taken || item.caption == caption;

    // The limits first, then the empty fields, then the caption's uniqueness.
    Field expected = captionTooLong                 ? Field::kCaption
                     : contentTooLong               ? Field::kContent
                     : caption.empty()              ? Field::kCaption
                     : content.empty()              ? Field::kContent
                     : isNew && taken               ? Field::kCaption
                                                    : Field::kNone;
    FUZZ_CHECK(check.field == expected);
    FUZZ_CHECK(check.tooLong == (captionTooLong || contentTooLong));
    FUZZ_CHECK(check.message.empty() == (expected == Field::kNone));
    // The taken caption is named in the message, whole.
    if (check.field == Field::kCaption && !check.tooLong && !caption.empty()) {
        FUZZ_CHECK(check.message.compare(0, caption.size(), caption) == 0);
    }
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(UserStringFuzz)
