// Quoting any text with any quote, and the date-time take-out over a clock and a regional
// format whose answers come from the input.
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "history/transforms.h"

namespace zurimo::fuzz {
namespace {

// The quote at the start and after every LF that starts a character and has more after it.
std::string Quoted(std::string_view text, std::string_view quote) {
    std::string out(quote);
    std::vector<std::size_t> starts = CharStarts(text);
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        out.append(text.substr(starts[i], starts[i + 1] - starts[i]));
        if (text[starts[i]] == '\n' && starts[i + 1] < text.size()) out.append(quote);
    }
    return out;
}

struct Answer {
    bool ok = false;
    std::string text;
    std::uint32_t error = 0;
};

class FakeDateTime : public DateTimeSource {
public:
    SystemTimeFields Now() override {
        ++readings;
        return now;
    }
    bool FormatDate(const SystemTimeFields& time, bool longForm, std::string* out,
                    std::uint32_t* error) override {
        dateFields = time;
        askedLong = longForm;
        return Give(date, out, error);
    }
    bool FormatTime(const SystemTimeFields& time, std::string* out,
                    std::uint32_t* error) override {
        timeFields = time;
        return Give(this->time, out, error);
    }
    void ReportError(std::uint32_t error) override { reported.push_back(error); }

    SystemTimeFields now, dateFields, timeFields;
    Answer date, time;
    bool askedLong = false;
    int readings = 0;
    std::vector<std::uint32_t> reported;

private:
    static bool Give(const Answer& answer, std::string* out, std::uint32_t* error) {
        if (answer.ok) {
            *out = answer.text;
        } else {
            *error = answer.error;
        }
        return answer.ok;
    }
};

bool SameFields(const SystemTimeFields& a, const SystemTimeFields& b) {
    return a.year == b.year && a.month == b.month && a.dayOfWeek == b.dayOfWeek &&
           a.day == b.day && a.hour == b.hour && a.minute == b.minute && a.second == b.second &&
           a.milliseconds == b.milliseconds;
}

Answer ReadAnswer(FuzzInput& in) {
    Answer answer;
    std::uint8_t how = in.Byte();
    answer.ok = (how & 1) != 0;
    static const std::uint32_t kErrors[] = {87, 122, 1004, 0, 5, 8};
    answer.error = (how & 0x80) ? in.U32() : kErrors[(how >> 1) % 6];
    answer.text = in.Text();
    return answer;
}

}  // namespace

int TransformsFuzz(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::uint8_t flags = in.Byte();
    std::int32_t dateTime = (flags & 2) ? static_cast<std::int32_t>(in.U32()) : (flags >> 2) & 1;
    bool quoted = (flags & 1) != 0;
    std::string quote = in.Text();

    FakeDateTime source;
    source.now = {static_cast<std::uint16_t>(in.U16()), static_cast<std::uint16_t>(in.U16()),
                  static_cast<std::uint16_t>(in.U16()), static_cast<std::uint16_t>(in.U16()),
                  static_cast<std::uint16_t>(in.U16()), static_cast<std::uint16_t>(in.U16()),
                  static_cast<std::uint16_t>(in.U16()), static_cast<std::uint16_t>(in.U16())};
    source.date = ReadAnswer(in);
    source.time = ReadAnswer(in);
    std::string text = in.Rest();

    FUZZ_CHECK(QuoteText(text, quote) == Quoted(text, quote));

    std::string taken = DateTimeTakeOutText(source, dateTime, quoted, quote);
    // One reading of the clock, both parts formatted from it, the long date only for 0.
    FUZZ_CHECK(source.readings == 1);
    FUZZ_CHECK(SameFields(source.dateFields, source.now));
    FUZZ_CHECK(source.askedLong == (dateTime == 0));
    FUZZ_CHECK(SameFields(source.timeFields, source.now));
    std::string date = source.date.ok ? source.date.text : std::string();
    std::string time = source.time.ok ? source.time.text : std::string();
    std::string expected = date.empty() || time.empty() ? std::string() : date + " " + time;
    if (quoted && !expected.empty()) expected = quote + expected;
    FUZZ_CHECK(taken == expected);

    // The user hears of the formatting errors that matter, once per failed part.
    std::vector<std::uint32_t> reported;
    for (const Answer* answer : {&source.date, &source.time}) {
        if (!answer->ok && IsReportedFormatError(answer->error)) reported.push_back(answer->error);
    }
    FUZZ_CHECK(source.reported == reported);
    return 0;
}

}  // namespace zurimo::fuzz

ZURIMO_LIBFUZZER_ENTRY(TransformsFuzz)
