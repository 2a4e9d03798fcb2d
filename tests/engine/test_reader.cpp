#include <cctype>

#include "engine/evaluate.h"
#include "engine/file_check.h"
#include "engine/list_view.h"
#include "engine/reader.h"
#include "engine/refresh.h"
#include "engine/tags.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

class Reader : public test::TempFolderTest {
protected:
    EngineState state_{EngineSettings{}, test::d("05.03.1999"), {}};
    RefreshTables tables_;
    test::RecordingSink sink_;

    void run(const std::string& main = "main.rmd") {
        state_.program_folder = folder_;
        refresh(state_, tables_, main, sink_);
    }
    // A fresh refresh of `bytes` as the main file, the list composed as the window does.
    std::string run(std::string_view bytes, const char* today) {
        write("main.rmd", bytes);
        state_ = EngineState(EngineSettings{}, test::d(today), folder_);
        refresh(state_, tables_, "main.rmd", sink_);
        return plain_text(compose_list(state_, sort_by_group(state_, tables_), {}));
    }
    // The file check's lines for `text` as the main file.
    std::vector<std::string> check(const std::string& text) {
        write("main.rmd", text);
        std::vector<std::string> lines;
        for (const FileProblem& p :
             check_files(EngineState(EngineSettings{}, DaySerial{}, folder_), "main.rmd"))
            lines.push_back(problem_line(p));
        return lines;
    }
};

TEST_F(Reader, ShowsAtMost998LinesButMissesEveryRecord) {
    std::string file;  // a thousand missed yesterday, due again within the lead; three today
    for (int i = 1; i <= 1003; ++i)
        file += "<record>\r\n<date=" + std::string(i <= 1000 ? "04" : "05") + ".03.1960>\r\nNr. " +
                std::to_string(i) + "\r\n</record>\r\n";
    write("main.rmd", file);
    state_.lead_days = 400;
    run();
    ASSERT_EQ(tables_.lines.size(), 998u);
    EXPECT_EQ(tables_.lines.back().text, "Nr. 998\r\n");
    EXPECT_EQ(tables_.missed.size(), 1000u) << "the missed list keeps its first 1000 entries";
    EXPECT_TRUE(tables_.read_ok) << "a 1001st missed record is no read failure";
    EXPECT_FALSE(state_.sound_mark) << "records beyond the list do not sound";
}

// The lead-days override of one refresh stays in the field for the next, as a
// lead time set by a tag does.
TEST_F(Reader, RunLongFieldsSurviveRefreshes) {
    write("main.rmd", "<record>\r\n<date=04.04.1960>\r\nIn 30 Tagen\r\n</record>\r\n");
    state_.lead_days = 30;
    run();
    state_.lead_days.reset();
    run();
    ASSERT_EQ(tables_.lines.size(), 1u);
    EXPECT_EQ(tables_.lines[0].text, "In 30 Tagen\r\n");
}

TEST_F(Reader, NumbersRoundHalvesToEvenAndWeeksDown) {
    write("main.rmd",
          "<record>\r\n<active_before= 2.5x>\r\n<active_week=2.9>\r\n"
          "<active_day=0>\r\n<color=-1>\r\n");
    run();
    EXPECT_EQ(state_.record.active_before, 2);
    EXPECT_EQ(state_.record.active_week, 2);
    EXPECT_EQ(state_.record.day_of_month, 1);
    EXPECT_EQ(state_.record.color, 0xFFFFFFFFu);
}

TEST_F(Reader, MissingFilesDevicesAndFoldersAreNoReminderFiles) {
    write("main.rmd", "<add_file=/dev/zero>\r\n<add_file=" + folder_.string() + ">\r\n");
    run();
    EXPECT_EQ(tables_.files.size(), 1u) << "links to a device or a folder are skipped";
    EXPECT_TRUE(sink_.shown.empty());
    run("/dev/zero");
    EXPECT_FALSE(tables_.read_ok);
    EXPECT_EQ(sink_.shown.size(), 1u);
}

