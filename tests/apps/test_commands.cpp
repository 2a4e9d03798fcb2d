// The commands of merkwald-cli but list and missed. The values are the libraries'
// and tested there; these tests hold what the commands add: reading the arguments,
// the printed form, the exit codes and what `add` writes.

#include <algorithm>

#include "calendar/astro.h"
#include "calendar/feasts.h"
#include "calendar/state_holidays.h"
#include "cli_test_support.h"
#include "engine/text_file.h"

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

TEST_F(CalendarCommands, ListsPrintTheWindowsLinesForAWholeYearNumber) {
    EXPECT_EQ(run_command(run_church_year, {"2098"}),
              (Outcome{kExitOk, joined(church_year_lines(2098)), ""}));
    // A fraction is dropped as the windows drop it; anything else, or a year the
    // lists do not cover, is a bad argument.
    const Outcome y2005{kExitOk, joined(holiday_list_lines(2005)), ""};
    const Outcome bad{kExitUsage, "", "Das Jahr muss eine Zahl von 1901 bis 2098 sein.\n"};
    const std::pair<const char*, Outcome> rows[] = {{"2005.9", y2005}, {" 2005 ", y2005},
                                                    {"2005abc", bad},  {"1900", bad},
                                                    {"2099", bad},     {"", bad}};
    for (const auto& [year, expected] : rows)
        EXPECT_EQ(run_command(run_holidays, {year}), expected) << year;
}

TEST_F(CalendarCommands, HolidayAndArgumentErrors) {
    EXPECT_EQ(run_command(run_holiday, {"24.12.2000"}), (Outcome{kExitOk, "Heiliger Abend\n", ""}));
    EXPECT_EQ(run_command(run_holiday, {"31.02.1999"}),
              (Outcome{kExitUsage, "", "Falsches Datum\n"}));
    for (test::Command c : {run_holidays, run_church_year, run_holiday}) {
        const Outcome r = run_command(c, {"2000", "2001"});
        EXPECT_EQ(kExitUsage, r.status) << r.err;
        EXPECT_TRUE(r.err.starts_with("Aufruf: merkwald-cli ")) << r.err;
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
    const Outcome o = astro(munich_with({"--dst", "--time", "20:13"}));
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 10);
    EXPECT_TRUE(o.out.starts_with("Sonnenaufgang: " + a.texts[0] + "\n")) << o.out;
    for (const std::string& text : a.texts)
        EXPECT_NE(o.out.find(": " + text + "\n"), std::string::npos) << text;
    // Without options: the home place with its summer time, today and now.
    EXPECT_EQ(astro(munich_with({"--dst", "--time", "12:00"})).out, astro({}).out);
}

TEST_F(CalendarCommands, AstroPlacesFile) {
    const std::string broken = "Datei orte.dat nicht vorhanden oder Fehlerhaft\n";
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
    EXPECT_EQ(kExitUsage, astro({"--place", "Paris"}).status);
}

