// Fills an in-memory registry from fuzzing input: the keys and value names the program reads
// (the settings, ShellExt, Folder<n>, User<n>) and any others, with any type and any bytes.
#pragma once

#include <string>

#include "base/product.h"
#include "fuzz/fuzz.h"
#include "tests/support/memory_registry.h"

namespace zurimo::fuzz {

// Records until the input ends, each: a key byte (with a number byte for the numbered keys),
// a name byte (with a text for other names), a type byte (FF: four bytes), and the value's
// bytes as a text. A key byte from F0 up makes the key alone, with no value.
inline void FillRegistry(FuzzInput& in, MemoryRegistry& registry) {
    static const char* const kNames[] = {
        "Caption",      "Content",       "Other",        "Flags",        "Show",
        "ShellLimit",   "ShellSep",      "ShellHierarchy", "ShellUserMenu", "DriveType",
        "FindHistory0", "FindHistory1",  "FindHistory2", "FindHistory3", "FindHistory4",
        "",
    };
    constexpr std::size_t kNameCount = sizeof kNames / sizeof kNames[0];
    const std::string app = kAppKey;
    while (!in.empty()) {
        std::uint8_t k = in.Byte();
        std::string key;
        switch (k % 6) {
        case 0: key = app + "\\Settings"; break;
        case 1: key = app + "\\ShellExt"; break;
        case 2: key = app + "\\Folder" + std::to_string(in.Byte() % 24); break;
        case 3: key = app + "\\User" + std::to_string(in.Byte() % 24); break;
        case 4: key = app + "\\" + in.Text(); break;
        default: key = app; break;
        }
        if (k >= 0xF0) {  // the key alone
            RegHandle handle = 0;
            if (registry.OpenKey(kHkeyCurrentUser, key, true, &handle) == kErrorSuccess) {
                registry.CloseKey(handle);
            }
            continue;
        }
        std::uint8_t n = in.Byte();
        std::string name = n < kNameCount ? kNames[n] : (n < 0xC0 ? kNames[n % kNameCount]
                                                                  : in.Text());
        std::uint8_t t = in.Byte();
        std::uint32_t type = t == 0xFF ? in.U32() : t % 8;
        registry.PutRaw(key, name, type, in.Text());
    }
}

}  // namespace zurimo::fuzz
