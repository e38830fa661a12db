// A file's version resource: its fixed part and the strings of its first string table.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zurimo {

class FileVersionInfo {
public:
    // True when the file has a version resource with a valid fixed part. The string table is
    // the one its translation names or, with `ownTableKey`, the first one the block holds.
    bool Load(const std::string& path, bool ownTableKey = false);
    // The string value `name` of the string table, when it is there and, with its
    // terminating zero, shorter than `capacity` bytes.
    std::optional<std::string> QueryString(const char* name, std::size_t capacity) const;

    DWORD fileVersionHigh() const { return fixed_.dwFileVersionMS; }
    DWORD fileVersionLow() const { return fixed_.dwFileVersionLS; }
    const std::string& key() const { return key_; }

private:
    std::vector<char> block_;
    VS_FIXEDFILEINFO fixed_ = {};
    std::string key_;  // such as 041104b0
};

}  // namespace zurimo
