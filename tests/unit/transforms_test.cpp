// Quoting a text line by line, and the date-and-time take-out text.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "history/transforms.h"

namespace zurimo {
namespace {

// Quotes `text` from a heap block of exactly its size, so that reading one byte past the
// end is an error under AddressSanitizer.
std::string QuoteExact(const std::string& text, std::string_view quote) {
    std::unique_ptr<char[]> block(new char[text.size()]);
    std::memcpy(block.get(), text.data(), text.size());
    return QuoteText(std::string_view(block.get(), text.size()), quote);
}

TEST(QuoteTextTest, QuotesTheStartAndEveryLineThatFollowsALineFeed) {
    struct Case {
        std::string text;
        std::string quote;
        std::string expected;
    };
    const Case cases[] = {
        {"abc", ">", ">abc"},
        {"a\r\nb", ">", ">a\r\n>b"},
        {"a\r\n", ">", ">a\r\n"},             // no quote after the final line break
        {"a\n\nb", ">", ">a\n>\n>b"},         // the empty middle line is quoted
        {"\n", ">", ">\n"},
        {"\n\n", ">", ">\n>\n"},
        {"a\rb", ">", ">a\rb"},               // a CR alone does not break the line
        {"a\r\nb\r\nc", "> ", "> a\r\n> b\r\n> c"},
        {"a\nb", ">>> ", ">>> a\n>>> b"},
        {"", ">", ">"},
        {"", "> ", "> "},
        {"a\nb", "", "a\nb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text [" + c.text + "] quote [" + c.quote + "]");
        EXPECT_EQ(QuoteExact(c.text, c.quote), c.expected);
    }
}

TEST(QuoteTextTest, StepsOverDoubleByteCharacters) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        // A trail byte equal to a backslash, then a line break, then a full-width A.
        {"\x83\x5C\n\x82\x60", ">\x83\x5C\n>\x82\x60"},
        {"\x82\x60\r\n\x83\x5C\r\n", ">\x82\x60\r\n>\x83\x5C\r\n"},
        // Lead bytes as trail bytes: the pairs are not broken and the LF is still found.
        {"\x81\x81\n\x81\x81", ">\x81\x81\n>\x81\x81"},
        // A lead byte with nothing after it stands alone and is copied as it is.
        {"\x83", ">\x83"},
        {"a\n\x83", ">a\n>\x83"},
        {"\x82\x60\n\xE0", ">\x82\x60\n>\xE0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(QuoteExact(c.text, ">"), c.expected);
    }
}

TEST(JoinDateTimeTest, JoinsWithOneSpaceOnlyWhenBothPartsAreThere) {
    EXPECT_EQ(JoinDateTime("2024/05/01", "12:34"), "2024/05/01 12:34");
    EXPECT_EQ(JoinDateTime("", "12:34"), "");
    EXPECT_EQ(JoinDateTime("2024/05/01", ""), "");
    EXPECT_EQ(JoinDateTime("", ""), "");
}

// A clock that moves on one minute at every reading, and a formatter that writes down what
// it was asked. Either part can be made to fail with a given error code.
class FakeDateTimeSource : public DateTimeSource {
public:
    SystemTimeFields Now() override {
        ++nowCalls;
        SystemTimeFields t;
        t.year = 2024;
        t.month = 5;
        t.day = 1;
        t.dayOfWeek = 3;
        t.hour = 12;
        t.minute = static_cast<std::uint16_t>(nowCalls);
        return t;
    }
    bool FormatDate(const SystemTimeFields& time, bool longForm, std::string* out,
                    std::uint32_t* error) override {
        dateCalls.push_back(time);
        longForms.push_back(longForm);
        if (dateError != 0) {
            *error = dateError;
            return false;
        }
        *out = std::to_string(time.year) + (longForm ? "年" : "/") + std::to_string(time.month) +
               (longForm ? "月" : "/") + std::to_string(time.day) + (longForm ? "日" : "");
        return true;
    }
    bool FormatTime(const SystemTimeFields& time, std::string* out,
                    std::uint32_t* error) override {
        timeCalls.push_back(time);
        if (timeError != 0) {
            *error = timeError;
            return false;
        }
        *out = std::to_string(time.hour) + ":" + std::to_string(time.minute);
        return true;
    }
    void ReportError(std::uint32_t error) override { reported.push_back(error); }

    int nowCalls = 0;
    std::vector<SystemTimeFields> dateCalls, timeCalls;
    std::vector<bool> longForms;
    std::vector<std::uint32_t> reported;
    std::uint32_t dateError = 0, timeError = 0;
};

std::string Describe(const SystemTimeFields& t) {
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) +
           " dow" + std::to_string(t.dayOfWeek) + " " + std::to_string(t.hour) + ":" +
           std::to_string(t.minute) + ":" + std::to_string(t.second) + "." +
           std::to_string(t.milliseconds);
}

