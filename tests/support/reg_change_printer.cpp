#include "tests/support/reg_change_printer.h"

#include <cstdio>
#include <string>

namespace zurimo {
namespace {

const char* RootName(RegHandle root) {
    switch (root) {
    case kHkeyClassesRoot: return "HKCR";
    case kHkeyCurrentUser: return "HKCU";
    case kHkeyLocalMachine: return "HKLM";
    default: return "?";
    }
}

}  // namespace

void PrintTo(const RegChange& c, std::ostream* out) {
    std::string path = std::string(RootName(c.root)) + "\\" + c.key;
    switch (c.kind) {
    case RegChange::Kind::kCreateKey: *out << "create " << path; return;
    case RegChange::Kind::kDeleteTree: *out << "delete tree " << path; return;
    case RegChange::Kind::kDeleteValue: *out << "delete " << path << "\\" << c.name; return;
    case RegChange::Kind::kSetValue: break;
    }
    *out << "set " << path << "\\" << c.name << " = type " << c.type << " [";
    for (unsigned char byte : c.data) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        *out << hex;
    }
    *out << "]";
}

}  // namespace zurimo
