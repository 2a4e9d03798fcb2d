#include <sstream>
#include <tuple>

#include "engine/placeholders.h"
#include "engine/places.h"
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

// Every field of a place, as one text a failure shows whole.
std::string fields(const Place& p) {
    std::ostringstream out;
    out << p.name << "|" << p.longitude_degree << "," << p.longitude_minute << ","
        << p.longitude_second << "," << p.longitude_direction << "|" << p.latitude_degree << ","
        << p.latitude_minute << "," << p.latitude_second << "," << p.latitude_direction << "|"
        << p.diff_to_gmt << "|" << p.height;
    return out.str();
}

TEST(Places, ValuesCountNotLines) {
    // Blanks, unquoted texts, a quoted comma, a record over two lines, blank lines
    // and every line end.
    const PlacesFile f = parse_places(
        " 2 \r\n\r\n\"Frankfurt, Main\" , 8, 41, 0, O, 50, 7, 0, N, 1, 112\r"
        "Genf,6,9,0.5,\"O\"\r\n46,12,0,\"N\",1.5,-3.25\r\n");
    EXPECT_TRUE(f.ok);
    ASSERT_EQ(f.places.size(), 2u);
    EXPECT_EQ(fields(f.places[0]), "Frankfurt, Main|8,41,0,O|50,7,0,N|1|112");
    EXPECT_EQ(fields(f.places[1]), "Genf|6,9,0.5,O|46,12,0,N|1.5|-3.25");
}

TEST(Places, FailuresKeepWhatWasRead) {
    std::string hundred_and_one = "101\n";
    for (int i = 0; i < 101; ++i)
        hundred_and_one += "\"P" + std::to_string(i) + "\",1,0,0,\"O\",1,0,0,\"N\",1,0\n";
    const std::string a = "\"A\",1,0,0,\"O\",1,0,0,\"N\",1,0\n";
    // text, announced count, places read
    const std::tuple<std::string, int, std::size_t> rows[] = {
        {"", 0, 0},
        {"2\n" + a + "\"B\",x,0,0,\"O\",2,0,0,\"N\",1,0\n", 2, 1},  // text in a number field
        {"1\n\"A\",1,,0,\"O\",1,0,0,\"N\",1,0\n", 1, 0},            // an empty number field
        {"1\n\"A\",1,0,0,\"O\",1,0,0,\"N\",1,0,5\n", 1, 1},  // a decimal comma splits the value
        {hundred_and_one, 101, 100},                         // at most a hundred places
    };
    for (const auto& [text, count, read] : rows) {
        const PlacesFile f = parse_places(text);
        EXPECT_EQ(read == std::size_t(count) && count > 0 && count <= 100, f.ok) << text;
        EXPECT_EQ(count, f.count) << text;
        EXPECT_EQ(read, f.places.size()) << text;
    }
}

}  // namespace
}  // namespace merkwald