TEST(CSystemTimeTest, ReadsTheClockOnceAndFormatsBothPartsFromThatReading) {
    FakeDateTimeSource source;
    CSystemTime now(source);
    EXPECT_EQ(now.GetDateTimeString(false, true), "2024/5/1 12:1");
    EXPECT_EQ(source.nowCalls, 1);
    ASSERT_EQ(source.dateCalls.size(), 1u);
    ASSERT_EQ(source.timeCalls.size(), 1u);
    EXPECT_EQ(Describe(source.timeCalls[0]), Describe(source.dateCalls[0]));
    EXPECT_EQ(Describe(now.fields()), Describe(source.dateCalls[0]));

    // A second refresh takes a new reading, again shared by both parts.
    EXPECT_EQ(now.GetDateTimeString(true, true), "2024年5月1日 12:2");
    EXPECT_EQ(source.nowCalls, 2);
    ASSERT_EQ(source.timeCalls.size(), 2u);
    EXPECT_EQ(source.timeCalls[1].minute, 2) << Describe(source.timeCalls[1]);
}

TEST(CSystemTimeTest, WithoutRefreshTheClockIsNotRead) {
    FakeDateTimeSource source;
    CSystemTime now(source);
    EXPECT_EQ(Describe(now.fields()), Describe(SystemTimeFields()));

    EXPECT_EQ(now.GetDateTimeString(false, false), "0/0/0 0:0");
    EXPECT_EQ(now.GetDateString(true, false), "0年0月0日");
    EXPECT_EQ(now.GetTimeString(false), "0:0");
    EXPECT_EQ(source.nowCalls, 0);

    // A refresh of the time alone is kept for a later date without refresh.
    EXPECT_EQ(now.GetTimeString(true), "12:1");
    EXPECT_EQ(now.GetDateString(false, false), "2024/5/1");
    EXPECT_EQ(source.nowCalls, 1);
}

TEST(DateTimeTakeOutTextTest, DateTimeZeroAsksForTheLongDateAnyOtherValueTheShort) {
    struct Case {
        std::int32_t dateTime;
        bool longForm;
        std::string expected;
    };
    const Case cases[] = {
        {0, true, "2024年5月1日 12:1"},
        {1, false, "2024/5/1 12:1"},
        {2, false, "2024/5/1 12:1"},
        {-1, false, "2024/5/1 12:1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dateTime);
        FakeDateTimeSource source;
        EXPECT_EQ(DateTimeTakeOutText(source, c.dateTime, false, ">"), c.expected);
        EXPECT_EQ(source.nowCalls, 1);
        ASSERT_EQ(source.longForms.size(), 1u);
        EXPECT_EQ(source.longForms[0], c.longForm);
        ASSERT_EQ(source.timeCalls.size(), 1u);
        EXPECT_EQ(Describe(source.timeCalls[0]), Describe(source.dateCalls[0]));
        EXPECT_TRUE(source.reported.empty());
    }
}

TEST(DateTimeTakeOutTextTest, TheQuoteGoesInFrontOnce) {
    FakeDateTimeSource source;
    EXPECT_EQ(DateTimeTakeOutText(source, 1, true, "> "), "> 2024/5/1 12:1");
    FakeDateTimeSource other;
    EXPECT_EQ(DateTimeTakeOutText(other, 1, false, "> "), "2024/5/1 12:1");
}

TEST(DateTimeTakeOutTextTest, AFailedPartEmptiesTheTextAndOnlySomeErrorsAreReported) {
    struct Case {
        std::uint32_t error;
        bool reported;
    };
    const Case cases[] = {
        {87, true}, {122, true}, {1004, true}, {5, false}, {8, false}, {1, false}, {1003, false},
    };
    for (const Case& c : cases) {
        for (bool dateFails : {true, false}) {
            SCOPED_TRACE("error " + std::to_string(c.error) +
                         (dateFails ? " in the date" : " in the time"));
            FakeDateTimeSource source;
            (dateFails ? source.dateError : source.timeError) = c.error;
            EXPECT_EQ(DateTimeTakeOutText(source, 0, false, ">"), "");
            EXPECT_EQ(IsReportedFormatError(c.error), c.reported);
            const std::vector<std::uint32_t> expected =
                c.reported ? std::vector<std::uint32_t>{c.error} : std::vector<std::uint32_t>{};
            EXPECT_EQ(source.reported, expected);
        }
    }
}

}  // namespace
}  // namespace zurimo
