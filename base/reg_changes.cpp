#include "base/reg_changes.h"

#include "base/reg_key.h"

namespace zurimo {
namespace {

RegChange Make(RegChange::Kind kind, RegHandle root, std::string key, std::string name = {}) {
    RegChange change;
    change.kind = kind;
    change.root = root;
    change.key = std::move(key);
    change.name = std::move(name);
    return change;
}

long Apply(Registry& registry, const RegChange& change) {
    CRegKey key(registry);
    switch (change.kind) {
    case RegChange::Kind::kCreateKey: return key.Create(change.root, change.key);
    case RegChange::Kind::kSetValue: {
        long error = key.Open(change.root, change.key);
        if (error != kErrorSuccess) return error;
        return registry.SetValue(key.Get(), change.name, change.type, change.data.data(),
                                 static_cast<std::uint32_t>(change.data.size()));
    }
    case RegChange::Kind::kDeleteValue: {
        long error = key.Open(change.root, change.key);
        return error != kErrorSuccess ? error : key.DeleteValue(change.name);
    }
    case RegChange::Kind::kDeleteTree: return key.RecurseDeleteKey(change.root, change.key);
    }
    return kErrorInvalidParameter;
}

}  // namespace

bool RegChange::operator==(const RegChange& o) const {
    return kind == o.kind && root == o.root && key == o.key && name == o.name &&
           type == o.type && data == o.data;
}

RegChange CreateKeyChange(RegHandle root, std::string key) {
    return Make(RegChange::Kind::kCreateKey, root, std::move(key));
}

RegChange SetStringChange(RegHandle root, std::string key, std::string name,
                          const std::string& text) {
    RegChange change = Make(RegChange::Kind::kSetValue, root, std::move(key), std::move(name));
    change.type = kRegSz;
    change.data.assign(text.c_str(), text.size() + 1);
    return change;
}

RegChange SetDwordChange(RegHandle root, std::string key, std::string name,
                         std::uint32_t value) {
    RegChange change = Make(RegChange::Kind::kSetValue, root, std::move(key), std::move(name));
    change.type = kRegDword;
    for (int i = 0; i < 4; ++i) change.data += static_cast<char>((value >> (8 * i)) & 0xFF);
    return change;
}

RegChange DeleteValueChange(RegHandle root, std::string key, std::string name) {
    return Make(RegChange::Kind::kDeleteValue, root, std::move(key), std::move(name));
}

RegChange DeleteTreeChange(RegHandle root, std::string key) {
    return Make(RegChange::Kind::kDeleteTree, root, std::move(key));
}

long ApplyRegChanges(Registry& registry, const RegChanges& changes) {
    for (const RegChange& change : changes) {
        long error = Apply(registry, change);
        if (error != kErrorSuccess) return error;
    }
    return kErrorSuccess;
}

}  // namespace zurimo
