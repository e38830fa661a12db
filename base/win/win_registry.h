// The registry interface over the Windows registry (ANSI calls, full access).
#pragma once

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

}  // namespace zurimo
