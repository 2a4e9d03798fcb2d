// The commands of merkwald-cli, run in-process on a program folder in a temporary
// directory, and `add` run twice at once as the binary. The values are the libraries' and tested there; these tests hold what
// the commands add: reading the arguments, the printed form, the exit codes and
// what `add` writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "../support/cli_process.h"
#include "../support/temp_folder.h"
#include "apps/merkwald-cli/cli.h"
#include "calendar/astro.h"
#include "calendar/feasts.h"
#include "calendar/state_holidays.h"
#include "engine/text_file.h"

namespace merkwald::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out, err;
    friend bool operator==(const Outcome&, const Outcome&) = default;
    friend void PrintTo(const Outcome& o, std::ostream* os) {
        *os << ::testing::PrintToString(std::tie(o.status, o.out, o.err));
    }
};

using Command = int (*)(const std::vector<std::string>&, Context&);

class CliTest : public ::testing::Test {
protected:
    ~CliTest() override { fs::remove_all(folder); }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
    }

    Outcome run_command(Command command, const std::vector<std::string>& args) {
        std::ostringstream out, err;
        Context ctx(out, err);
        ctx.today = today;
        ctx.now_seconds = 12 * 3600;
        ctx.home = home;
        ctx.program_folder = folder;
        ctx.working_folder = working_folder.empty() ? folder : working_folder;
        ctx.engine = engine;
        ctx.data_filename = "main.rmd";
        ctx.name_day_file = name_day_file;
        ctx.name_days = name_days;
        const int status = command(args, ctx);
        return {status, out.str(), err.str()};
    }
    Outcome run_cli(const std::vector<std::string>& args) { return run_command(run, args); }
    // Arguments the tool refuses: nothing printed, the reason on standard error.
    void expect_refused(const std::vector<std::string>& args) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome o = run_cli(args);
        EXPECT_EQ(o.status, kExitUsage);
        EXPECT_EQ(o.out, "");
        EXPECT_NE(o.err, "");
    }

    const fs::path folder = merkwald::test::make_unique_folder("merkwald-cli-test");
    DaySerial today = *make_date(1999, 3, 5);
    HomePlace home;
    EngineSettings engine;
    fs::path working_folder;  // empty: the program folder
    fs::path name_day_file = fs::path(MERKWALD_SOURCE_DIR) / "data" / "namenstage.dat";
    NameDayChoice name_days = NameDayChoice::none;
};

class CalendarCommands : public CliTest {
protected:
    CalendarCommands() { today = *make_date(2000, 6, 21); }
    Outcome astro(const std::vector<std::string>& args) { return run_command(run_astro, args); }
};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TEST_F(CalendarCommands, YearListsPrintTheWindowsLinesAndRefuseBadArguments) {
    EXPECT_EQ(run_command(run_church_year, {"2098"}),
              (Outcome{kExitOk, joined(church_year_lines(2098)), ""}));
    EXPECT_EQ(run_cli({"holidays", "--state=de-by", "2026"}),
              (Outcome{kExitOk, joined(legal_holiday_lines(2026, State::BY)), ""}));
    EXPECT_EQ(run_command(run_holiday, {"24.12.2000"}), (Outcome{kExitOk, "Heiliger Abend\n", ""}));
    // A fraction is dropped as the windows drop it; anything else, or a year the
    // lists do not cover, is a bad argument.
    const Outcome y2005{kExitOk, joined(holiday_list_lines(2005)), ""};
    const Outcome bad{kExitUsage, "", "Das Jahr muss eine Zahl von 1901 bis 2098 sein.\n"};
    const std::pair<const char*, Outcome> rows[] = {
        {"2005.9", y2005}, {"2005abc", bad}, {"1900", bad}, {"2099", bad}};
    for (const auto& [year, expected] : rows)
        EXPECT_EQ(run_command(run_holidays, {year}), expected) << year;
    EXPECT_EQ(run_command(run_holiday, {"31.02.1999"}),
              (Outcome{kExitUsage, "", "Falsches Datum\n"}));
    expect_refused({"holiday", "1.1.2000", "2.1.2000"});
    expect_refused({"holidays", "2026", "--state", "XX"});
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

    EXPECT_EQ(astro({"--time", "12:60"}), (Outcome{kExitFailure, "", "Falsche Minuten\n"}));
    expect_refused({"astro", "--time", "1230"});
    expect_refused({"astro", "--dst", "--no-dst"});
}

