#include "base/win/program.h"

#include <shellapi.h>

#include "base/product.h"
#include "base/text.h"
#include "base/win/win_text.h"

namespace zurimo {
namespace {

HINSTANCE g_instance = nullptr;

}  // namespace

void SetProgramInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE ProgramInstance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }

int ShowMessage(HWND owner, const std::string& text, UINT type) {
    return MessageBoxA(owner, text.c_str(), kAppTitle, type);
}

int ShowMessage(HWND owner, const std::u16string& text, UINT type) {
    return MessageBoxW(owner, reinterpret_cast<const wchar_t*>(text.c_str()), L"Zurimo!", type);
}

// Allocates nothing: memory has just run out.
void ReportOutOfMemory(HWND owner) {
    MessageBoxA(owner, kOutOfMemoryText, kAppTitle, MB_OK | MB_ICONEXCLAMATION);
}

void OpenHelpPage(HWND owner) {
    std::string page = FolderOf(ModulePath(nullptr)) + "zurimo.html";
    ShellExecuteA(owner, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace zurimo
