// The code page the program converts its texts with: the system's, with its table of what
// fits made on first use, so that a large captured or loaded text is looked up, not
// converted there and back. (The Explorer extension, which converts a few paths, uses the
// system's code page as it is.)
#pragma once

#include "base/code_page.h"

namespace zurimo {

const CodePage& ProgramCodePage();

}  // namespace zurimo