TEST_F(CalendarCommands, AstroTakesThePlaceFromTheFileAndTheSummerTimeFromTheZone) {
    // Announces three places, holds two: the two can still be used.
    write("orte.dat",
          "3\n\"Wien\",16,22,0,\"O\",48,12,0,\"N\",1,171\n"
          "\"Bern\",7,27,0,\"O\",46,57,0,\"N\",1,540\n");
    const Outcome short_file = astro({"--place", "Bern"});
    EXPECT_EQ(kExitOk, short_file.status);
    EXPECT_EQ("Datei orte.dat nicht vorhanden oder Fehlerhaft\n", short_file.err);
    EXPECT_EQ(10, std::count(short_file.out.begin(), short_file.out.end(), '\n'));

    write("orte.dat",
          "2\r\n\"Wien\",16,22,0,\"O\",48,12,0,\"N\",1,171\r\n"
          "\"M\xFCnchen\",11,35,0,\"O\",48,8,0,\"N\",1,519\r\n");
    // Explicit values win over the place's row; the name is found in any case.
    EXPECT_EQ(astro(munich_with({"--zone", "2", "--no-dst"})),
              astro({"--place=münchen", "--date", "21.06.2000", "--zone", "2", "--no-dst"}));
    EXPECT_EQ(kExitUsage, astro({"--place", "Paris"}).status);

    home.summer_time_hours = [](DaySerial d) { return ymd_of(d).month == 7 ? 1.0 : 0.0; };
    EXPECT_EQ(astro({"--date", "1.7.2026"}), astro({"--date", "1.7.2026", "--dst"}));
    EXPECT_EQ(astro({"--date", "1.1.2026"}), astro({"--date", "1.1.2026", "--no-dst"}));
    EXPECT_NE(astro({"--date", "1.7.2026"}), astro({"--date", "1.7.2026", "--no-dst"}));
}

class NewCommands : public CliTest {
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
    expect_refused({"ics", "--from", "1.1.2027", "--to", "2.1.2028"});  // 367 days
    const Outcome missing =
        run_cli({"ics", "--from", "1.1.2027", "--to", "1.1.2027", "--file", "fehlt.rmd"});
    EXPECT_EQ(missing, (Outcome{kExitFailure, "", "Datei nicht gefunden\n"}));
}

