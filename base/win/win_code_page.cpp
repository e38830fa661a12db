#include "base/win/win_code_page.h"

#include <climits>

namespace zurimo {
namespace {

// Texts beyond what one call takes are converted in pieces that end between characters.
constexpr std::size_t kPiece = INT_MAX / 4;

std::size_t WidePieceEnd(std::u16string_view wide, std::size_t from) {
    std::size_t end = from + kPiece;
    if (end >= wide.size()) return wide.size();
    if (wide[end - 1] >= 0xD800 && wide[end - 1] < 0xDC00) --end;  // keep a pair whole
    return end;
}

bool AppendAnsi(std::u16string_view wide, DWORD flags, std::string* ansi) {
    bool exact = true;
    for (std::size_t from = 0; from < wide.size();) {
        std::size_t end = WidePieceEnd(wide, from);
        auto units = reinterpret_cast<const wchar_t*>(wide.data() + from);
        int count = static_cast<int>(end - from);
        BOOL usedDefault = FALSE;
        BOOL* used = flags & WC_NO_BEST_FIT_CHARS ? &usedDefault : nullptr;
        int length = WideCharToMultiByte(CP_ACP, flags, units, count, nullptr, 0, nullptr, used);
        if (length <= 0) return false;
        std::size_t at = ansi->size();
        ansi->resize(at + length);
        WideCharToMultiByte(CP_ACP, flags, units, count, &(*ansi)[at], length, nullptr, used);
        if (usedDefault) exact = false;
        from = end;
    }
    return exact;
}

}  // namespace

std::string WinCodePage::ToAnsi(std::u16string_view wide) const {
    std::string ansi;
    AppendAnsi(wide, 0, &ansi);
    return ansi;
}

bool WinCodePage::ToAnsiExact(std::u16string_view wide, std::string* ansi) const {
    ansi->clear();
    return AppendAnsi(wide, WC_NO_BEST_FIT_CHARS, ansi);
}

std::u16string WinCodePage::ToWide(std::string_view ansi) const {
    std::u16string wide;
    for (std::size_t from = 0; from < ansi.size();) {
        std::size_t end = from + kPiece;
        if (end >= ansi.size()) {
            end = ansi.size();
        } else {
            // End after a whole character: step back over the lead bytes before `end`.
            std::size_t lead = 0;
            while (lead < end - from && IsDBCSLeadByte(static_cast<BYTE>(ansi[end - 1 - lead]))) {
                ++lead;
            }
            if (lead % 2 == 1) --end;
        }
        int count = static_cast<int>(end - from);
        int length = MultiByteToWideChar(CP_ACP, 0, ansi.data() + from, count, nullptr, 0);
        if (length <= 0) break;
        std::size_t at = wide.size();
        wide.resize(at + length);
        MultiByteToWideChar(CP_ACP, 0, ansi.data() + from, count,
                            reinterpret_cast<wchar_t*>(&wide[at]), length);
        from = end;
    }
    return wide;
}

// Made when the module loads: no guarded local static.
const WinCodePage systemCodePage;

const WinCodePage& SystemCodePage() { return systemCodePage; }

}  // namespace zurimo
