#include "shellext/registration.h"

namespace zurimo {
namespace {

constexpr char kUserClasses[] = "Software\\Classes\\";

std::string ClassKey() { return std::string("CLSID\\") + kShellExtClsid; }

// The handler keys of the three kinds of item the menu is offered for.
std::string HandlerKey(const char* kind) {
    return std::string(kind) + "\\shellex\\ContextMenuHandlers\\" + kShellExtClsid;
}
constexpr const char* kHandlerKinds[] = {"*", "Directory", "InternetShortcut"};

}  // namespace

RegChanges ServerRegistration(const std::string& libraryPath) {
    const std::string server = ClassKey() + "\\InprocServer32";
    const std::pair<std::string, std::string> keys[] = {
        {ClassKey(), kShellExtDescription},
        {server, libraryPath},
        {ClassKey() + "\\ProgID", kShellExtProgId},
        {ClassKey() + "\\VersionIndependentProgID", kShellExtVersionIndependentProgId},
        {kShellExtVersionIndependentProgId, kShellExtDescription},
        {std::string(kShellExtVersionIndependentProgId) + "\\CLSID", kShellExtClsid},
        {std::string(kShellExtVersionIndependentProgId) + "\\CurVer", kShellExtProgId},
        {kShellExtProgId, kShellExtDescription},
        {std::string(kShellExtProgId) + "\\CLSID", kShellExtClsid},
    };
    RegChanges changes;
    for (const auto& [key, value] : keys) {
        changes.push_back(CreateKeyChange(kHkeyClassesRoot, key));
        changes.push_back(SetStringChange(kHkeyClassesRoot, key, "", value));
    }
    changes.push_back(SetStringChange(kHkeyClassesRoot, server, "ThreadingModel", "Apartment"));
    for (const char* kind : kHandlerKinds) {
        changes.push_back(CreateKeyChange(kHkeyClassesRoot, HandlerKey(kind)));
    }
    return changes;
}

RegChanges ServerUnregistration() {
    RegChanges changes = {
        DeleteTreeChange(kHkeyClassesRoot, ClassKey()),
        DeleteTreeChange(kHkeyClassesRoot, kShellExtVersionIndependentProgId),
        DeleteTreeChange(kHkeyClassesRoot, kShellExtProgId),
    };
    for (const char* kind : kHandlerKinds) {
        changes.push_back(DeleteTreeChange(kHkeyClassesRoot, HandlerKey(kind)));
    }
    return changes;
}

RegChanges ForUserClasses(const RegChanges& changes) {
    RegChanges moved = changes;
    for (RegChange& change : moved) {
        if (change.root != kHkeyClassesRoot) continue;
        change.root = kHkeyCurrentUser;
        change.key = kUserClasses + change.key;
    }
    return moved;
}

long RegisterServer(Registry& registry, const std::string& libraryPath) {
    RegChanges changes = ServerRegistration(libraryPath);
    long error = ApplyRegChanges(registry, changes);
    if (error == kErrorAccessDenied) error = ApplyRegChanges(registry, ForUserClasses(changes));
    return error;
}

bool UnregisterServer(Registry& registry) {
    // Key by key, in order: the first key found in neither place ends the work, and the keys
    // after it stay.
    for (const RegChange& change : ServerUnregistration()) {
        long machine = ApplyRegChanges(registry, {change});
        long user = ApplyRegChanges(registry, ForUserClasses({change}));
        // HKEY_CLASSES_ROOT shows the user's keys too: a key removed there may have been
        // the user's, so it counts as missing only when neither place had it.
        if (machine != kErrorSuccess && user != kErrorSuccess) return false;
    }
    return true;
}

}  // namespace zurimo
