// Text outside the code page: what fits, and what a take-out delivers.
#include <gtest/gtest.h>

#include <string>

#include "base/code_page.h"
#include "history/history_entry.h"
#include "history/history_list.h"
#include "history/take_out.h"
#include "tests/support/iconv_code_page.h"

namespace zurimo {
namespace {

// (Texts outside the code page are kept out of the assertions, which spell their arguments
// out in the code page.)
TEST(CodePageTest, TextFitsOnlyWhenItSurvivesTheRoundTripUnchanged) {
    const IconvCodePage codePage;
    const std::u16string japanese = u"日本語 ｱｲｳ ①\r\n", cafe = u"café ☕", emoji = u"😀";
    const std::u16string waveDash(1, u'\u301C'), eAcute(1, u'\u00E9');
    EXPECT_TRUE(FitsCodePage(u"plain\ttext", codePage));
    EXPECT_TRUE(FitsCodePage(japanese, codePage));
    EXPECT_FALSE(FitsCodePage(waveDash, codePage)) << "81 60 comes back as U+FF5E";
    EXPECT_FALSE(FitsCodePage(eAcute, codePage));
    EXPECT_FALSE(FitsCodePage(cafe, codePage));
    EXPECT_FALSE(FitsCodePage(emoji, codePage)) << "a surrogate pair";

    // FA 59 reads as a character whose own code is 87 82: it fits, and the entry keeps the
    // bytes it was copied with.
    const std::u16string numero = codePage.ToWide("\xFA\x59");
    EXPECT_EQ("\x87\x82", codePage.ToAnsi(numero));
    EXPECT_TRUE(FitsCodePage(numero, codePage));
    EXPECT_EQ(HistoryEntry("\xFA\x59"), CapturedEntry("\xFA\x59", numero, codePage));

    // A text that does not fit keeps its original beside the CF_TEXT as it was read.
    EXPECT_EQ(HistoryEntry("caf? ?", cafe), CapturedEntry("caf? ?", cafe, codePage));
    EXPECT_EQ(HistoryEntry("abc"), CapturedEntry("abc", u"", codePage)) << "no CF_UNICODETEXT";
    EXPECT_EQ(HistoryEntry("\x93\xfa\x96\x7b"), EntryFromWide(u"日本", codePage));
    HistoryEntry fromWide = EntryFromWide(waveDash, codePage);
    EXPECT_EQ(waveDash, fromWide.wide);
    EXPECT_EQ("\x81\x60", fromWide.text) << "as the code page gives it";

    // The table says for every unit what the round trip says, and so for whole texts.
    const TabledCodePage tabled(codePage);
    int differing = 0;
    for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
        const std::u16string one(1, static_cast<char16_t>(unit));
        differing += tabled.Fits(one) != codePage.CodePage::Fits(one);
    }
    EXPECT_EQ(0, differing);
    EXPECT_TRUE(tabled.Fits(japanese) && tabled.Fits(numero));
    EXPECT_FALSE(tabled.Fits(cafe) || tabled.Fits(emoji) || tabled.Fits(waveDash));
    EXPECT_EQ(CapturedEntry("caf? ?", cafe, codePage), CapturedEntry("caf? ?", cafe, tabled));
}

// A clock that always says the same.
class FixedClock : public DateTimeSource {
public:
    SystemTimeFields Now() override { return SystemTimeFields(); }
    bool FormatDate(const SystemTimeFields&, bool, std::string* out, std::uint32_t*) override {
        *out = "2026/12/08";
        return true;
    }
    bool FormatTime(const SystemTimeFields&, std::string* out, std::uint32_t*) override {
        *out = "10:00";
        return true;
    }
    void ReportError(std::uint32_t) override {}
};

TEST(TakeOutTest, DeliversTheOriginalBesideTheAnsiTextAndQuotesBoth) {
    const IconvCodePage codePage;
    FixedClock clock;
    const std::u16string cafe = u"café ☕\r\n2行目", quotedCafe = u"> café ☕\r\n> 2行目";
    const HistoryEntry wide("caf? ?\r\n2\x8d\x73\x96\xda", cafe);
    HistoryList history;
    history.Assign({"newest", wide, "oldest"});
    const TakeOutSettings settings{"> ", 1};
    auto plan = [&](TakeOutState state) {
        return PlanTakeOut(history, state, settings, clock, codePage);
    };

    TakeOutState state;
    EXPECT_EQ(TakeOutKind::kNothing, plan(state).kind) << "nothing selected";
    state.selected = 1;
    TakeOutPlan taken = plan(state);
    EXPECT_EQ(TakeOutKind::kEntry, taken.kind);
    EXPECT_EQ(wide, taken.text) << "the entry whole: its ANSI text and its original";
    EXPECT_EQ(1, taken.entryIndex);
    EXPECT_FALSE(taken.untickQuote || taken.untickDateTime);

    state.quoteBox = true;
    TakeOutPlan quoted = plan(state);
    EXPECT_EQ(TakeOutKind::kQuoted, quoted.kind);
    EXPECT_EQ("> caf? ?\r\n> 2\x8d\x73\x96\xda", quoted.text.text);
    EXPECT_EQ(quotedCafe, quoted.text.wide) << "the original quoted by the same rule";
    EXPECT_EQ(-1, quoted.entryIndex) << "the entry stays";
    EXPECT_TRUE(quoted.untickQuote);
    state.selected = 0;
    EXPECT_EQ(HistoryEntry("> newest"), plan(state).text) << "a text that fits: no original";

    state.dateTimeBox = true;
    TakeOutPlan dated = plan(state);
    EXPECT_EQ(TakeOutKind::kDateTime, dated.kind);
    EXPECT_EQ(HistoryEntry("> 2026/12/08 10:00"), dated.text);
    EXPECT_TRUE(dated.untickQuote && dated.untickDateTime);

    state.menuChoicePending = true;
    state.menuChoice = "C:\\Users";
    TakeOutPlan chosen = plan(state);
    EXPECT_EQ(TakeOutKind::kMenuChoice, chosen.kind);
    EXPECT_EQ(HistoryEntry("C:\\Users"), chosen.text);
    EXPECT_FALSE(chosen.untickQuote || chosen.untickDateTime) << "the boxes wait for the next";

    // An entry the clipboard did not take goes back, unless capture is paused (then the
    // delivery added it again itself).
    EXPECT_TRUE(PutsEntryBack(false, false));
    EXPECT_FALSE(PutsEntryBack(false, true));
    EXPECT_FALSE(PutsEntryBack(true, false));

    // A dragged entry is found where it is once the drop is done.
    EXPECT_EQ(1, FindDraggedEntry(history, 1, wide));
    history.Add("captured while dragging", 10);
    EXPECT_EQ(2, FindDraggedEntry(history, 1, wide));
    EXPECT_EQ(-1, FindDraggedEntry(history, 1, HistoryEntry(wide.text)))
        << "the same ANSI text without the original is another text";
    history.Remove(2);
    EXPECT_EQ(-1, FindDraggedEntry(history, 1, wide));
}

}  // namespace
}  // namespace zurimo
