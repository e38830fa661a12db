#include "app/win/messages.h"

namespace zurimo {

const UINT kZurimoGetClipboardContent = RegisterWindowMessageA("ZurimoGetClipboardContent");
const UINT kZurimoTrayIcon = RegisterWindowMessageA("ZurimoTrayIcon");
const UINT kZurimoApply = RegisterWindowMessageA("ZurimoApply");
const UINT kTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");

}  // namespace zurimo
