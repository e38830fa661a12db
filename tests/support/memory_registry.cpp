#include "tests/support/memory_registry.h"

#include <cstring>
#include <iterator>

namespace zurimo {
namespace {

char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

int RootIndex(RegHandle key) {
    switch (key) {
    case kHkeyClassesRoot: return 0;
    case kHkeyCurrentUser: return 1;
    case kHkeyLocalMachine: return 2;
    default: return -1;
    }
}

}  // namespace

bool MemoryRegistry::Less::operator()(const std::string& a, const std::string& b) const {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        char x = Fold(a[i]), y = Fold(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

MemoryRegistry::MemoryRegistry() = default;

bool MemoryRegistry::RefOf(RegHandle key, KeyRef* ref) const {
    int root = RootIndex(key);
    if (root >= 0) {
        ref->root = root;
        ref->path.clear();
        return true;
    }
    auto it = handles_.find(key);
    if (it == handles_.end()) return false;
    *ref = it->second;
    return true;
}

MemoryRegistry::Node* MemoryRegistry::Find(const KeyRef& ref) {
    Node* node = &roots_[ref.root];
    for (const std::string& part : ref.path) {
        auto it = node->keys.find(part);
        if (it == node->keys.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

MemoryRegistry::Node* MemoryRegistry::Resolve(RegHandle key) {
    KeyRef ref;
    return RefOf(key, &ref) ? Find(ref) : nullptr;
}

long MemoryRegistry::OpenKey(RegHandle parent, const std::string& subkey, bool create,
                             RegHandle* out) {
    KeyRef ref;
    if (!RefOf(parent, &ref)) return kErrorInvalidHandle;
    Node* node = Find(ref);
    if (!node) return kErrorKeyDeleted;
    for (const std::string& part : SplitPath(subkey)) {
        auto it = node->keys.find(part);
        if (it == node->keys.end()) {
            if (!create) return kErrorFileNotFound;
            it = node->keys.emplace(part, std::make_unique<Node>()).first;
        }
        node = it->second.get();
        ref.path.push_back(part);
    }
    RegHandle handle = nextHandle_++;
    handles_[handle] = ref;
    *out = handle;
    return kErrorSuccess;
}

long MemoryRegistry::CloseKey(RegHandle key) {
    if (RootIndex(key) >= 0) return kErrorSuccess;
    return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

long MemoryRegistry::QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                                void* data, std::uint32_t* size) {
    Node* node = Resolve(key);
    if (!node) return kErrorInvalidHandle;
    auto it = node->values.find(name);
    if (it == node->values.end()) return kErrorFileNotFound;
    const Value& value = it->second;
    auto length = static_cast<std::uint32_t>(value.bytes.size());
    if (data && size && *size < length) {
        *size = length;
        return kErrorMoreData;
    }
    if (type) *type = value.type;
    if (data && length) std::memcpy(data, value.bytes.data(), length);
    if (size) *size = length;
    return kErrorSuccess;
}

long MemoryRegistry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                              const void* data, std::uint32_t size) {
    Node* node = Resolve(key);
    if (!node) return kErrorInvalidHandle;
    if (failSetValue) {
        if (long error = failSetValue(name)) return error;
    }
    Value& value = node->values[name];
    value.type = type;
    value.bytes.assign(static_cast<const char*>(data), size);
    writes_.push_back(name);
    return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(RegHandle key, const std::string& name) {
    Node* node = Resolve(key);
    if (!node) return kErrorInvalidHandle;
    return node->values.erase(name) ? kErrorSuccess : kErrorFileNotFound;
}

long MemoryRegistry::DeleteKey(RegHandle key, const std::string& subkey) {
    KeyRef ref;
    if (!RefOf(key, &ref)) return kErrorInvalidHandle;
    std::vector<std::string> parts = SplitPath(subkey);
    if (parts.empty()) return kErrorInvalidParameter;
    std::string last = parts.back();
    parts.pop_back();
    for (std::string& part : parts) ref.path.push_back(part);
    Node* parent = Find(ref);
    if (!parent) return kErrorFileNotFound;
    auto it = parent->keys.find(last);
    if (it == parent->keys.end()) return kErrorFileNotFound;
    if (!it->second->keys.empty()) return kErrorAccessDenied;
    parent->keys.erase(it);
    return kErrorSuccess;
}

long MemoryRegistry::EnumKey(RegHandle key, std::uint32_t index, char* name,
                             std::uint32_t* size) {
    Node* node = Resolve(key);
    if (!node) return kErrorInvalidHandle;
    if (index >= node->keys.size()) return kErrorNoMoreItems;
    auto it = node->keys.begin();
    std::advance(it, index);
    const std::string& found = it->first;
    if (found.size() + 1 > *size) return kErrorMoreData;
    std::memcpy(name, found.c_str(), found.size() + 1);
    *size = static_cast<std::uint32_t>(found.size());
    return kErrorSuccess;
}

MemoryRegistry::Node* MemoryRegistry::MakePath(const std::string& path) {
    Node* node = &roots_[1];
    for (const std::string& part : SplitPath(path)) {
        auto& child = node->keys[part];
        if (!child) child = std::make_unique<Node>();
        node = child.get();
    }
    return node;
}

const MemoryRegistry::Node* MemoryRegistry::FindPath(const std::string& path) const {
    const Node* node = &roots_[1];
    for (const std::string& part : SplitPath(path)) {
        auto it = node->keys.find(part);
        if (it == node->keys.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

void MemoryRegistry::PutDword(const std::string& path, const std::string& name,
                              std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    PutRaw(path, name, kRegDword, bytes);
}

void MemoryRegistry::PutString(const std::string& path, const std::string& name,
                               const std::string& value, std::uint32_t type) {
    PutRaw(path, name, type, value + std::string(1, '\0'));
}

void MemoryRegistry::PutRaw(const std::string& path, const std::string& name,
                            std::uint32_t type, const std::string& bytes) {
    Value& value = MakePath(path)->values[name];
    value.type = type;
    value.bytes = bytes;
}

bool MemoryRegistry::HasKey(const std::string& path) const { return FindPath(path) != nullptr; }

bool MemoryRegistry::HasValue(const std::string& path, const std::string& name) const {
    const Node* node = FindPath(path);
    return node && node->values.count(name);
}

bool MemoryRegistry::GetRaw(const std::string& path, const std::string& name,
                            std::uint32_t* type, std::string* bytes) const {
    const Node* node = FindPath(path);
    if (!node) return false;
    auto it = node->values.find(name);
    if (it == node->values.end()) return false;
    *type = it->second.type;
    *bytes = it->second.bytes;
    return true;
}

}  // namespace zurimo
