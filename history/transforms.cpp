#include "history/transforms.h"

#include "base/text.h"

namespace zurimo {

namespace {

// `findLf` gives the position of the first line feed of a text, or npos.
template <typename Char, typename FindLf>
std::basic_string<Char> Quote(std::basic_string_view<Char> text,
                              std::basic_string_view<Char> quote, FindLf findLf) {
    std::basic_string<Char> result(quote);
    std::basic_string_view<Char> rest = text;
    for (;;) {
        std::size_t lf = findLf(rest);
        if (lf == rest.npos || lf + 1 == rest.size()) break;
        result.append(rest.substr(0, lf + 1));
        result.append(quote);
        rest.remove_prefix(lf + 1);
    }
    result.append(rest);
    return result;
}

}  // namespace

std::string QuoteText(std::string_view text, std::string_view quote) {
    return Quote(text, quote, [](std::string_view rest) { return FindChar(rest, '\n'); });
}

// UTF-16 has no second bytes to step over.
std::u16string QuoteText(std::u16string_view text, std::u16string_view quote) {
    return Quote(text, quote, [](std::u16string_view rest) { return rest.find(u'\n'); });
}

std::string JoinDateTime(const std::string& date, const std::string& time) {
    if (date.empty() || time.empty()) return std::string();
    return date + " " + time;
}

bool IsReportedFormatError(std::uint32_t error) {
    return error == 87 || error == 122 || error == 1004;
}

std::string CSystemTime::GetDateString(bool longForm, bool refresh) {
    if (refresh) fields_ = source_.Now();
    std::string text;
    std::uint32_t error = 0;
    if (!source_.FormatDate(fields_, longForm, &text, &error)) {
        if (IsReportedFormatError(error)) source_.ReportError(error);
        return std::string();
    }
    return text;
}

std::string CSystemTime::GetTimeString(bool refresh) {
    if (refresh) fields_ = source_.Now();
    std::string text;
    std::uint32_t error = 0;
    if (!source_.FormatTime(fields_, &text, &error)) {
        if (IsReportedFormatError(error)) source_.ReportError(error);
        return std::string();
    }
    return text;
}

std::string CSystemTime::GetDateTimeString(bool longForm, bool refresh) {
    std::string date = GetDateString(longForm, refresh);
    std::string time = GetTimeString(false);
    return JoinDateTime(date, time);
}

std::string DateTimeTakeOutText(DateTimeSource& source, std::int32_t dateTime, bool quoted,
                                const std::string& quote) {
    CSystemTime now(source);
    std::string text = now.GetDateTimeString(dateTime == 0, true);
    return quoted && !text.empty() ? quote + text : text;
}

}  // namespace zurimo