// The record the entry windows would write, listed without a message.
TEST_F(NewCommands, AddAppendsTheRecordTheDialogWouldAndTheReaderTakesItBack) {
    EXPECT_EQ(run_cli({"add", "birthday", "Jörg Müller", "5.3.1998", "--template", "2"}),
              (Outcome{kExitOk,
                       "<record>\n<date=05.03.1998>\n<active_before=21>\n"
                       "<group=geburtstage>\n Jörg Müller wird <years_after_date>\n"
                       "</record>\n",
                       ""}));
    const Outcome appointment =
        run_cli({"add", "appointment", "Zahnarzt", "2027-01-15", "9:30", "--lead-days=3"});
    EXPECT_EQ(appointment.status, kExitOk) << appointment.err;
    EXPECT_TRUE(file("main.rmd")
                    .ends_with("\r\n<record>\r\n<date=15.01.2027>\r\n<active_before=3>\r\n"
                               "<group=termine>\r\n<active=once>\r\nTermin: Zahnarzt um 9:30 Uhr "
                               "<days_before_event_text>\r\n</record>\r\n\r\n"))
        << file("main.rmd");
    // A year before 1000 is written as typed, with four digits.
    ASSERT_EQ(run_cli({"add", "birthday", "Otto", "5.3.0999"}).status, kExitOk);
    EXPECT_NE(file("main.rmd").find("<date=05.03.0999>\r\n"), std::string::npos);

    // Control characters become blanks: a line break never splits the record.
    ASSERT_EQ(run_cli({"add", "birthday", "Anna\nBerta\x01\tC\x7f\r<record>", "1.2.1990"}).status,
              kExitOk);
    EXPECT_NE(file("main.rmd").find("\r\nGeburtstag von Anna Berta \tC  <record> !\r\n"),
              std::string::npos);

    const Outcome listed = run_cli({"list", "--from", "15.1.2027", "--to", "5.3.2027"});
    EXPECT_EQ(listed.err, "");
    for (const char* text : {"Jörg Müller wird 29\n", "Termin: Zahnarzt um 9:30 Uhr heute\n"})
        EXPECT_NE(listed.out.find(text), std::string::npos) << listed.out;
    EXPECT_EQ(run_cli({"check"}), (Outcome{kExitOk, "", ""}));
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
        {{"add", "birthday", "Ren\xe9", "1.2.1990"},  // a Latin-1 terminal
         "Das 2. Argument nach \"add\" ist kein gültiger UTF-8-Text (Zeichensatz des "
         "Terminals?); es wurde nichts geschrieben.\n"},
        // A text that would read as a tag, whichever tag it is.
        {{"add", "birthday", "<priority=5>", "5.3.1998", "--template", "2"},
         "Text: die Zeile \" <priority=5> wird <years_after_date>\" würde als Steuerzeile gelesen. "
         "Bitte ändern.\n"},
    };
    for (const auto& [args, message] : rows) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome o = run_cli(args);
        EXPECT_EQ(o.status, kExitUsage);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, message);
    }
    EXPECT_EQ(file("main.rmd"), before);
}

