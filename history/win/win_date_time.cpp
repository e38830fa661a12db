#include "history/win/win_date_time.h"

#include <string>

#include "base/win/program.h"
#include "base/win/win_text.h"

namespace zurimo {
namespace {

SYSTEMTIME ToSystemTime(const SystemTimeFields& f) {
    SYSTEMTIME st = {};
    st.wYear = f.year;
    st.wMonth = f.month;
    st.wDayOfWeek = f.dayOfWeek;
    st.wDay = f.day;
    st.wHour = f.hour;
    st.wMinute = f.minute;
    st.wSecond = f.second;
    st.wMilliseconds = f.milliseconds;
    return st;
}

}  // namespace

SystemTimeFields WinDateTimeSource::Now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    SystemTimeFields f;
    f.year = st.wYear;
    f.month = st.wMonth;
    f.dayOfWeek = st.wDayOfWeek;
    f.day = st.wDay;
    f.hour = st.wHour;
    f.minute = st.wMinute;
    f.second = st.wSecond;
    f.milliseconds = st.wMilliseconds;
    return f;
}

bool WinDateTimeSource::FormatDate(const SystemTimeFields& time, bool longForm,
                                   std::string* out, std::uint32_t* error) {
    SYSTEMTIME st = ToSystemTime(time);
    DWORD flags = longForm ? DATE_LONGDATE : DATE_SHORTDATE;
    DWORD failure = 0;
    bool formatted = FormatInSizedBuffer(
        [&](char* buffer, int size) {
            return GetDateFormatA(LOCALE_USER_DEFAULT, flags, &st, nullptr, buffer, size);
        },
        out, &failure);
    *error = failure;
    return formatted;
}

bool WinDateTimeSource::FormatTime(const SystemTimeFields& time, std::string* out,
                                   std::uint32_t* error) {
    SYSTEMTIME st = ToSystemTime(time);
    DWORD failure = 0;
    bool formatted = FormatInSizedBuffer(
        [&](char* buffer, int size) {
            return GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, buffer, size);
        },
        out, &failure);
    *error = failure;
    return formatted;
}

void WinDateTimeSource::ReportError(std::uint32_t error) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT),
                   reinterpret_cast<char*>(&text), 0, nullptr);
    ShowMessage(owner_, text ? text : "", MB_OK | MB_ICONEXCLAMATION);
    if (text) LocalFree(text);
    SetLastError(0);
}

}  // namespace zurimo
