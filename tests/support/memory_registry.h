// A test double: an in-memory registry with the Windows rules that the program relies on:
// case-insensitive names, typed values, keys that must be empty of subkeys to be deleted.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/registry.h"

namespace zurimo {

class MemoryRegistry : public Registry {
public:
    MemoryRegistry();

    long OpenKey(RegHandle parent, const std::string& subkey, bool create,
                 RegHandle* out) override;
    long CloseKey(RegHandle key) override;
    long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override;
    long SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                  const void* data, std::uint32_t size) override;
    long DeleteValue(RegHandle key, const std::string& name) override;
    long DeleteKey(RegHandle key, const std::string& subkey) override;
    long EnumKey(RegHandle key, std::uint32_t index, char* name, std::uint32_t* size) override;

    // Test conveniences, by full path such as "Software\\Kestro!\\Zurimo!\\Settings"
    // below HKEY_CURRENT_USER.
    void PutDword(const std::string& path, const std::string& name, std::uint32_t value);
    void PutString(const std::string& path, const std::string& name, const std::string& value,
                   std::uint32_t type = kRegSz);
    void PutRaw(const std::string& path, const std::string& name, std::uint32_t type,
                const std::string& bytes);
    bool HasKey(const std::string& path) const;
    bool HasValue(const std::string& path, const std::string& name) const;
    // The value's type and bytes; false when it is missing.
    bool GetRaw(const std::string& path, const std::string& name, std::uint32_t* type,
                std::string* bytes) const;
    std::vector<std::string> ValueNamesInWriteOrder() const { return writes_; }
    std::size_t OpenHandleCount() const { return handles_.size(); }

    // Makes SetValue fail with the returned code when it is nonzero.
    std::function<long(const std::string& name)> failSetValue;

private:
    struct Value {
        std::uint32_t type = kRegNone;
        std::string bytes;
    };
    struct Less {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct Node {
        std::map<std::string, std::unique_ptr<Node>, Less> keys;
        std::map<std::string, Value, Less> values;
    };

    struct KeyRef {
        int root = 0;
        std::vector<std::string> path;
    };
    bool RefOf(RegHandle key, KeyRef* ref) const;
    Node* Find(const KeyRef& ref);
    Node* Resolve(RegHandle key);
    const Node* FindPath(const std::string& path) const;
    Node* MakePath(const std::string& path);

    Node roots_[3];
    std::map<RegHandle, KeyRef> handles_;
    RegHandle nextHandle_ = 0x1000;
    std::vector<std::string> writes_;
};

}  // namespace zurimo