TEST_F(CalendarCommands, AstroFailures) {
    EXPECT_EQ(astro({"--time", "12:60"}), (Outcome{kExitFailure, "", "Falsche Minuten\n"}));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--time", "1230"}, {"--dst", "--no-dst"}}) {
        const Outcome r = astro(args);
        EXPECT_EQ(kExitUsage, r.status) << args[0];
        EXPECT_TRUE(r.out.empty() && r.err.starts_with("Aufruf: merkwald-cli astro")) << r.err;
    }
}

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
    EXPECT_NE(year.out.find("DTSTART;VALUE=DATE:20270307\r\nDTEND;VALUE=DATE:20270308\r\n"
                            "SUMMARY:Anna heute\r\nCATEGORIES:Geburtstage\r\n"),
              std::string::npos);

    const std::pair<std::vector<std::string>, int> rows[] = {
        {{"ics", "--from", "1.1.2027", "--to", "2.1.2028"}, kExitUsage},  // 367 days
        {{"ics", "--from", "1.1.2027", "--to", "1.1.2027", "--file", "fehlt.rmd"}, kExitFailure},
    };
    for (const auto& [args, status] : rows) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome o = run_cli(args);
        EXPECT_EQ(o.status, status);
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
    // Both records are in the file, in the form the entry windows write.
    const std::string written = file("main.rmd");
    EXPECT_NE(written.find(" Jörg Müller wird <years_after_date>\r\n"), std::string::npos);
    EXPECT_TRUE(
        written.ends_with("\r\n<record>\r\n<date=15.01.2027>\r\n<active_before=3>\r\n"
                          "<group=termine>\r\n<active=once>\r\nTermin: Zahnarzt um 9:30 Uhr "
                          "<days_before_event_text>\r\n</record>\r\n\r\n"))
        << written;
    // A year before 1000 is printed as it is written, with four digits.
    const Outcome early = run_cli({"add", "birthday", "Otto", "5.3.0999"});
    EXPECT_TRUE(early.out.starts_with("<record>\n<date=05.03.0999>\n")) << early.out;
    EXPECT_NE(file("main.rmd").find("<date=05.03.0999>\r\n"), std::string::npos);
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
        {{"add", "party", "Anna", "1.2.1990"}, ""},
        {{"add", "birthday", "Ren\xe9", "1.2.1990"},  // a Latin-1 terminal
         "Das 2. Argument nach \"add\" ist kein gültiger UTF-8-Text (Zeichensatz des "
         "Terminals?); es wurde nichts geschrieben.\n"},
    };
    for (const auto& [args, message] : rows) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome o = run_cli(args);
        EXPECT_EQ(o.status, kExitUsage);
        EXPECT_EQ(o.out, "");
        if (!message.empty()) {
            EXPECT_EQ(o.err, message);
        }
    }
    EXPECT_EQ(file("main.rmd"), before);
}

TEST_F(NewCommands, AddedRecordsAreListedOnTheirDayWithoutAMessage) {
    ASSERT_EQ(run_cli({"add", "birthday", "Jörg Müller", "5.3.1998"}).status, kExitOk);
    ASSERT_EQ(run_cli({"add", "appointment", "Zahnarzt", "2027-01-15", "9:30"}).status, kExitOk);
    const std::pair<const char*, const char*> rows[] = {
        {"5.3.2027", "Geburtstag von Jörg Müller !\n"},
        {"15.1.2027", "Termin: Zahnarzt um 9:30 Uhr heute\n"},
    };
    for (const auto& [day, text] : rows) {
        const Outcome o = run_cli({"list", "--today", day, "--lead-days", "0"});
        EXPECT_EQ(o.status, kExitOk);
        EXPECT_EQ(o.err, "");
        EXPECT_NE(o.out.find(text), std::string::npos) << o.out;
    }
    EXPECT_EQ(run_cli({"check"}), (Outcome{kExitOk, "", ""}));
    // A text that would read as a tag is refused, whichever tag it is.
    for (const char* name : {"<priority=5>", "<background=1>", "<active_after=2>"}) {
        EXPECT_EQ(run_cli({"add", "birthday", name, "5.3.1998", "--template", "2"}).status,
                  kExitUsage)
            << name;
    }
}

