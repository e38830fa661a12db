// The exports of the hook library Zurimo.dll, which the program links against by name.
#pragma once

#include <windows.h>

// Handles the program passes to SetHook, in this order.
enum ZurimoHookWindow {
    kHookMainWindow,
    kHookHistoryWindow,
    kHookHistoryList,    // 1012
    kHookPreview,        // 1005
    kHookTakeOut,        // 1007
    kHookDelete,         // 1008
    kHookFind,           // 1009
    kHookEdit,           // 1010
    kHookClose,          // 2
    kHookQuote,          // 1022
    kHookDateTime,       // 1047
    kHookWindowCount
};

#ifdef __cplusplus
extern "C" {
#endif

// With the eleven handles above: installs the main hook. With null: removes it.
// Nonzero when the hook is now in the state asked for.
BOOL WINAPI SetHook(const HWND* windows);
// Installs (nonzero) or removes (0) the Word hook; nonzero on success.
BOOL WINAPI SetWordHook(BOOL install);
// Nonzero when the clipboard's current owner is a window of MS Word.
BOOL WINAPI IsWord(void);
// Makes the focused control of the foreground window paste the clipboard's text.
BOOL WINAPI Paste(void);

#ifdef __cplusplus
}
#endif
