#include "base/win/file_version_info.h"

#include <cstdio>
#include <cstring>

namespace zurimo {
namespace {

constexpr DWORD kFixedSignature = 0xFEEF04BD;

// The key of the first string table, read from the block itself: the wide name that
// follows "StringFileInfo" (the table's header of three words lies between). Nothing when
// the block holds none.
std::optional<std::string> FirstStringTableKey(const std::vector<char>& block) {
    static const wchar_t kName[] = L"StringFileInfo";
    const std::size_t nameBytes = sizeof kName;  // with its terminating zero
    for (std::size_t at = 0; at + nameBytes <= block.size(); at += 2) {
        if (std::memcmp(&block[at], kName, nameBytes) != 0) continue;
        std::size_t table = (at + nameBytes + 3) & ~static_cast<std::size_t>(3);  // DWORD aligned
        std::size_t key = table + 6;
        std::string text;
        for (std::size_t i = key; i + 1 < block.size() && text.size() < 8; i += 2) {
            wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(block[i]) |
                                             (static_cast<unsigned char>(block[i + 1]) << 8));
            if (c == 0) break;
            if (c > 0x7F) return std::nullopt;  // a key is hexadecimal digits
            text += static_cast<char>(c);
        }
        if (text.empty()) return std::nullopt;
        return text;
    }
    return std::nullopt;
}

}  // namespace

bool FileVersionInfo::Load(const std::string& path, bool ownTableKey) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return false;
    block_.assign(size, '\0');
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block_.data())) return false;

    void* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block_.data(), "\\", &fixed, &length) || length < sizeof fixed_) {
        return false;
    }
    std::memcpy(&fixed_, fixed, sizeof fixed_);
    if (fixed_.dwSignature != kFixedSignature) return false;

    void* translation = nullptr;
    if (VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation", &translation, &length) &&
        length >= 4) {
        WORD pair[2];
        std::memcpy(pair, translation, sizeof pair);
        char key[16];
        std::snprintf(key, sizeof key, "%04x%04x", pair[0], pair[1]);
        key_ = key;
    }
    if (ownTableKey) {
        if (std::optional<std::string> own = FirstStringTableKey(block_)) key_ = *own;
    }
    return true;
}

std::optional<std::string> FileVersionInfo::QueryString(const char* name,
                                                         std::size_t capacity) const {
    if (block_.empty()) return std::nullopt;
    std::string query = "\\StringFileInfo\\" + key_ + "\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block_.data(), query.c_str(), &value, &length) || !value) {
        return std::nullopt;
    }
    std::string text(static_cast<const char*>(value), strnlen(static_cast<const char*>(value), length));
    if (text.size() + 1 >= capacity) return std::nullopt;
    return text;
}

}  // namespace zurimo
