#include "app/win/messages.h"

namespace zurimo {

const UINT kZurimoGetClipboardContent = RegisterWindowMessageA("ZurimoGetClipboardContent");
const UINT kZurimoTrayIcon = RegisterWindowMessageA("ZurimoTrayIcon");
const UINT kZurimoApply = RegisterWindowMessageA("ZurimoApply");

}  // namespace zurimo
