#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "apps/merkwald-cli/cli.h"
#include "calendar/feasts.h"

namespace merkwald::cli {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

using Command = int (*)(const std::vector<std::string>&, Context&);

class CalendarCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("merkwald-calendar-cli-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    Outcome run(Command command, const std::vector<std::string>& args) {
        std::ostringstream out, err;
        Context ctx(out, err);
        ctx.today = *make_date(2000, 6, 21);
        ctx.now_seconds = 12 * 3600;
        ctx.home = home_;
        ctx.program_folder = folder_;
        const int status = command(args, ctx);
        return {status, out.str(), err.str()};
    }

    void write_places(const std::string& text) {
        std::ofstream(folder_ / "orte.dat", std::ios::binary) << text;
    }

    std::filesystem::path folder_;
    HomePlace home_;
};

std::size_t line_count(const std::string& text) {
    return std::size_t(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(CalendarCommands, HolidaysOf1999) {
    const Outcome r = run(run_holidays, {"1999"});
    EXPECT_EQ(kExitOk, r.status);
    EXPECT_EQ("", r.err);
    EXPECT_EQ(28u, line_count(r.out));
    EXPECT_EQ(0u,
              r.out.rfind("Neujahr: Freitag, 1. Januar\nHl. 3 Könige: Mittwoch, 6. Januar\n", 0));
    EXPECT_EQ(std::string::npos, r.out.find('\r'));
}

TEST_F(CalendarCommands, YearIsReadAsTheWindowReadsIt) {
    struct Row {
        const char* arg;
        std::size_t lines;
    };
    const Row rows[] = {{"2005abc", 28}, {"2005.9", 28}, {" 2005", 28}, {"200", 0}, {"1900", 0},
                        {"2099", 0},     {"abc", 0},     {"", 0},       {"1e9", 0}, {"-2005", 0}};
    for (const Row& row : rows) {
        const Outcome r = run(run_holidays, {row.arg});
        EXPECT_EQ(kExitOk, r.status) << row.arg;
        EXPECT_EQ(row.lines, line_count(r.out)) << row.arg;
    }
}

TEST_F(CalendarCommands, EveryYearOfTheRange) {
    for (int year = kFirstListYear; year <= kLastListYear; ++year) {
        const Outcome h = run(run_holidays, {std::to_string(year)});
        ASSERT_EQ(28u, line_count(h.out)) << year;
        const FeastTable t = calc_feast_dates(year);
        const std::size_t optional = (t.sunday_after_new_year < t.epiphany ? 1 : 0) +
                                     (t.sunday_after_christmas > t.boxing_day ? 1 : 0);
        const Outcome c = run(run_church_year, {std::to_string(year)});
        ASSERT_EQ(44 + optional + std::size_t(t.epiphany_count + t.trinity_count),
                  line_count(c.out))
            << year;
        ASSERT_EQ(kExitOk, c.status);
    }
}

TEST_F(CalendarCommands, ChurchYear2008) {
    const Outcome r = run(run_church_year, {"2008"});
    EXPECT_EQ(kExitOk, r.status);
    EXPECT_EQ(0u, r.out.rfind("Neujahr: Dienstag, 1. Januar\n"
                              "Epiphanias (Hl. 3 Könige): Sonntag, 6. Januar\n"
                              "Letzter Sonntag nach Epiphanias: Sonntag, 13. Januar\n"
                              "Septuagesimä: Sonntag, 20. Januar\n",
                              0));
    EXPECT_TRUE(run(run_church_year, {"2099"}).out.empty());
}

TEST_F(CalendarCommands, WrongArgumentCountIsAUsageError) {
    for (Command c : {run_holidays, run_church_year, run_holiday}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{}, std::vector<std::string>{"2000", "2001"}}) {
            const Outcome r = run(c, args);
            EXPECT_EQ(kExitUsage, r.status);
            EXPECT_EQ("", r.out);
            EXPECT_EQ(0u, r.err.rfind("Aufruf: merkwald-cli ", 0));
        }
    }
}

TEST_F(CalendarCommands, Holiday) {
    struct Row {
        const char* date;
        const char* out;
    };
    const Row rows[] = {{"24.12.2000", "Heiliger Abend\n"},
                        {"2018-02-14", "Valentinstag\n"},
                        {"6.12.09", "Nikolaustag\n"},
                        {"2.1.1999", "\n"}};
    for (const Row& row : rows) {
        const Outcome r = run(run_holiday, {row.date});
        EXPECT_EQ(kExitOk, r.status) << row.date;
        EXPECT_EQ(row.out, r.out) << row.date;
    }
    for (const char* bad : {"31.02.1999", "morgen", ""}) {
        const Outcome r = run(run_holiday, {bad});
        EXPECT_EQ(kExitUsage, r.status) << bad;
        EXPECT_EQ("", r.out);
        EXPECT_EQ("Falsches Datum\n", r.err);
    }
}

const std::vector<std::string> kMunich = {"--lon",  "11,35,0,O", "--lat",  "48,8,0,N",
                                          "--zone", "1",         "--date", "21.06.2000"};

