// The registry interface over the Windows registry (ANSI calls, full access).
#pragma once

#include <string>

#include "base/registry.h"

namespace zurimo {

class WinRegistry : public Registry {
public:
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
};

// The process's one registry.
Registry& SystemRegistry();

// A string value below HKEY_CURRENT_USER read and written with the wide calls, for a text the
// code page cannot hold: Windows keeps it in UTF-16, and a reader of the ANSI value gets it
// converted to the code page. Reading gives an empty text when the value is missing or is
// no string.
std::u16string ReadUserWideString(const std::string& subkey, const std::string& name);
bool WriteUserWideString(const std::string& subkey, const std::string& name,
                         const std::u16string& value);

}  // namespace zurimo
