// The take-out's variants: a text quoted line by line, and the current date and time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zurimo {

// Puts `quote` at the start of the text and after every LF that has something after it.
// Steps by character, so a trail byte is never taken for a line feed.
std::string QuoteText(std::string_view text, std::string_view quote);
// The same for UTF-16 text.
std::u16string QuoteText(std::u16string_view text, std::u16string_view quote);

// The date and the time of one reading of the clock, joined by one space; empty when either
// part is empty.
std::string JoinDateTime(const std::string& date, const std::string& time);

// One local date and time in the platform's broken-down form.
struct SystemTimeFields {
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};

// What differs between platforms: the clock, and formatting in the user's regional style.
class DateTimeSource {
public:
    virtual ~DateTimeSource() = default;
    virtual SystemTimeFields Now() = 0;
    // Formats the date (long or short) or the time without seconds; on failure returns
    // false with the platform's error code.
    virtual bool FormatDate(const SystemTimeFields& time, bool longForm, std::string* out,
                            std::uint32_t* error) = 0;
    virtual bool FormatTime(const SystemTimeFields& time, std::string* out,
                            std::uint32_t* error) = 0;
    // Tells the user about a formatting error the user should see.
    virtual void ReportError(std::uint32_t error) = 0;
};

// Formatting errors the user is told about: invalid parameter, insufficient buffer,
// invalid flags.
bool IsReportedFormatError(std::uint32_t error);

// One date-and-time value, read from the clock on request and formatted from the same
// reading.
class CSystemTime {
public:
    explicit CSystemTime(DateTimeSource& source) : source_(source) {}
    virtual ~CSystemTime() = default;

    std::string GetDateString(bool longForm, bool refresh);
    std::string GetTimeString(bool refresh);
    // The date with `refresh`, then the time of the same reading, as "date time".
    std::string GetDateTimeString(bool longForm, bool refresh);

    const SystemTimeFields& fields() const { return fields_; }

private:
    DateTimeSource& source_;
    SystemTimeFields fields_;
};

// The text a date-time take-out delivers: the date (long form when `dateTime` is 0) and the
// time, with the quote string in front when the quote box is ticked too.
std::string DateTimeTakeOutText(DateTimeSource& source, std::int32_t dateTime, bool quoted,
                                const std::string& quote);

}  // namespace zurimo