std::vector<std::string> munich_with(std::vector<std::string> more) {
    std::vector<std::string> args = kMunich;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST_F(CalendarCommands, AstroMunichAtMidsummer) {
    const Outcome r = run(run_astro, munich_with({"--dst", "--time", "20:13"}));
    EXPECT_EQ(kExitOk, r.status);
    EXPECT_EQ("", r.err);
    EXPECT_EQ(
        "Sonnenaufgang: 05:14 Uhr\n"
        "Sonnenuntergang: 21:18 Uhr\n"
        "Beginn der Dämmerung: 04:32 Uhr\n"
        "Ende der Dämmerung: 21:59 Uhr\n"
        "Tageslänge: 16:04 Stunden\n",
        r.out.substr(0, r.out.find("Mondalter:")));
    EXPECT_EQ(10u, line_count(r.out));
    EXPECT_NE(std::string::npos, r.out.find("\nMondphase: "));

    const Outcome winter = run(run_astro, munich_with({"--no-dst", "--time=12:00"}));
    EXPECT_EQ(0u, winter.out.rfind("Sonnenaufgang: 04:14 Uhr\nSonnenuntergang: 20:18 Uhr\n", 0));
}

TEST_F(CalendarCommands, AstroMoonLinesAtTheFirstQuarterOf1999) {
    // 18:13 UT; the settings' summer-time flag does not take a second hour off.
    home_.daylight_saving = true;
    const Outcome r = run(run_astro, {"--date", "20.06.1999", "--time", "20:13", "--zone", "1"});
    EXPECT_EQ(kExitOk, r.status);
    EXPECT_NE(std::string::npos, r.out.find("\nMondalter: 7.40 Tage\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("\nElongation: 90.1")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("\nMondphase: zun. Halbmond\n")) << r.out;
}

TEST_F(CalendarCommands, AstroDefaultsToHomeTodayAndNow) {
    home_.longitude_degree = 11;
    home_.longitude_minute = 35;
    home_.latitude_degree = 48;
    home_.latitude_minute = 8;
    home_.daylight_saving = true;
    const Outcome r = run(run_astro, {});
    EXPECT_EQ(kExitOk, r.status);
    EXPECT_EQ(0u, r.out.rfind("Sonnenaufgang: 05:14 Uhr\n", 0)) << r.out;
    EXPECT_EQ(run(run_astro, munich_with({"--dst", "--time", "12:00"})).out, r.out);
}

TEST_F(CalendarCommands, AstroPlaceFromThePlacesFile) {
    write_places(
        "2\r\n\"Wien\",16,22,0,\"O\",48,12,0,\"N\",1,171\r\n"
        "\"M\xFCnchen\",11,35,0,\"O\",48,8,0,\"N\",1,519\r\n");
    const Outcome r = run(run_astro, {"--place", "München", "--date", "21.06.2000", "--no-dst"});
    EXPECT_EQ(kExitOk, r.status);
    EXPECT_EQ("", r.err);
    EXPECT_EQ(run(run_astro, munich_with({"--no-dst"})).out, r.out);
    // Explicit values win over the place's row.
    const Outcome zone = run(run_astro, {"--place=münchen", "--zone", "2", "--no-dst"});
    EXPECT_EQ(0u, zone.out.rfind("Sonnenaufgang: 05:14 Uhr\n", 0)) << zone.out;

    const Outcome unknown = run(run_astro, {"--place", "Paris"});
    EXPECT_EQ(kExitUsage, unknown.status);
    EXPECT_EQ("", unknown.out);
}

TEST_F(CalendarCommands, AstroPlacesFileMissingOrBroken) {
    const Outcome missing = run(run_astro, {"--place", "Wien"});
    EXPECT_EQ(kExitFailure, missing.status);
    EXPECT_EQ("Datei orte.dat nicht vorhanden oder Fehlerhaft\n", missing.err);
    EXPECT_EQ("", missing.out);

    // Announces three places, holds two: the two can still be used.
    write_places(
        "3\n\"Wien\",16,22,0,\"O\",48,12,0,\"N\",1,171\n"
        "\"Bern\",7,27,0,\"O\",46,57,0,\"N\",1,540\n");
    const Outcome broken = run(run_astro, {"--place", "Bern"});
    EXPECT_EQ(kExitOk, broken.status);
    EXPECT_EQ("Datei orte.dat nicht vorhanden oder Fehlerhaft\n", broken.err);
    EXPECT_EQ(10u, line_count(broken.out));
}

TEST_F(CalendarCommands, AstroFailures) {
    struct Row {
        std::vector<std::string> args;
        int status;
        const char* err;
    };
    const Row rows[] = {
        {{"--time", "24:00"}, kExitFailure, "Falsche Stunden\n"},
        {{"--time", "12:60"}, kExitFailure, "Falsche Minuten\n"},
        {{"--date", "31.02.1999"}, kExitFailure, "Falsches Datum\n"},
        {{"--lon", "200,0,0,O"}, kExitFailure, ""},
        {{"--lat", "91,0,0,N"}, kExitFailure, ""},
        {{"--time", "x:30"}, kExitFailure, ""},
        {{"--time", ":30"}, kExitFailure, ""},
        {{"--lat", "70,0,0,N", "--date", "21.12.2000"}, kExitFailure, ""},
        {{"--time", "1230"}, kExitUsage, nullptr},
        {{"--lon", "11,35,O"}, kExitUsage, nullptr},
        {{"--dst", "--no-dst"}, kExitUsage, nullptr},
        {{"--zone"}, kExitUsage, nullptr},
        {{"--moon"}, kExitUsage, nullptr},
    };
    for (const Row& row : rows) {
        const Outcome r = run(run_astro, row.args);
        EXPECT_EQ(row.status, r.status) << row.args[0];
        EXPECT_EQ("", r.out) << row.args[0];
        if (row.err)
            EXPECT_EQ(row.err, r.err) << row.args[0];
        else
            EXPECT_EQ(0u, r.err.rfind("Aufruf: merkwald-cli astro", 0)) << row.args[0];
    }
}

}  // namespace
}  // namespace merkwald::cli