// A record's group is the last group name its value matches, without regard to
// case; the values of one file are looked up once each, however many they are.
TEST_F(Reader, GroupValuesMatchTheNamesWhateverCameBefore) {
    // Eight values fill the memo; the later ones are found in it or looked up.
    const std::string values[] = {"geburtstage", "TERMINE",   "unbekannt",  "Geburtstage",
                                  "termine",     "a",         "b",          "c",
                                  "NAMENSTAGE",  "unbekannt", "geburtstage"};
    const std::string groups[] = {"Geburtstage", "Termine", "",           "Geburtstage",
                                  "Termine",     "",        "",           "",
                                  "Namenstage",  "",        "Geburtstage"};
    std::string file;
    for (const std::string& value : values)
        file += "<record>\r\n<date=05.03.1960>\r\n<group=" + value + ">\r\n" + value +
                "\r\n</record>\r\n";
    run(file, "05.03.1999");
    ASSERT_EQ(tables_.lines.size(), std::size(values));
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(tables_.lines[i].group, groups[i]) << i;
}

// Inputs the fuzz targets (fuzz/) turned up: each once led the engine astray.

// A period of 32767 days from 1990 runs past 31.12.9999: the record has no
// occurrence left, instead of one in the year 10080.
TEST_F(Reader, FuzzRegressionPeriodicOccurrenceBeyondTheCalendarEnd) {
    const std::string_view file =
        "<record>\r\n<date=01.07.9990>\r\n<active=periodic>\r\n<periodic_repeat=32767>\r\n"
        "<active_before=32767>\r\nP <event_d.m.yyyy>\r\n</record>\r\n"
        "<record>\r\n<date=01.07.9990>\r\n<active=periodic>\r\n<periodic_repeat=32767>\r\n"
        "<active=always>\r\nA <event_d.m.yyyy>\r\n</record>\r\n";
    run(file, "01.06.9999");
    ASSERT_EQ(tables_.lines.size(), 1u);
    EXPECT_EQ(tables_.lines[0].text, "A 1. 7. 9999\r\n") << "the event date stays the anniversary";
    EXPECT_TRUE(in_range(tables_.lines[0].sort_date));
    EXPECT_TRUE(sink_.shown.empty());
}

// Extreme values at both ends of the calendar: every date the engine computes
// stays inside it and the list and missed window are built.
TEST_F(Reader, FuzzRegressionExtremeRecordsStayInsideTheCalendar) {
    const std::pair<const char*, std::string_view> rows[] = {
        {"31.12.9999",
         "<record>\n<date=1.1.9999>\n<active=periodic>\n<periodic_repeat=32767>\n"
         "<active_before=32767>\nP <event_d.m.yyyy> <days_before_event_text>\n</record>\n"},
        {"31.12.9999",
         "<record>\n<date=31.12.9999>\n<active=monthly>\n<active_week=32767>\n"
         "<active_day=saturday>\n<active_before=32767>\nN <event_ww>\n</record>\n"},
        {"1.1.0100",
         "<record>\n<date=1.1.0100>\n<active=monthly>\n<active_day=-32768>\n"
         "<active_before=-32768>\nM <weeks_before_event> <months_before_event>\n</record>\n"},
        {"1.1.0100",
         "<record>\r<date=29.02.0104>\r<active_before=32767>\r<priority=2>\r"
         "L <years_after_date> <full_years_after_date> <sunrise> \xe4<\r</record>\r"},
    };
    tables_.capture = RefreshTables::Capture::also;
    for (const auto& [today, file] : rows) {
        SCOPED_TRACE(today);
        const std::string list = run(file, today);
        EXPECT_FALSE(list.empty());
        ASSERT_EQ(tables_.captured.size(), 1u);
        const Verdict v = evaluate_record(state_, tables_.captured[0].record, DaySerial{});
        EXPECT_TRUE(in_range(v.event_date)) << v.event_date;
        for (const LineEntry& line : tables_.lines) EXPECT_TRUE(in_range(line.sort_date));
        if (!tables_.missed.empty()) {
            EXPECT_FALSE(missed_view(state_, tables_, sink_).text.empty());
        }
    }
}

