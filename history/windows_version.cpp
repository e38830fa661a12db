#include "history/windows_version.h"

#include <cstdio>

namespace zurimo {
namespace {

constexpr std::uint32_t kFamily95 = 1;
constexpr std::uint32_t kFamilyNt = 2;

std::string Format(const char* pattern, const char* name, std::uint32_t a, std::uint32_t b,
                   std::uint32_t c, std::uint32_t d, const std::string& servicePack, bool withD) {
    char text[512];
    if (withD) {
        std::snprintf(text, sizeof text, pattern, name, a, b, c, d, servicePack.c_str());
    } else {
        std::snprintf(text, sizeof text, pattern, name, a, b, c, servicePack.c_str());
    }
    return text;
}

}  // namespace

std::string WindowsVersionDescription(const WindowsVersion& v) {
    if (v.platform == kFamily95) {
        const char* name = v.minor == 0 ? "95" : v.minor == 10 ? "98" : v.minor == 90 ? "ME" : nullptr;
        if (!name) return std::string();
        // The build number's low half, then its high half.
        return Format("Windows %s Version %u.%u Build %u.%u %s", name, v.major, v.minor,
                      v.build & 0xFFFF, v.build >> 16, v.servicePack, true);
    }
    if (v.platform != kFamilyNt || v.major > 6) return std::string();
    const char* name = "";
    if (v.major <= 4) {
        name = "NT";
    } else if (v.major == 5) {
        name = v.minor == 0 ? "2000" : v.minor == 1 ? "XP" : v.minor == 2 ? "2003" : "";
    } else if (v.major == 6) {
        name = v.minor == 0 ? "Vista" : v.minor == 1 ? "7" : "";
    }
    return Format("Windows %s Version %u.%u Build %u %s", name, v.major, v.minor, v.build, 0,
                  v.servicePack, false);
}

}  // namespace zurimo
