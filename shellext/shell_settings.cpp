#include "shellext/shell_settings.h"

#include "base/product.h"
#include "base/reg_key.h"

namespace zurimo {
namespace {

constexpr std::uint32_t kCaptionBuffer = 260;
constexpr std::uint32_t kContentBuffer = 1024;
constexpr std::uint32_t kDriveTypeBuffer = 8;

std::string UserKey(int k) { return std::string(kAppKey) + "\\User" + std::to_string(k); }

// A text value read into a buffer of `buffer` bytes, as the menu's fixed buffers take it.
std::optional<std::string> ReadText(CRegKey& key, const char* name, std::uint32_t buffer) {
    std::string text(buffer, '\0');
    std::uint32_t size = buffer;
    if (key.QueryString(name, &text[0], &size) != kErrorSuccess) return std::nullopt;
    text.resize(size - 1);
    return text;
}

}  // namespace

std::optional<ShellSettings> ReadShellSettings(Registry& registry) {
    CRegKey key(registry);
    if (key.Open(kHkeyCurrentUser, std::string(kAppKey) + "\\Settings") != kErrorSuccess) {
        return std::nullopt;
    }
    std::uint32_t limit = 0, separator = 0, hierarchy = 0, userMenu = 0;
    if (key.QueryDword("ShellLimit", &limit) != kErrorSuccess || limit == 0 ||
        key.QueryDword("ShellSep", &separator) != kErrorSuccess ||
        key.QueryDword("ShellHierarchy", &hierarchy) != kErrorSuccess ||
        key.QueryDword("ShellUserMenu", &userMenu) != kErrorSuccess) {
        return std::nullopt;
    }
    return ShellSettings{separator != 0, hierarchy != 0, userMenu != 0};
}

std::vector<std::optional<std::string>> ReadUserCaptions(Registry& registry) {
    std::vector<std::optional<std::string>> captions;
    for (int k = 0;; ++k) {
        CRegKey key(registry);
        if (key.Open(kHkeyCurrentUser, UserKey(k)) != kErrorSuccess) break;
        captions.push_back(ReadText(key, "Caption", kCaptionBuffer));
    }
    return captions;
}

std::optional<std::string> ReadUserContent(Registry& registry, int k) {
    CRegKey key(registry);
    if (k < 0 || key.Open(kHkeyCurrentUser, UserKey(k)) != kErrorSuccess) return std::nullopt;
    std::uint32_t type = 0, size = 0;
    if (registry.QueryValue(key.Get(), "Content", &type, nullptr, &size) != kErrorSuccess ||
        size > kContentBuffer) {
        return std::nullopt;
    }
    return ReadText(key, "Content", kContentBuffer);
}

UnixStyle ReadUnixStyle(Registry& registry) {
    CRegKey key(registry);
    if (key.Open(kHkeyCurrentUser, std::string(kAppKey) + "\\ShellExt") != kErrorSuccess) {
        return UnixStyle::kStandard;
    }
    std::optional<std::string> driveType = ReadText(key, "DriveType", kDriveTypeBuffer);
    return driveType ? UnixStyleFrom(*driveType) : UnixStyle::kStandard;
}

}  // namespace zurimo