// One table answers the reader, the file check and the editing tools: names in
// any case and with blanks around, but nothing one byte or one letter away.
TEST(TagTable, NamesRoundTrip) {
    for (int t = int(Tag::record); t <= int(Tag::end_record); ++t) {
        std::string name(tag_name(Tag(t)));
        EXPECT_EQ(find_tag(name), Tag(t)) << name;
        for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(find_tag("  " + name + " "), Tag(t)) << name;
    }
    // Bytes one case bit away from '_' or '/' (octal), and names of another's length.
    for (const char* other : {"", "dates", "active-before", "prio", "record2", "active\177before",
                              "\017record", "Active_Befor", "periodic_repeats", "dat\xc5"})
        EXPECT_EQ(find_tag(other), Tag::none) << other;
}

// Finding the broken lines of reminder files: one file per kind of problem.

TEST_F(Reader, FileCheckNamesEachKindOfProblem) {
    using Lines = std::vector<std::string>;
    const std::pair<std::string, Lines> rows[] = {
        {"<record>\r\n<date=7.3.1970>\r\n<group=geburtstage>\r\nAnna <days_before_event_text>\r\n"
         "</record>\r\n",
         {}},
        {"<record>\n<date=1.1.2020>\n<active_before=40000>\nText\n</record>\n",
         {"main.rmd:3: Zahl außerhalb des Bereichs (das Programm meldet \"Datei nicht gefunden\" "
          "und liest die Datei nicht weiter): <active_before=40000>"}},
        {"<record>\r\nEins\r\n<record>\r\nZwei\r\n</record>\r\n<record>\r\n<date=x>\r\n",
         {"main.rmd:1: Datensatz ohne Ende: <record> ohne </record>",
          "main.rmd:6: Datensatz ohne Ende: <record> ohne </record>",
          "main.rmd:7: kein gültiges Datum: <date=x>"}},
        {"<record>\r\n<grop=termine>\r\n<active=sometimes>\r\n<sunrise> Uhr\r\n</record>\r\n",
         {"main.rmd:2: unbekannte Markierung, die Zeile wird als Text gezeigt: <grop=termine>",
          "main.rmd:3: unbekannter Wert, die Zeile wird als Text gezeigt: <active=sometimes>"}},
        {"<add_file=fehlt.rmd>\r\n", {"main.rmd:1: verknüpfte Datei fehlt: fehlt.rmd"}},
        {"<record>\r\nErste Zeile\r\nZwei > <sunrise\r\nDritte\r\n</record>\r\n",
         {"main.rmd:3: Syntaxfehler in einem Platzhalter: Zwei > <sunrise"}},
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(check(text), expected) << text;
}

TEST_F(Reader, FileCheckLooksIntoLinkedFiles) {
    write("linked.rmd", "<record>\r\n<date=x>\r\n</record>\r\n<add_file=main.rmd>\r\n");
    EXPECT_EQ(check("<add_file=linked.rmd>\r\n"),
              (std::vector<std::string>{
                  "linked.rmd:2: kein gültiges Datum: <date=x>",
                  "linked.rmd:4: add_file wirkt nur in der Hauptdatei, die Zeile wird als Text "
                  "gezeigt"}));
    std::vector<FileProblem> missing =
        check_files(EngineState(EngineSettings{}, DaySerial{}, folder_), "fehlt.rmd");
    EXPECT_EQ(missing, (std::vector<FileProblem>{{"fehlt.rmd", 0, "Datei nicht gefunden"}}));
}

}  // namespace
}  // namespace merkwald
