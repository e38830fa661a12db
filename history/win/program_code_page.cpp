#include "history/win/program_code_page.h"

#include "base/win/win_code_page.h"

namespace zurimo {

const CodePage& ProgramCodePage() {
    static const TabledCodePage codePage(SystemCodePage());
    return codePage;
}

}  // namespace zurimo
