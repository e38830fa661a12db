// The clipboard, used as other programs use it.
#include "harness.h"

#include <cstring>

namespace e2e {

void EmptyTheClipboard() {
    for (int i = 0; i < 50; ++i) {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
            return;
        }
        Sleep(20);
    }
}

namespace {

bool OpenClipboardPatiently() {
    for (int i = 0; i < 100; ++i) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(10);
    }
    return false;
}

// Puts a copy of the bytes on the open clipboard in `format`; the clipboard owns it then.
bool PutOnClipboard(UINT format, const void* data, size_t size) {
    zurimo::UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!block) return false;
    {
        zurimo::GlobalLockGuard lock(block.get());
        if (!lock) return false;
        memcpy(lock.get(), data, size);
    }
    if (!SetClipboardData(format, block.get())) return false;
    (void)block.release();
    return true;
}

}  // namespace

ClipboardHeld::ClipboardHeld() : open_(OpenClipboardPatiently()) {}

ClipboardHeld::~ClipboardHeld() { Release(); }

void ClipboardHeld::Release() {
    if (open_) CloseClipboard();
    open_ = false;
}

AssertionResult SetClipboardText(const std::string& text, const char* markFormat, DWORD markValue) {
    ClipboardHeld clipboard;
    if (!clipboard) return testing::AssertionFailure() << "the clipboard stays busy";
    EmptyClipboard();
    if (markFormat) {
        PutOnClipboard(RegisterClipboardFormatA(markFormat), &markValue, sizeof markValue);
    }
    if (!PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1)) {
        return LastErrorFailure("putting the text on the clipboard");
    }
    return testing::AssertionSuccess();
}

AssertionResult SetClipboardWide(const std::u16string& text) {
    ClipboardHeld clipboard;
    if (!clipboard) return testing::AssertionFailure() << "the clipboard stays busy";
    EmptyClipboard();
    if (!PutOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t))) {
        return LastErrorFailure("putting the text on the clipboard");
    }
    return testing::AssertionSuccess();
}

AssertionResult CopyAsOwner(const char* text) {
    HWND owner = CreateWindowA("STATIC", "clipboard owner", 0, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
    bool copied = false;
    for (int i = 0; i < 100 && !copied; ++i) {
        if (OpenClipboard(owner)) {
            EmptyClipboard();
            copied = PutOnClipboard(CF_TEXT, text, strlen(text) + 1);
            CloseClipboard();
        } else {
            Sleep(10);
        }
    }
    // The program asks who the owner is when it is told of the change.
    AssertionResult told = copied ? WaitForViewers() : testing::AssertionSuccess();
    DestroyWindow(owner);
    if (!copied) return testing::AssertionFailure() << "could not copy \"" << text << "\"";
    return told;
}

AssertionResult WaitForViewers(DWORD ms) {
    HWND viewer = GetClipboardViewer();
    DWORD_PTR ignored = 0;
    if (!viewer || SendMessageTimeoutA(viewer, WM_NULL, 0, 0, SMTO_NORMAL, ms, &ignored)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "the clipboard viewer " << viewer
                                       << " did not answer within " << ms << " ms";
}

AssertionResult CopyBurst(int count, const std::string& prefix, const Program* pacer) {
    HWND owner = CreateWindowA("STATIC", "clipboard owner", 0, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
    int copied = 0;
    AssertionResult paced = testing::AssertionSuccess();
    for (int i = 0; i < count && paced; ++i) {
        std::string text = prefix + std::to_string(i);
        for (int tries = 0; tries < 200; ++tries) {
            if (!OpenClipboard(owner)) {
                Sleep(5);
                continue;
            }
            EmptyClipboard();
            if (PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1)) ++copied;
            CloseClipboard();
            break;
        }
        if (pacer) paced = pacer->CatchUp();
    }
    AssertionResult told = WaitForViewers();
    DestroyWindow(owner);
    if (!paced) return paced << " (after copy " << copied << ")";
    if (copied != count) return testing::AssertionFailure() << "copied " << copied << " of " << count;
    return told;
}

AssertionResult CopyFromProgram(const char* programName, const std::string& text) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string program = ProgramFolder() + "\\" + programName;
    CopyFileA(self, program.c_str(), FALSE);
    ChildProcess copier;
    AssertionResult started =
        copier.Start("\"" + program + "\" --copy-as-owner \"" + text + "\"");
    if (!started) return started;
    DWORD code = 1;
    AssertionResult ended = copier.WaitForExit(kWaitMs, &code);
    if (!ended) return ended;
    if (code == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << programName << " copying \"" << text << "\" ended with "
                                       << code;
}

AssertionResult SetClipboardBitmap() {
    ClipboardHeld clipboard;
    if (!clipboard) return testing::AssertionFailure() << "the clipboard stays busy";
    EmptyClipboard();
    static const WORD bits[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    if (!SetClipboardData(CF_BITMAP, CreateBitmap(8, 8, 1, 1, bits))) {
        return LastErrorFailure("putting a bitmap on the clipboard");
    }
    return testing::AssertionSuccess();
}

std::string ClipboardText() {
    ClipboardHeld clipboard;
    if (!clipboard) return "<busy>";
    std::string text = "<none>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        zurimo::GlobalLockGuard lock(data);
        if (lock) text = static_cast<const char*>(lock.get());
    }
    return text;
}

std::u16string ClipboardWideText() {
    ClipboardHeld clipboard;
    if (!clipboard) return u"<busy>";
    std::u16string text = u"<none>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        zurimo::GlobalLockGuard lock(data);
        if (lock) text = static_cast<const char16_t*>(lock.get());
    }
    return text;
}

}  // namespace e2e
