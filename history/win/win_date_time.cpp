#include "history/win/win_date_time.h"

#include <string>

#include "base/win/program.h"

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

// Asks for the size first, then formats into a buffer of that size.
template <typename Format>
bool FormatPart(Format format, std::string* out, std::uint32_t* error) {
    int size = format(nullptr, 0);
    if (size <= 0) {
        *error = GetLastError();
        return false;
    }
    std::string text(static_cast<size_t>(size), '\0');
    int written = format(&text[0], size);
    if (written <= 0) {
        *error = GetLastError();
        return false;
    }
    text.resize(static_cast<size_t>(written - 1));
    *out = text;
    return true;
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
    return FormatPart(
        [&](char* buffer, int size) {
            return GetDateFormatA(LOCALE_USER_DEFAULT, flags, &st, nullptr, buffer, size);
        },
        out, error);
}

bool WinDateTimeSource::FormatTime(const SystemTimeFields& time, std::string* out,
                                   std::uint32_t* error) {
    SYSTEMTIME st = ToSystemTime(time);
    return FormatPart(
        [&](char* buffer, int size) {
            return GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, buffer, size);
        },
        out, error);
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
