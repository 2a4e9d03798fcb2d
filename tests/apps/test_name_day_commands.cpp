// merkwald-cli namedays, and the shipped name days in `list`.

#include "cli_test_support.h"

namespace merkwald::cli {
namespace {

using test::Outcome;

constexpr char kPeople[] =
    "<record>\r\n<date=01.01.1980>\r\n<active_before=14>\r\n<group=geburtstage>\r\n"
    "Franziska Berg hat <days_before_event_text> Geburtstag\r\n</record>\r\n"
    "<record>\r\n<date=02.02.1985>\r\n<active_before=14>\r\n<group=geburtstage>\r\n"
    "Max Weber hat <days_before_event_text> Geburtstag\r\n</record>\r\n";

constexpr char kTypedFranziska[] =
    "<record>\r\n<date=09.03.2000>\r\n<active_before=7>\r\n<group=namenstage>\r\n"
    "Franziska hat <days_before_event_text> Namenstag\r\n</record>\r\n";

class NameDayCommands : public test::CliTest {
protected:
    NameDayCommands() { write("main.rmd", kPeople); }
};

// Today is Friday, 5 March 1999.
TEST_F(NameDayCommands, ListTheNameDaysOfThePeopleAWeekAheadAndWithAllTheDaysNames) {
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{},
         "Franziska hat in 4 Tagen Namenstag (Di, 09. 03.)\n"
         "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)\n"},
        {{"--all"},
         "Olivia hat heute Namenstag (Fr, 05. 03.)\n"
         "Dietmar hat heute Namenstag (Fr, 05. 03.)\n"
         "Franziska hat in 4 Tagen Namenstag (Di, 09. 03.)\n"
         "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)\n"},
        {{"--today=12.3.1999"}, "Max hat heute Namenstag (Fr, 12. 03.)\n"},
        {{"--today", "13.03.1999"}, ""},
    };
    for (const auto& [args, out] : rows) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(run_command(run_namedays, args), (Outcome{kExitOk, out, ""}));
    }
}

TEST_F(NameDayCommands, ATypedNameDayHidesTheShippedOne) {
    write("main.rmd", std::string(kPeople) + kTypedFranziska);
    EXPECT_EQ(run_command(run_namedays, {}),
              (Outcome{kExitOk, "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)\n", ""}));
}

TEST_F(NameDayCommands, BadArgumentsAndAMissingTable) {
    const std::string usage = "Aufruf: merkwald-cli namedays [--today DATUM] [--all]\n";
    EXPECT_EQ(run_command(run_namedays, {"--today", "Montag"}),
              (Outcome{kExitUsage, "", "Falsches Datum bei --today: Montag\n" + usage}));
    EXPECT_EQ(run_command(run_namedays, {"--file", "main.rmd"}), (Outcome{kExitUsage, "", usage}));
    EXPECT_EQ(run_command(run_namedays, {"--today"}), (Outcome{kExitUsage, "", usage}));
    name_day_file = folder / "fehlt.dat";
    const Outcome missing = run_command(run_namedays, {});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("fehlt.dat"), std::string::npos);
}

TEST_F(NameDayCommands, AFaultyTableLineIsNamedAndTheRestShown) {
    write("namen.dat", "05.03. Olivia\n32.03. Niemand\n12.03. Maximilian (Max)\n");
    name_day_file = folder / "namen.dat";
    const Outcome outcome = run_command(run_namedays, {});
    EXPECT_EQ(outcome.status, kExitFailure);
    EXPECT_EQ(outcome.out, "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)\n");
    EXPECT_EQ(outcome.err, name_day_file.string() + ":2: kein gültiger Tag: 32.03.\n");
}

TEST_F(NameDayCommands, TheListShowsThemAsTheSettingAsks) {
    EXPECT_EQ(run_cli({"list"}).out, "Freitag, 5.3.1999\n\n");
    name_days = NameDayChoice::own_people;
    EXPECT_EQ(run_cli({"list"}).out,
              "Freitag, 5.3.1999\n\nNamenstage:\n\n"
              "Franziska hat in 4 Tagen Namenstag (Di, 09. 03.)\n\n"
              "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)\n\n");
}

}  // namespace
}  // namespace merkwald::cli
