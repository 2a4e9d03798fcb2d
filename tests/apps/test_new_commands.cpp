// merkwald-cli ics, check, add and holidays --state: arguments, printed form,
// exit codes and what `add` writes. The computations are tested in their libraries.

#include "calendar/state_holidays.h"
#include "cli_test_support.h"
#include "engine/text_file.h"

namespace merkwald::cli {
namespace {

using test::Outcome;

class NewCommands : public test::CliTest {
protected:
    NewCommands() {
        today = *make_date(2026, 12, 7);
        write("main.rmd",
              "<record>\r\n<date=07.03.1970>\r\n<group=geburtstage>\r\n"
              "Anna <days_before_event_text>\r\n</record>\r\n");
        write("geb_text.dat",
              "*\r\nEins\r\nGeburtstag von\r\n!\r\n*\r\nZwei\r\n\r\nwird "
              "<years_after_date>\r\n");
        write("term_text.dat", "*\r\nTermin\r\nTermin:\r\n<days_before_event_text>\r\n");
    }
    std::string file(const std::string& name) const {
        const auto text = read_text_file(folder / name);
        return text ? text->text : "<fehlt>";
    }
};

TEST_F(NewCommands, IcsWritesOneEventPerOccurrenceAndLimitsTheRange) {
    const Outcome year = run_cli({"ics", "--from", "1.1.2027", "--to", "1.1.2028"});
    EXPECT_EQ(year.status, kExitOk) << year.err;
    EXPECT_TRUE(year.out.starts_with("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"));
    EXPECT_NE(year.out.find("DTSTART;VALUE=DATE:20270307\r\nDTEND;VALUE=DATE:20270308\r\n"
                            "SUMMARY:Anna heute\r\nCATEGORIES:Geburtstage\r\n"),
              std::string::npos);
    EXPECT_TRUE(year.out.ends_with("END:VCALENDAR\r\n"));

    const std::pair<std::vector<std::string>, int> rows[] = {
        {{"ics", "--from", "1.1.2027", "--to", "2.1.2028"}, kExitUsage},  // 367 days
        {{"ics", "--from", "2.1.2027", "--to", "1.1.2027"}, kExitUsage},
        {{"ics", "--from", "1.1.2027"}, kExitUsage},
        {{"ics", "--from", "x", "--to", "1.1.2027"}, kExitUsage},
        {{"ics", "--from", "1.1.2027", "--to", "1.1.2027", "--file", "fehlt.rmd"}, kExitFailure},
    };
    for (const auto& [args, status] : rows) {
        const Outcome o = run_cli(args);
        EXPECT_EQ(o.status, status) << args[2];
        EXPECT_EQ(o.out, "");
    }
}

TEST_F(NewCommands, CheckReportsFileAndLine) {
    EXPECT_EQ(run_cli({"check"}), (Outcome{kExitOk, "", ""}));
    write("bad.rmd", "<record>\r\n<date=99.99.99>\r\n</record>\r\n</record>\r\n");
    EXPECT_EQ(run_cli({"check", "--file", "bad.rmd"}),
              (Outcome{kExitFailure,
                       "bad.rmd:2: kein gültiges Datum: <date=99.99.99>\n"
                       "bad.rmd:4: </record> ohne <record>\n",
                       ""}));
    EXPECT_EQ(run_cli({"check", "--bogus"}).status, kExitUsage);
}

TEST_F(NewCommands, AddAppendsTheRecordTheDialogWould) {
    const Outcome birthday =
        run_cli({"add", "birthday", "Jörg Müller", "5.3.1998", "--template", "2"});
    EXPECT_EQ(birthday, (Outcome{kExitOk,
                                 "<record>\n<date=05.03.1998>\n<active_before=21>\n"
                                 "<group=geburtstage>\n Jörg Müller wird <years_after_date>\n"
                                 "</record>\n",
                                 ""}));
    const Outcome appointment =
        run_cli({"add", "appointment", "Zahnarzt", "2027-01-15", "9:30", "--lead-days=3"});
    EXPECT_EQ(appointment.status, kExitOk) << appointment.err;
    EXPECT_EQ(file("main.rmd"),
              "<record>\r\n<date=07.03.1970>\r\n<group=geburtstage>\r\n"
              "Anna <days_before_event_text>\r\n</record>\r\n"
              "\r\n<record>\r\n<date=05.03.1998>\r\n<active_before=21>\r\n<group=geburtstage>\r\n"
              " Jörg Müller wird <years_after_date>\r\n</record>\r\n\r\n"
              "\r\n<record>\r\n<date=15.01.2027>\r\n<active_before=3>\r\n<group=termine>\r\n"
              "<active=once>\r\nTermin: Zahnarzt um 9:30 Uhr <days_before_event_text>\r\n"
              "</record>\r\n\r\n");
}

TEST_F(NewCommands, AddWritesNothingOnBadInput) {
    const std::string before = file("main.rmd");
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"add", "birthday", " ", "5.3.1998"}, "Kein Name!\n"},
        {{"add", "appointment", "Arzt", "31.2.2027"}, "Kein oder Falsches Datum\n"},
        {{"add", "appointment", "Arzt", "1.2.2027", "25:00"},
         "Falsche Uhrzeit, erwartet wird HH:MM.\n"},
        {{"add", "birthday", "Anna", "1.2.1990", "--template", "3"},
         "Die Vorlage 3 gibt es nicht (1 bis 2).\n"},
        {{"add", "birthday", "Anna", "1.2.1990", "--lead-days", "40000"}, ""},
        {{"add", "birthday", "Anna"}, ""},
        {{"add", "party", "Anna", "1.2.1990"}, ""},
    };
    for (const auto& [args, message] : rows) {
        const Outcome o = run_cli(args);
        EXPECT_EQ(o.status, kExitUsage) << args[2];
        EXPECT_EQ(o.out, "");
        if (!message.empty()) {
            EXPECT_EQ(o.err, message);
        }
    }
    EXPECT_EQ(file("main.rmd"), before);
}

TEST_F(NewCommands, HolidaysOfAState) {
    const Outcome by = run_cli({"holidays", "2026", "--state", "BY"});
    EXPECT_EQ(by.status, kExitOk);
    std::string expected;
    for (const std::string& line : legal_holiday_lines(2026, State::BY)) expected += line + "\n";
    EXPECT_EQ(by.out, expected);
    EXPECT_EQ(run_cli({"holidays", "--state=de-by", "2026"}).out, expected);
    EXPECT_EQ(run_cli({"holidays", "2026", "--state", "XX"}).status, kExitUsage);
    EXPECT_EQ(run_cli({"holidays", "2099", "--state", "BY"}).status, kExitUsage);
    EXPECT_EQ(run_cli({"holidays", "2026", "--state"}).status, kExitUsage);
}

TEST_F(NewCommands, AstroFollowsTheZoneWhenSummerTimeIsAutomatic) {
    home.summer_time_hours = [](DaySerial d) { return ymd_of(d).month == 7 ? 1.0 : 0.0; };
    const auto astro = [&](std::vector<std::string> args) {
        return run_command(run_astro, args).out;
    };
    EXPECT_EQ(astro({"--date", "1.7.2026"}), astro({"--date", "1.7.2026", "--dst"}));
    EXPECT_EQ(astro({"--date", "1.1.2026"}), astro({"--date", "1.1.2026", "--no-dst"}));
    EXPECT_NE(astro({"--date", "1.7.2026"}), astro({"--date", "1.7.2026", "--no-dst"}));
}

}  // namespace
}  // namespace merkwald::cli