// Like every terminal program: a name on the command line is relative to the
// folder the command runs in; the main file of the settings stays in the
// program folder.
TEST_F(NewCommands, FileArgumentsAreRelativeToTheCurrentFolder) {
    working_folder = folder / "hier";
    fs::create_directory(working_folder);
    const std::string in_program_folder =
        "<record>\r\n<date=07.12.1970>\r\nIm Programmordner\r\n</record>\r\n";
    write("meine.rmd", in_program_folder);
    write("hier/meine.rmd",
          "<record>\r\n<date=07.12.1970>\r\nIm aktuellen Ordner\r\n</record>\r\n"
          "<record>\r\n<date=99.99.99>\r\n</record>\r\n");
    const Outcome listed = run_cli({"list", "--file", "meine.rmd"});
    EXPECT_NE(listed.out.find("Im aktuellen Ordner"), std::string::npos) << listed.out;
    EXPECT_EQ(run_cli({"check", "--file=meine.rmd"}),
              (Outcome{kExitFailure, "meine.rmd:6: kein gültiges Datum: <date=99.99.99>\n", ""}));
    ASSERT_EQ(run_cli({"add", "birthday", "Anna", "1.1.1990", "--file", "meine.rmd"}).status,
              kExitOk);
    EXPECT_EQ(file("meine.rmd"), in_program_folder);
    EXPECT_NE(file("hier/meine.rmd").find("Geburtstag von Anna !"), std::string::npos);
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

// list and missed.

class ListCommands : public CliTest {
protected:
    ListCommands() {
        engine.last_start = "01.03.99";
        write("main.rmd",
              "<record>\r\n<date=07.03.1970>\r\n<active_before=7>\r\n<group=geburtstage>\r\n"
              "Anna hat <days_before_event_text> Geburtstag\r\nZweite Zeile\r\n</record>\r\n"
              "<record>\r\n<date=03.03.1980>\r\nVorgestern\r\n</record>\r\n");
        write("range.rmd",
              "<record>\r\n<date=07.03.1970>\r\n<active_before=0>\r\n<group=geburtstage>\r\n"
              "Anna hat <days_before_event_text> Geburtstag\r\n</record>\r\n"
              "<record>\r\n<date=20.03.1970>\r\n<group=termine>\r\nZwanzigster\r\n</record>\r\n"
              "<record>\r\n<date=02.03.1980>\r\n<group=termine>\r\nZweiter\r\n</record>\r\n");
        write("other.rmd", "<record>\r\n<date=20.03.1970>\r\nSpäter\r\n</record>\r\n");
        write("bad.rmd", "<record>\r\n<date=05.03.1970>\r\nText > <x\r\n</record>\r\n");
    }
};

// What the window would show, with LF; the messages of its boxes go to standard error.
TEST_F(ListCommands, PrintTheWindowTexts) {
    const std::string range = "--file=range.rmd";
    const std::pair<std::vector<std::string>, Outcome> rows[] = {
        {{"list"},
         {kExitOk,
          "Freitag, 5.3.1999\n\nGeburtstage:\n\nAnna hat in 2 Tagen Geburtstag\nZweite Zeile\n\n",
          ""}},
        {{"list", "--file=other.rmd", "--lead-days", "15"},
         {kExitOk, "Freitag, 5.3.1999\n\nSpäter\n\n", ""}},
        // --from and --to: the list of the first day with every lead time reaching to the last.
        {{"list", range, "--from", "1.3.1999", "--to", "7.3.1999"},
         {kExitOk,
          "Ereignisse vom 1.3.1999 bis 7.3.1999\n\n"
          "Geburtstage:\n\nAnna hat in 6 Tagen Geburtstag\n\nTermine:\n\nZweiter\n\n",
          ""}},
        // Past this year's 20 March the next one lies in 2000.
        {{"list", range, "--from", "2000-03-08", "--to", "2000-03-19"},
         {kExitOk, "Ereignisse vom 8.3.2000 bis 19.3.2000\n\n", ""}},
        // Nothing is printed when the last file failed.
        {{"list", "--file", "fehlt.rmd"}, {kExitFailure, "", "Datei nicht gefunden\n"}},
        // A name on the command line is made whole against the current folder.
        {{"list", "--file", "bad.rmd"},
         {kExitOk, "Freitag, 5.3.1999\n\n",
          "Syntaxfehler in Datei: " + (folder / "bad.rmd").string() +
              "\nZeile:  4\nText > <x\n\n"}},
        {{"missed"},
         {kExitOk, "Seit dem letzten Start (01.03.99) abgelaufen...\n  03.03.1999: Vorgestern\n",
          ""}},
    };
    for (const auto& [args, expected] : rows)
        EXPECT_EQ(run_cli(args), expected) << ::testing::PrintToString(args);
}

TEST_F(ListCommands, BadArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list", "--lead-days", "-1"},
          {"list", "--file"},
          {"frobnicate"},
          {"list", "--from", "7.3.1999", "--to", "6.3.1999"},
          {"list", "--from", "7.3.1999"},
          {"missed", "--from=1.3.1999", "--to=2.3.1999"}})
        expect_refused(args);
    // A wrong date is named with its option.
    EXPECT_TRUE(run_cli({"list", "--from=30.2.1999", "--to", "1.3.1999"})
                    .err.starts_with("Falsches Datum bei --from: 30.2.1999\n"));
}

// namedays, and the shipped name days in `list`.

constexpr char kPeople[] =
    "<record>\r\n<date=01.01.1980>\r\n<active_before=14>\r\n<group=geburtstage>\r\n"
    "Franziska Berg hat <days_before_event_text> Geburtstag\r\n</record>\r\n"
    "<record>\r\n<date=02.02.1985>\r\n<active_before=14>\r\n<group=geburtstage>\r\n"
    "Max Weber hat <days_before_event_text> Geburtstag\r\n</record>\r\n";

class NameDayCommands : public CliTest {
protected:
    NameDayCommands() { write("main.rmd", kPeople); }
};

// Today is Friday, 5 March 1999.
TEST_F(NameDayCommands, NameDaysOfThePeopleAWeekAheadAllTheDaysNamesAndTheListsSetting) {
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
    // The list shows them as the setting asks.
    EXPECT_EQ(run_cli({"list"}).out, "Freitag, 5.3.1999\n\n");
    name_days = NameDayChoice::own_people;
    EXPECT_EQ(run_cli({"list"}).out,
              "Freitag, 5.3.1999\n\nNamenstage:\n\n"
              "Franziska hat in 4 Tagen Namenstag (Di, 09. 03.)\n\n"
              "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)\n\n");
}

