// merkwald-cli holidays, church-year, holiday and astro. The values are the calendar
// library's and tested there; these tests hold what the commands add: reading the
// arguments, the printed form and the exit codes.

#include <algorithm>

#include "calendar/astro.h"
#include "calendar/feasts.h"
#include "cli_test_support.h"

namespace merkwald::cli {
namespace {

using test::Outcome;

class CalendarCommands : public test::CliTest {
protected:
    CalendarCommands() { today = *make_date(2000, 6, 21); }
    Outcome astro(const std::vector<std::string>& args) { return run_command(run_astro, args); }
};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TEST_F(CalendarCommands, EveryYearPrintsTheWindowsLines) {
    for (int year = kFirstListYear; year <= kLastListYear; ++year) {
        const Outcome h = run_command(run_holidays, {std::to_string(year)});
        const Outcome c = run_command(run_church_year, {std::to_string(year)});
        ASSERT_EQ(joined(holiday_list_lines(year)), h.out) << year;
        ASSERT_EQ(joined(church_year_lines(year)), c.out) << year;
        ASSERT_EQ(kExitOk, h.status + c.status);
        ASSERT_EQ("", h.err + c.err);
    }
    // A number, its fraction dropped as the windows drop it; anything else, or a
    // year the lists do not cover, is a bad argument.
    const std::pair<const char*, bool> rows[] = {
        {"2005.9", true}, {" 2005 ", true}, {"+2005", true}, {"2005abc", false},
        {"200", false},   {"1900", false},  {"2099", false}, {"abc", false},
        {"", false},      {"1e9", false},   {"-2005", false}};
    for (const auto& [year, listed] : rows) {
        for (test::Command c : {run_holidays, run_church_year}) {
            const Outcome r = run_command(c, {year});
            EXPECT_EQ(listed ? kExitOk : kExitUsage, r.status) << year;
            EXPECT_EQ(listed, !r.out.empty()) << year;
            EXPECT_EQ(listed ? "" : "Das Jahr muss eine Zahl von 1901 bis 2098 sein.\n", r.err)
                << year;
        }
        if (listed) {
            EXPECT_EQ(joined(holiday_list_lines(2005)), run_command(run_holidays, {year}).out);
        }
    }
}

TEST_F(CalendarCommands, HolidayAndArgumentErrors) {
    const std::pair<const char*, Outcome> rows[] = {
        {"24.12.2000", {kExitOk, "Heiliger Abend\n", ""}},
        {"2018-02-14", {kExitOk, "Valentinstag\n", ""}},
        {"2.1.1999", {kExitOk, "\n", ""}},
        {"31.02.1999", {kExitUsage, "", "Falsches Datum\n"}},
        {"", {kExitUsage, "", "Falsches Datum\n"}}};
    for (const auto& [date, expected] : rows) EXPECT_EQ(run_command(run_holiday, {date}), expected);
    for (test::Command c : {run_holidays, run_church_year, run_holiday}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{}, {"2000", "2001"}}) {
            const Outcome r = run_command(c, args);
            EXPECT_EQ(kExitUsage, r.status);
            EXPECT_EQ("", r.out);
            EXPECT_EQ(0u, r.err.rfind("Aufruf: merkwald-cli ", 0));
        }
    }
}

std::vector<std::string> munich_with(std::vector<std::string> more) {
    std::vector<std::string> args = {"--lon",  "11,35,0,O", "--lat",  "48,8,0,N",
                                     "--zone", "1",         "--date", "21.06.2000"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// The summer time of the settings is on: the moon lines must not take it off twice.
TEST_F(CalendarCommands, AstroPrintsTheTenFieldsUnderTheirLabels) {
    home.longitude_degree = 11, home.longitude_minute = 35;
    home.latitude_degree = 48, home.latitude_minute = 8;
    home.daylight_saving = true;
    const AstroResult a = compute_astro({11, 35, 0, "O", 48, 8, 0, "N", 1, true, today, 20, 13});
    const char* labels[] = {
        "Sonnenaufgang:", "Sonnenuntergang:", "Beginn der Dämmerung:", "Ende der Dämmerung:",
        "Tageslänge:",    "Mondalter:",       "Elongation:",           "SA-Terminator:",
        "SU-Terminator:", "Mondphase:"};
    std::string expected;
    for (std::size_t i = 0; i < a.texts.size(); ++i)
        expected += labels[i] + (" " + a.texts[i]) + "\n";
    EXPECT_EQ(astro(munich_with({"--dst", "--time", "20:13"})), (Outcome{kExitOk, expected, ""}));
    // Without options: the home place with its summer time, today and now.
    EXPECT_EQ(astro(munich_with({"--dst", "--time", "12:00"})).out, astro({}).out);
}

TEST_F(CalendarCommands, AstroPlacesFile) {
    const std::string broken = "Datei orte.dat nicht vorhanden oder Fehlerhaft\n";
    EXPECT_EQ(astro({"--place", "Wien"}), (Outcome{kExitFailure, "", broken}));

    // Announces three places, holds two: the two can still be used.
    write("orte.dat",
          "3\n\"Wien\",16,22,0,\"O\",48,12,0,\"N\",1,171\n"
          "\"Bern\",7,27,0,\"O\",46,57,0,\"N\",1,540\n");
    const Outcome short_file = astro({"--place", "Bern"});
    EXPECT_EQ(kExitOk, short_file.status);
    EXPECT_EQ(broken, short_file.err);
    EXPECT_EQ(10, std::count(short_file.out.begin(), short_file.out.end(), '\n'));

    write("orte.dat",
          "2\r\n\"Wien\",16,22,0,\"O\",48,12,0,\"N\",1,171\r\n"
          "\"M\xFCnchen\",11,35,0,\"O\",48,8,0,\"N\",1,519\r\n");
    EXPECT_EQ(astro(munich_with({"--no-dst"})),
              astro({"--place", "München", "--date", "21.06.2000", "--no-dst"}));
    // Explicit values win over the place's row; the name is found in any case.
    EXPECT_EQ(astro(munich_with({"--zone", "2", "--no-dst"})),
              astro({"--place=münchen", "--zone", "2", "--no-dst"}));
    const Outcome unknown = astro({"--place", "Paris"});
    EXPECT_EQ(kExitUsage, unknown.status);
    EXPECT_EQ("", unknown.out);
}

TEST_F(CalendarCommands, AstroFailures) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* err;  // null: the usage line
    } rows[] = {
        {{"--time", "12:60"}, kExitFailure, "Falsche Minuten\n"},
        {{"--date", "31.02.1999"}, kExitFailure, "Falsches Datum\n"},
        {{"--lon", "200,0,0,O"}, kExitFailure, ""},
        {{"--time", "x:30"}, kExitFailure, ""},
        {{"--time", "1230"}, kExitUsage, nullptr},
        {{"--lon", "11,35,O"}, kExitUsage, nullptr},
        {{"--dst", "--no-dst"}, kExitUsage, nullptr},
        {{"--zone"}, kExitUsage, nullptr},
        {{"--moon"}, kExitUsage, nullptr},
    };
    for (const auto& row : rows) {
        const Outcome r = astro(row.args);
        EXPECT_EQ(row.status, r.status) << row.args[0];
        EXPECT_EQ("", r.out) << row.args[0];
        EXPECT_EQ(row.err ? row.err : "Aufruf: merkwald-cli astro",
                  r.err.substr(0, row.err ? std::string::npos : 26))
            << row.args[0];
    }
}

}  // namespace
}  // namespace merkwald::cli
