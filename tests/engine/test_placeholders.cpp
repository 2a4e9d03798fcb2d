#include "engine/placeholders.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

using test::d;

struct Expand {
    EngineState state{EngineSettings{}, DaySerial{}};
    test::RecordingSink sink;

    explicit Expand(const char* today) { state.today = d(today); }
    std::string operator()(std::string_view text, const char* date, const char* event) {
        return expand_placeholders(state, text, {.record = d(date), .event = d(event)},
                                   {"test.rmd", 7}, sink)
            .text;
    }
};

TEST(Placeholders, DateTagsDistancesAndDayTexts) {
    Expand x("05.03.1999");  // a Friday
    // The patterns themselves are date_text's business; here only which tag means which,
    // as the record date and, with "event_", as the event date.
    EXPECT_EQ(x("<d.mmm.yyyy>", "05.03.1999", "01.01.2000"), "5. Mär. 1999");
    EXPECT_EQ(x("<event_d.mmm.yyyy>", "01.01.2000", "05.03.1999"), "5. Mär. 1999");
    EXPECT_EQ(x("<day>|<long_month>|<event_day>", "05.03.1999", "01.01.2000"), "5|März|");
    // Sunday 28.02 lies between the first two dates; the start's own Sunday does not count.
    EXPECT_EQ(x("<weeks_after_date>", "27.02.1999", "05.03.1999"), "1");
    EXPECT_EQ(x("<weeks_after_date>", "28.02.1999", "05.03.1999"), "0");
    EXPECT_EQ(x("<months_after_date>", "31.12.1998", "05.03.1999"), "3");
    EXPECT_EQ(x("<days_before_event>", "04.03.1970", "05.03.1999"), "365");  // over 29.02.2000
    EXPECT_EQ(
        x("<days_before_event_text_first>|<days_before_event_text>", "01.01.1990", "05.03.1999"),
        "Heute|heute");
    EXPECT_EQ(x("<days_before_event_text>", "01.01.1990", "02.03.1999"), "in-3 Tagen");
    EXPECT_EQ(x("  <d><>  ", "05.03.1999", "05.03.1999"), "  5  ")
        << "only the replacement is trimmed";
    // Years count to the event's anniversary, full years only those already passed.
    Expand later("08.03.1999");
    EXPECT_EQ(later("<years_after_date> <full_years_after_date>", "07.03.1970", "07.03.2000"),
              "30 29");
}

TEST(Placeholders, SyntaxErrorsYieldNothingAndAreReportedOnce) {
    Expand x("05.03.1999");
    EXPECT_EQ(x("a <d> <b", "05.03.1999", "05.03.1999"), "");
    ASSERT_EQ(x.sink.shown.size(), 1u);
    EXPECT_EQ(x.sink.shown[0].text, "Syntaxfehler in Datei: test.rmd\r\nZeile:  7\r\na <d> <b");
    EXPECT_EQ(x("text > only", "05.03.1999", "05.03.1999"), "text > only")
        << "without any '<' nothing is looked at";

    x.state.syntax_error_switch = true;
    EXPECT_EQ(x("<oops", "05.03.1999", "05.03.1999"), "");
    EXPECT_EQ(x.sink.shown.size(), 1u) << "the switch silences the report";
}

TEST(Placeholders, SunTimesOfTheHomePlace) {
    Expand x("21.06.2000");
    // Munich, with the clock one hour ahead of the reference zone (summer time).
    x.state.settings.home = HomePlace{11, 35, 0, "O", 48, 8, 0, "N", 1.0, true, {}};
    EXPECT_EQ(x("<sunrise>|<dusk1>|<length_of_day_long>|<length_of_day_short>", "21.06.2000",
                "21.06.2000"),
              "05.14 Uhr|21.59 Uhr|16 Stunden 04 Minuten|16 h 04 min");
    EXPECT_EQ(sun_time_text(24 * 60 + 5, '.') + sun_time_text(-10, ':'), "00.0523:50");
}

}  // namespace
}  // namespace merkwald