TEST_F(NameDayCommands, BadArgumentsAndAFaultyTable) {
    EXPECT_EQ(run_command(run_namedays, {"--today", "Montag"}).status, kExitUsage);
    name_day_file = folder / "fehlt.dat";
    const Outcome missing = run_command(run_namedays, {});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find("fehlt.dat"), std::string::npos);
    // A faulty line is named and the rest shown.
    write("namen.dat", "05.03. Olivia\n32.03. Niemand\n12.03. Maximilian (Max)\n");
    name_day_file = folder / "namen.dat";
    EXPECT_EQ(run_command(run_namedays, {}),
              (Outcome{kExitFailure, "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)\n",
                       name_day_file.string() + ":2: kein gültiger Tag: 32.03.\n"}));
}

// Two `add` started together on one file: each record lands, or its writer is
// refused with a message and a failing exit status. Nothing is lost silently.

// How often a line holding the word ` name ` stands in the file, read by the
// engine's reader.
int lines_naming(const fs::path& file, const std::string& name) {
    int count = 0;
    if (const std::optional<FileText> text = read_text_file(file))
        for (const std::string& line : split_lines(text->text))
            count += (" " + line + " ").find(" " + name + " ") != std::string::npos ? 1 : 0;
    return count;
}

TEST(ConcurrentAdd, FiftyPairsOnOneFileLoseNothing) {
    const fs::path home = merkwald::test::make_unique_folder("merkwald-cli-pairs");
    fs::create_directories(home / "config");
    fs::copy_file(fs::path(MERKWALD_SOURCE_DIR) / "data" / "geb_text.dat", home / "geb_text.dat");
    const fs::path file = home / "gemeinsam.rmd";
    // Enough records that reading and writing the file takes a while.
    constexpr int kBefore = 2000;
    std::string records;
    for (int i = 0; i < kBefore; ++i)
        records += "<record>\r\n<date=01.01.1990>\r\nB\r\n</record>\r\n";
    std::ofstream(file, std::ios::binary) << records;

    int landed = 0;
    for (int pair = 0; pair < 50; ++pair) {
        const std::string names[2] = {"Erster" + std::to_string(pair),
                                      "Zweiter" + std::to_string(pair)};
        std::unique_ptr<merkwald::test::CliProcess> writers[2];
        for (int w = 0; w < 2; ++w)
            writers[w] = std::make_unique<merkwald::test::CliProcess>(
                MERKWALD_CLI_BINARY,
                std::vector<std::string>{"add", "birthday", names[w], "1.2.1980", "--file", file},
                home, home / ("fehler" + std::to_string(w)));
        for (int w = 0; w < 2; ++w) {
            SCOPED_TRACE(names[w]);
            const int status = writers[w]->wait();
            const std::string err =
                merkwald::test::file_text(home / ("fehler" + std::to_string(w)));
            if (status == 0) {
                EXPECT_EQ(1, lines_naming(file, names[w]));
                EXPECT_EQ("", err);
                ++landed;
            } else {
                EXPECT_EQ(1, status);
                EXPECT_EQ(0, lines_naming(file, names[w]));
                EXPECT_NE(std::string::npos, err.find("gemeinsam.rmd")) << err;
            }
        }
    }
    EXPECT_EQ(kBefore + landed, lines_naming(file, "<record>"));
    // No temporary file and no lock file stays beside the reminder file.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(home))
        if (!entry.path().filename().string().starts_with("fehler"))
            names.insert(entry.path().filename().string());
    EXPECT_EQ((std::set<std::string>{"config", "geb_text.dat", "gemeinsam.rmd", "gemeinsam.bak"}),
              names);
    EXPECT_TRUE(fs::is_empty(home / "config")) << "the command-line tool never writes the settings";
    fs::remove_all(home);
}

}  // namespace
}  // namespace merkwald::cli
