// A small key-value view of the registry. The program's logic works on this interface; the
// Windows build hands it the real registry, the tests an in-memory one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zurimo {

// Opaque key handle; the predefined roots have the same values as in Windows.
using RegHandle = std::uintptr_t;
constexpr RegHandle kHkeyClassesRoot = 0x80000000u;
constexpr RegHandle kHkeyCurrentUser = 0x80000001u;
constexpr RegHandle kHkeyLocalMachine = 0x80000002u;

// Windows error codes the registry code returns or tests for.
constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;
constexpr long kErrorBadKey = 1010;
constexpr long kErrorKeyDeleted = 1018;

// Value types.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

// Every call returns a Windows error code (0 = success) and leaves its outputs untouched
// on failure. Names are byte strings in the ANSI code page.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens an existing key below `parent`; with `create` the key (and missing parents)
    // is made first. An empty subkey opens `parent` again.
    virtual long OpenKey(RegHandle parent, const std::string& subkey, bool create,
                         RegHandle* out) = 0;
    virtual long CloseKey(RegHandle key) = 0;

    // Reads a value. `size` is the caller's buffer size in, the value's size out. With a
    // size smaller than the value, returns kErrorMoreData, sets `size` and copies nothing.
    virtual long QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                            void* data, std::uint32_t* size) = 0;
    virtual long SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                          const void* data, std::uint32_t size) = 0;
    virtual long DeleteValue(RegHandle key, const std::string& name) = 0;

    // Deletes a subkey that has no subkeys of its own.
    virtual long DeleteKey(RegHandle key, const std::string& subkey) = 0;

    // Name of the index-th subkey. `size` is the buffer size in characters in, counting the
    // terminating zero, and the name's length without it out; kErrorMoreData when the
    // name does not fit, kErrorNoMoreItems past the last subkey.
    virtual long EnumKey(RegHandle key, std::uint32_t index, char* name,
                         std::uint32_t* size) = 0;
};

}  // namespace zurimo
