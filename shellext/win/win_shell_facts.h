// What the Explorer menu's commands learn about items from Windows.
#pragma once

#include "shellext/shell_facts.h"

namespace zurimo {

class WinShellFacts : public ShellFacts {
public:
    std::optional<std::string> ShortPath(const std::string& path) override;
    std::optional<std::u16string> ShortPath(const std::u16string& path) override;
    std::optional<ItemFacts> Gather(const std::string& path) override;
    std::optional<WideItemFacts> Gather(const std::u16string& path) override;
    std::optional<std::string> FormatDate(std::uint64_t fileTime, bool longForm) override;
    std::optional<std::string> FormatTime(std::uint64_t fileTime) override;
    std::string UpperCase(const std::string& text) override;
    std::u16string UpperCase(const std::u16string& text) override;
    std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit) override;
    std::optional<std::string> ReadSmallFile(const std::u16string& path,
                                             std::size_t limit) override;
};

}  // namespace zurimo