// Like every terminal program: a name on the command line is relative to the
// folder the command runs in; the main file of the settings stays in the
// program folder.
TEST_F(NewCommands, FileArgumentsAreRelativeToTheCurrentFolder) {
    working_folder = folder / "hier";
    std::filesystem::create_directory(working_folder);
    write("meine.rmd", "<record>\r\n<date=07.12.1970>\r\nIm Programmordner\r\n</record>\r\n");
    std::ofstream(working_folder / "meine.rmd", std::ios::binary)
        << "<record>\r\n<date=07.12.1970>\r\nIm aktuellen Ordner\r\n</record>\r\n"
           "<record>\r\n<date=99.99.99>\r\n</record>\r\n";
    const Outcome listed = run_cli({"list", "--file", "meine.rmd"});
    EXPECT_NE(listed.out.find("Im aktuellen Ordner"), std::string::npos) << listed.out;
    EXPECT_EQ(listed.out.find("Programmordner"), std::string::npos) << listed.out;
    EXPECT_EQ(run_cli({"check", "--file=meine.rmd"}).out,
              "meine.rmd:6: kein gültiges Datum: <date=99.99.99>\n");
    const Outcome ics =
        run_cli({"ics", "--from", "7.12.2026", "--to", "7.12.2026", "--file", "./meine.rmd"});
    EXPECT_NE(ics.out.find("SUMMARY:Im aktuellen Ordner"), std::string::npos) << ics.out;

    ASSERT_EQ(run_cli({"add", "birthday", "Anna", "1.1.1990", "--file", "meine.rmd"}).status,
              kExitOk);
    EXPECT_EQ(file("meine.rmd"),
              "<record>\r\n<date=07.12.1970>\r\nIm Programmordner\r\n</record>\r\n");
    EXPECT_NE(file("hier/meine.rmd").find("Geburtstag von Anna !"), std::string::npos);
    // An absolute name is taken as it is.
    const std::string absolute = (working_folder / "meine.rmd").string();
    EXPECT_EQ(run_cli({"list", "--file", absolute}).out,
              run_cli({"list", "--file", "meine.rmd"}).out);
}

TEST_F(NewCommands, AWindows1252FileBecomesUtf8OnlyWithTheOption) {
    write("alt.rmd", "<record>\r\n<date=07.03.1970>\r\nM\xfcller\r\n</record>\r\n");
    const std::string before = file("alt.rmd");
    const Outcome refused = run_cli({"add", "birthday", "Łukasz", "1.2.1990", "--file", "alt.rmd"});
    EXPECT_EQ(refused.status, kExitUsage);
    EXPECT_NE(refused.err.find("--utf8"), std::string::npos) << refused.err;
    EXPECT_EQ(file("alt.rmd"), before);
    // A name Windows-1252 holds keeps the file as it is.
    EXPECT_EQ(run_cli({"add", "birthday", "René", "1.2.1990", "--file", "alt.rmd"}).status,
              kExitOk);
    EXPECT_EQ(read_text_file(folder / "alt.rmd")->encoding, TextEncoding::windows1252);
    const Outcome converted =
        run_cli({"add", "birthday", "Łukasz", "1.2.1990", "--file=alt.rmd", "--utf8"});
    EXPECT_EQ(converted.status, kExitOk) << converted.err;
    const auto text = read_text_file(folder / "alt.rmd");
    EXPECT_EQ(text->encoding, TextEncoding::utf8);
    for (const char* name : {"Müller", "René", "Łukasz"})
        EXPECT_NE(text->text.find(name), std::string::npos) << name;
}

TEST_F(NewCommands, ControlCharactersBecomeBlanksAndALineBreakNeverSplitsTheRecord) {
    const Outcome o = run_cli({"add", "birthday", "Anna\nBerta\x01\tC\x7f\r<record>", "1.2.1990"});
    EXPECT_EQ(o.status, kExitOk) << o.err;
    const std::string written = file("main.rmd");
    EXPECT_NE(written.find("\r\nGeburtstag von Anna Berta \tC  <record> !\r\n"), std::string::npos)
        << written;
    EXPECT_EQ(run_cli({"check"}), (Outcome{kExitOk, "", ""})) << "the reader finds no problem";
}

TEST_F(NewCommands, HolidaysOfAState) {
    EXPECT_EQ(run_cli({"holidays", "--state=de-by", "2026"}),
              (Outcome{kExitOk, joined(legal_holiday_lines(2026, State::BY)), ""}));
    EXPECT_EQ(run_cli({"holidays", "2026", "--state", "XX"}).status, kExitUsage);
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
