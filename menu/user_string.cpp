#include "menu/user_string.h"

namespace zurimo {
namespace {

UserStringCheck Fault(UserStringCheck::Field field, std::string message, bool tooLong = false) {
    UserStringCheck check;
    check.field = field;
    check.message = std::move(message);
    check.tooLong = tooLong;
    return check;
}

std::string TooLongMessage(std::size_t limit) {
    return std::to_string(limit) + " 文字以内で入力してください。";
}

}  // namespace

UserStringCheck CheckUserString(const std::string& caption, const std::string& content,
                                bool isNew, const MenuItemList& existing) {
    using Field = UserStringCheck::Field;
    if (caption.size() > kUserCaptionInputLimit) {
        return Fault(Field::kCaption, TooLongMessage(kUserCaptionInputLimit), true);
    }
    if (content.size() > kUserContentInputLimit) {
        return Fault(Field::kContent, TooLongMessage(kUserContentInputLimit), true);
    }
    if (caption.empty()) return Fault(Field::kCaption, "表示名が無効です。");
    if (content.empty()) return Fault(Field::kContent, "内容がありません。");
    if (isNew) {
        for (const CMenuItem& item : existing) {
            if (item.caption == caption) {
                return Fault(Field::kCaption,
                             caption + " は既に登録されています。\r\n違う表示名を付けてください。");
            }
        }
    }
    return UserStringCheck();
}

}  // namespace zurimo
