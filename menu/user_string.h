// Checking a user string as the entry dialog takes it: its length limits, a caption and a
// content, and a new caption not used already.
#pragma once

#include <cstddef>
#include <string>

#include "menu/menu_item.h"

namespace zurimo {

// The most characters (bytes in the ANSI code page) the two fields take.
constexpr std::size_t kUserCaptionInputLimit = 256;
constexpr std::size_t kUserContentInputLimit = 1023;

struct UserStringCheck {
    enum class Field { kNone, kCaption, kContent };
    Field field = Field::kNone;  // the field at fault; kNone when the string is good
    std::string message;
    bool tooLong = false;        // a limit was passed (an exclamation, not a stop)
    explicit operator bool() const { return field == Field::kNone; }
};

// `existing` is the user menu dialog's list; a new string's caption must differ, byte for
// byte, from every caption there. An edited string's caption is not compared.
UserStringCheck CheckUserString(const std::string& caption, const std::string& content,
                                bool isNew, const MenuItemList& existing);

}  // namespace zurimo
