// The About box's description of the running Windows.
#pragma once

#include <cstdint>
#include <string>

namespace zurimo {

struct WindowsVersion {
    std::uint32_t platform = 0;  // 1: the Windows 95 family, 2: the NT family
    std::uint32_t major = 0, minor = 0, build = 0;
    std::string servicePack;
};

// "Windows 7 Version 6.1 Build 7601 Service Pack 1" and the like; empty for versions the
// program does not name (the NT family after 6, unknown members of the 95 family).
std::string WindowsVersionDescription(const WindowsVersion& version);

}  // namespace zurimo
