#include "base/reg_key.h"

#include <cstring>
#include <utility>
#include <vector>

namespace zurimo {
namespace {

bool IsPredefined(RegHandle key) { return key >= kHkeyClassesRoot && key <= kHkeyLocalMachine; }

// Deletes `path` below `parent`: always the first subkey until none is left, then the key.
// A name that does not fit the buffer ends the loop, and the final delete then reports the
// key as not empty.
long DeleteTree(Registry& registry, RegHandle parent, const std::string& path) {
    CRegKey child(registry);
    long error = child.Open(parent, path);
    if (error != kErrorSuccess) return error;
    char name[256];
    std::uint32_t size = sizeof name;
    while (registry.EnumKey(child.Get(), 0, name, &size) == kErrorSuccess) {
        error = DeleteTree(registry, child.Get(), name);
        if (error != kErrorSuccess) return error;
        size = sizeof name;
    }
    child.Close();
    return registry.DeleteKey(parent, path);
}

}  // namespace

CRegKey::CRegKey(CRegKey&& other) noexcept
    : registry_(other.registry_), key_(std::exchange(other.key_, 0)) {}

CRegKey& CRegKey::operator=(CRegKey&& other) noexcept {
    if (this != &other) {
        Close();
        registry_ = other.registry_;
        key_ = std::exchange(other.key_, 0);
    }
    return *this;
}

long CRegKey::Open(RegHandle parent, const std::string& subkey) {
    return OpenOrCreate(parent, subkey, false);
}

long CRegKey::Create(RegHandle parent, const std::string& subkey) {
    return OpenOrCreate(parent, subkey, true);
}

long CRegKey::OpenOrCreate(RegHandle parent, const std::string& subkey, bool create) {
    RegHandle opened = 0;
    long error = registry_->OpenKey(parent, subkey, create, &opened);
    if (error != kErrorSuccess) return error;
    Close();
    key_ = opened;
    return kErrorSuccess;
}

long CRegKey::Close() {
    long error = kErrorSuccess;
    if (key_ && !IsPredefined(key_)) error = registry_->CloseKey(key_);
    key_ = 0;
    return error;
}

long CRegKey::QueryDword(const std::string& name, std::uint32_t* out) {
    std::uint32_t type = 0;
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    if (registry_->QueryValue(key_, name, &type, &value, &size) != kErrorSuccess ||
        type != kRegDword || size != sizeof value) {
        return kErrorBadKey;
    }
    *out = value;
    return kErrorSuccess;
}

long CRegKey::QueryString(const std::string& name, char* buffer, std::uint32_t* size) {
    std::uint32_t type = 0;
    std::uint32_t length = 0;
    if (registry_->QueryValue(key_, name, &type, nullptr, &length) != kErrorSuccess) {
        return kErrorBadKey;
    }
    if (type != kRegSz && type != kRegExpandSz && type != kRegMultiSz) return kErrorBadKey;

    // Read whole, then copy only what fits with its terminator: a value stored without a
    // terminating zero must not leave an unterminated buffer behind.
    std::vector<char> bytes(length + 1, '\0');
    long error = registry_->QueryValue(key_, name, &type, bytes.data(), &length);
    if (error != kErrorSuccess) return error;
    std::size_t text = strnlen(bytes.data(), length);
    if (text + 1 > *size) return kErrorMoreData;
    std::memcpy(buffer, bytes.data(), text);
    buffer[text] = '\0';
    *size = static_cast<std::uint32_t>(text + 1);
    return kErrorSuccess;
}

long CRegKey::SetString(const std::string& name, const std::string& text) {
    return registry_->SetValue(key_, name, kRegSz, text.c_str(),
                              static_cast<std::uint32_t>(text.size() + 1));
}

long CRegKey::SetDword(const std::string& name, std::uint32_t value) {
    return registry_->SetValue(key_, name, kRegDword, &value, sizeof value);
}

long CRegKey::DeleteValue(const std::string& name) { return registry_->DeleteValue(key_, name); }

long CRegKey::DeleteSubKey(const std::string& name) { return registry_->DeleteKey(key_, name); }

long CRegKey::RecurseDeleteKey(RegHandle parent, const std::string& path) {
    Close();
    return DeleteTree(*registry_, parent, path);
}

}  // namespace zurimo
