// Folder paths as Windows gives them: its directories, the temporary folder, the program
// files folder from the registry, and the shell's special folders.
#pragma once

#include "menu/folder_list.h"

namespace zurimo {

class WinFolderResolver : public FolderResolver {
public:
    std::string SystemPath(int number) override;
};

}  // namespace zurimo
