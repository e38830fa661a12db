// The clock and the user's regional date and time formats of Windows.
#pragma once

#include <windows.h>

#include "history/transforms.h"

namespace zurimo {

class WinDateTimeSource : public DateTimeSource {
public:
    explicit WinDateTimeSource(HWND owner) : owner_(owner) {}

    SystemTimeFields Now() override;
    bool FormatDate(const SystemTimeFields& time, bool longForm, std::string* out,
                    std::uint32_t* error) override;
    bool FormatTime(const SystemTimeFields& time, std::string* out,
                    std::uint32_t* error) override;
    // The system's text for the error, in a message box; then the last error is reset.
    void ReportError(std::uint32_t error) override;

private:
    HWND owner_;
};

}  // namespace zurimo
