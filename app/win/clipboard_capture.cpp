#include "app/win/clipboard_capture.h"

#include <cstring>
#include <string>

#include "base/win/win_code_page.h"
#include "history/win/program_code_page.h"
#include "hook/zurimo_hook.h"

namespace zurimo {
namespace {

constexpr UINT kViewerTimeoutMs = 1000;

// The marks password managers put on secrets. The clipboard must be open.
ClipboardMarks ReadClipboardMarks() {
    ClipboardMarks marks;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        char name[128];
        if (format < 0xC000 || GetClipboardFormatNameA(format, name, sizeof name) <= 0) continue;
        marks.formatNames.push_back(name);
        if (std::strcmp(name, "CanIncludeInClipboardHistory") != 0) continue;
        if (HANDLE data = GetClipboardData(format)) {
            GlobalLockGuard lock(data);
            if (lock.get() && GlobalSize(data) >= sizeof(DWORD)) {
                marks.hasCanInclude = true;
                std::memcpy(&marks.canIncludeInHistory, lock.get(), sizeof(DWORD));
            }
        }
    }
    return marks;
}

// The CF_TEXT bytes up to the first zero, as they are. The clipboard must be open.
std::string ReadAnsiText() {
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return std::string();
    GlobalLockGuard lock(data);
    const char* bytes = static_cast<const char*>(lock.get());
    return bytes ? std::string(bytes, strnlen(bytes, GlobalSize(data))) : std::string();
}

// The entry for the text on the open clipboard; its ANSI text is empty when there is none.
// The UTF-16 text is looked at where the clipboard keeps it and copied only when it does
// not fit the code page.
HistoryEntry ReadEntry() {
    std::string ansi = ReadAnsiText();
    if (ansi.empty() || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return HistoryEntry(ansi);
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return HistoryEntry(ansi);
    GlobalLockGuard lock(data);
    auto units = static_cast<const wchar_t*>(lock.get());
    if (!units) return HistoryEntry(ansi);
    std::size_t length = wcsnlen(units, GlobalSize(data) / sizeof(wchar_t));
    return CapturedEntry(std::move(ansi), WideView(units, length), ProgramCodePage());
}

}  // namespace

void CClipboardCapture::Join(HWND window) {
    window_ = window;
    nextViewer_ = SetClipboardViewer(window);
}

void CClipboardCapture::Leave() { ChangeClipboardChain(window_, nextViewer_); }

void CClipboardCapture::OnDrawClipboard(bool word) {
    if (target_.Accepting()) {
        bool read = true;
        if (word) {
            CriticalSection::Lock lock(lock_);
            read = wordFilter_.Accept(IsWord() != FALSE);
        }
        if (read) PostMessageA(window_, readMessage_, 0, 0);
    }
    ForwardToNextViewer(WM_DRAWCLIPBOARD, 0, 0);
}

void CClipboardCapture::OnChangeCbChain(HWND removed, HWND next) {
    if (removed == nextViewer_) {
        nextViewer_ = next;
    } else {
        ForwardToNextViewer(WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                            reinterpret_cast<LPARAM>(next));
    }
}

void CClipboardCapture::ForwardToNextViewer(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!nextViewer_) return;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(nextViewer_, message, wParam, lParam, SMTO_ABORTIFHUNG,
                        kViewerTimeoutMs, &result);
}

void CClipboardCapture::Read() {
    if (!target_.Accepting() || !IsClipboardFormatAvailable(CF_TEXT)) return;
    HistoryEntry entry;
    {
        ClipboardOpen clipboard(window_);
        if (!clipboard) return;
        // Reads queued by a burst of changes all find the newest text: each change is
        // recorded once. The number is taken with the clipboard open, so that no change
        // slips in between it and the text.
        DWORD sequence = GetClipboardSequenceNumber();
        if (sequence != 0 && sequence == lastSequence_) return;
        lastSequence_ = sequence;
        if (!IsExcludedFromHistory(ReadClipboardMarks())) entry = ReadEntry();
    }
    if (!entry.text.empty()) target_.AddCaptured(std::move(entry));
}

bool CClipboardCapture::TogglePause() {
    if (paused_) {
        // Rejoining sends WM_DRAWCLIPBOARD at once, which captures the current text even
        // when the clipboard has not changed since the last read.
        lastSequence_ = 0;
        nextViewer_ = nullptr;
        nextViewer_ = SetClipboardViewer(window_);
        paused_ = false;
    } else {
        paused_ = ChangeClipboardChain(window_, nextViewer_) != FALSE;
    }
    return paused_;
}

}  // namespace zurimo
