#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "editing/birthday_import.h"
#include "editing/converter.h"
#include "editing/entry_records.h"
#include "editing/field_checks.h"
#include "editing/new_file.h"
#include "editing/templates.h"
#include "editing_test_support.h"

namespace merkwald {
namespace {

const DaySerial kToday = test::day(2026, 12, 7);

const std::vector<TextTemplate> kTemplates = {{"Erste", "", "hat Geburtstag"},
                                              {"Zweite", "Geburtstag von", "am <event_d.mmmm>"}};

class EntrySave : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::filesystem::path file = folder / "main.rmd";
};

// An appointment is a one-time record in the group "termine".
TEST_F(EntrySave, EachSaveAppendsOneRecordWithTwoEmptyLinesBetween) {
    const std::pair<EntryKind, EntryInput> entries[] = {
        {EntryKind::birthday, {"Anna", "5.3.1998", 0, {0, 0, "14"}}},
        {EntryKind::birthday, {"Bernd", "24.12.1960", 1, {255, 0, "14"}}},
        {EntryKind::appointment, {"Zahnarzt", "07.01.2025", -1, {32768, 0, "14"}}}};
    for (const auto& [kind, entry] : entries)
        EXPECT_TRUE(save_entry(kind, file, entry, kTemplates, kToday).write.ok()) << entry.name;
    const auto saved = [](const std::string& body) { return "\r\n" + record(body) + "\r\n"; };
    EXPECT_EQ(
        saved("<date=05.03.1998>|<active_before=14>|<group=geburtstage>| Anna hat Geburtstag") +
            saved("<date=24.12.1960>|<color=255>|<active_before=14>|<group=geburtstage>|"
                  "Geburtstag von Bernd am <event_d.mmmm>") +
            saved("<date=07.01.2025>|<color=32768>|<active_before=14>|<group=termine>|"
                  "<active=once>| Zahnarzt hat Geburtstag"),
        read_bytes(file));
    const test::Listed listed = test::listed_on(file, test::day(2027, 3, 5));
    EXPECT_EQ(std::vector<std::string>{"Anna hat Geburtstag"}, listed.texts);
    EXPECT_TRUE(listed.messages.empty());
}

TEST_F(EntrySave, ChecksComeBeforeAnyWriting) {
    const std::vector<TextTemplate> bare{{"b", "", ""}};  // the name alone is the text line
    const std::tuple<const char*, const char*, const char*, EntryCheck, const char*> rows[] = {
        {"   ", "1.1.2000", "7", EntryCheck::no_name, ""},
        {"Anna", "1.1.2030", "7", EntryCheck::bad_date, "Falsches Datum"},
        {"Anna", "1.1.1990", "40000", EntryCheck::bad_field, "Vorlaufzeit"},
        {"</record>", "1.1.1990", "7", EntryCheck::bad_field, "</record>"},
        // Also a tag the record editor keeps as text.
        {"<priority=2> Anna", "1.1.1990", "7", EntryCheck::bad_field, "<priority=2> Anna"}};
    for (const auto& [name, date, lead, check, problem] : rows) {
        const SaveOutcome outcome =
            save_entry(EntryKind::birthday, file, {name, date, 0, {0, 0, lead}}, bare, kToday);
        EXPECT_EQ(check, outcome.check) << name << "|" << date;
        EXPECT_NE(std::string::npos, outcome.problem.find(problem))
            << name << "|" << outcome.problem;
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(FieldChecks, NumbersAreWholeAndWithinWhatTheReaderHolds) {
    const std::pair<const char*, bool> rows[] = {{" 7 ", true},    {"32767", true}, {"", true},
                                                 {"32768", false}, {"-1", false},   {"7a", false}};
    for (const auto& [text, ok] : rows)
        EXPECT_EQ(
            ok, !check_number({.label = "Vorlaufzeit (Tage)", .text = text, .empty_allowed = true}))
            << text;
    EXPECT_TRUE(check_number({.label = "Periode (Tage)", .text = "", .low = 1}).has_value());
}

// A typed line that reads as a tag is refused; an entry's text line for any
// tag the reader knows, also those the record editor keeps as text.
TEST(FieldChecks, ATypedLineNeverBecomesATag) {
    const std::tuple<const char*, bool, bool> rows[] = {
        {"  </RECORD>  ", true, true},        {"<Date=1.1.2000>", true, true},
        {"<active=once>", true, true},        {"<active=oft>", false, false},
        {"<priority=2>", false, true},        {"<priority=99999>", true, true},
        {"Text <record>", false, false},      {"<hallo=1>", false, false},
        {"\x01</record>", true, true},  // written with a blank for the control character
        {" < BACKGROUND = 1 > ", false, true}};
    for (const auto& [line, tag, any_tag] : rows) {
        EXPECT_EQ(tag, reads_as_tag(line)) << line;
        EXPECT_EQ(any_tag, reads_as_any_tag(line)) << line;
    }
}

TEST(FieldChecks, DatesHaveFourDigitYearsAndBirthdaysLieInThePast) {
    const std::pair<const char*, const char*> rows[] = {
        // "": refused
        {"1.1.25", "01.01.2025"},    {"1.1.29", "01.01.1929"}, {"8.12.26", "08.12.1926"},
        {"7.12.2026", "07.12.2026"}, {"1.1.2030", ""},         {"31.2.1990", ""}};
    for (const auto& [typed, birthday] : rows) {
        const auto date = birthday_date(typed, kToday);
        EXPECT_EQ(std::string(birthday), date ? written_date(*date) : "") << typed;
    }
}

// Without linked files the file is emptied.
TEST(NewFile, LinkedFilesLeadTheFileAndTheList) {
    test::TempFolder folder;
    const std::filesystem::path file = folder / "neu.rmd";
    ASSERT_TRUE(create_new_file(file, {"geb.rmd", "/daten/termine.rmd"}).write.ok());
    EXPECT_EQ("<add_file=geb.rmd>\r\n<add_file=/daten/termine.rmd>\r\n", read_bytes(file));
    ASSERT_TRUE(create_new_file(file, {}).write.ok());
    EXPECT_EQ("", read_bytes(file));
    EXPECT_FALSE(create_new_file(folder / "fehlt" / "neu.rmd", {"a.rmd"}).write.ok());
}

// Reading stops after 25 blocks, at a block that starts with another line than
// "*", and before a block the text ends in.
TEST(Templates, BlockCount) {
    std::string blocks;
    for (int i = 0; i < 30; ++i) blocks += "  *  \nCaption\r\nvor\r\nnach\r\n";
    const std::pair<std::string, std::size_t> rows[] = {
        {blocks, 25},
        {blocks.substr(0, 52) + "x\r\nC\r\nv\r\nn\r\n" + blocks, 2},
        {"*\nC\nv\n", 0}};
    for (const auto& [text, count] : rows) EXPECT_EQ(count, parse_templates(text).size()) << text;
}

TEST(CsvFields, FieldSyntax) {
    const std::pair<const char*, std::vector<std::string>> rows[] = {
        {"  Anna Maria \t, \t1.1.1990  ", {"Anna Maria", "1.1.1990"}},
        {" \" Anna \" , 2.2.1990", {" Anna ", "2.2.1990"}},
        {"\"Anna \"\"Anni\"\" B\",3.3.1990", {"Anna \"Anni\" B", "3.3.1990"}},
        {"\"offen, bis zum Ende", {"offen, bis zum Ende"}},
        {"Anna\r\n\r\n   \r\n1.1.1990\n", {"Anna", "1.1.1990"}},
        {"a,b\rc,d", {"a", "b", "c", "d"}},
        // A blank spreadsheet row holds no field, and settles the separator.
        {";\nBerg, Anna;1.1.1990", {"Berg, Anna", "1.1.1990"}},
    };
    for (const auto& [text, fields] : rows) EXPECT_EQ(fields, csv_fields(text)) << text;
}

class Import : public EntrySave {
protected:
    std::filesystem::path source = folder / "geb.csv";
    TextTemplate text{"c", "Geburtstag von", "hat <days_before_event_text>"};
    RecordStyle style{0, 0, "7"};
    std::vector<int> progress;

    ImportOutcome run(const std::string& csv) {
        write_bytes(source, csv);
        return import_birthdays(source, file, ImportFormat::name_date, text, style, kToday,
                                [this](int n) { progress.push_back(n); });
    }
};

// Every entry before the one that stopped the import is written. A name that
// would make the record's text line a tag of the reader stops it; what follows
// the name becomes part of the value, so "<active=once> hat ..." is text.
TEST_F(Import, HowAnImportEnds) {
    text.before = "";
    const std::tuple<std::string, ImportEnd, const char*, int> rows[] = {
        {"A,1.1.1990\r\nB,2.2.1990\r\nC,30.2.1990\r\nD,4.4.1990\r\n", ImportEnd::bad_date,
         "Fehler beim Import!  2 Datensätze importiert", 3},
        {"Anna,1.1.1990\r\nBernd\r\n", ImportEnd::failed,
         "Fehler beim Import!  1 Datensätze importiert", 0},
        {"Anna,1.1.1990\n\"<background=5>\",1.1.1990\n", ImportEnd::bad_field,
         "Fehler beim Import!  1 Datensätze importiert", 2},
        {"<active=once>,1.1.1990\n", ImportEnd::done, " 1 Datensätze erfolgreich importiert", 0}};
    for (const auto& [csv, end, status, line] : rows) {
        SCOPED_TRACE(csv);
        std::filesystem::remove(file);
        const ImportOutcome outcome = run(csv);
        EXPECT_EQ(end, outcome.end);
        EXPECT_EQ(status, import_status_text(outcome));
        EXPECT_TRUE(line == 0 || line == outcome.line) << outcome.line;
        EXPECT_EQ(outcome.imported, test::count_of(read_bytes(file), "</record>"));
    }
}

// LibreOffice Calc's "Text CSV" exports: comma with a semicolon in a name and a
// blank row; semicolon (the German default) in Windows-1252 with a comma in a name.
// Each entry is counted as it goes; the records end the file without an empty line.
TEST_F(Import, SpreadsheetExportsReadBackOnTheirDays) {
    for (const auto& [sample, status] :
         {std::pair{"libreoffice_comma.csv", " 7 Datensätze erfolgreich importiert"},
          {"libreoffice_semicolon.csv", " 2 Datensätze erfolgreich importiert"}}) {
        const ImportOutcome outcome = run(read_bytes(MERKWALD_TEST_DATA "/" + std::string(sample)));
        EXPECT_EQ(status, import_status_text(outcome)) << sample << import_problem_text(outcome);
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 1, 2}), progress);
    EXPECT_TRUE(
        read_bytes(file).ends_with("Schönfeld hat <days_before_event_text>\r\n</record>\r\n"))
        << "no empty line after the last record";
    const std::pair<const char*, DaySerial> people[] = {
        {"Bernd Kühn", test::day(2027, 1, 31)},       {"Meier, Hans", test::day(2027, 2, 3)},
        {"Clara Vogt", test::day(2027, 3, 1)},        {"Dieter Roth", test::day(2027, 3, 14)},
        {"Schulz; Eva (Oma)", test::day(2027, 8, 8)}, {"Berg, Anna", test::day(2027, 5, 17)},
        {"Jürgen Schönfeld", test::day(2027, 3, 14)}};
    for (const auto& [name, on] : people) {
        const test::Listed listed = test::listed_on(file, on);
        EXPECT_TRUE(listed.messages.empty());
        EXPECT_EQ(1, std::count(listed.texts.begin(), listed.texts.end(),
                                "Geburtstag von " + std::string(name) + " hat heute"))
            << name;
    }
}

// Which files are refused is the file reader's business; here only that the import asks it.
TEST_F(Import, APipeFailsWithoutHanging) {
    ASSERT_EQ(0, ::mkfifo(source.c_str(), 0600));
    EXPECT_EQ(ImportEnd::failed,
              import_birthdays(source, file, ImportFormat::name_date, text, style, kToday).end);
}

// The converter copies every line with CRLF in the input's encoding; colour
// names in their exact spelling become numbers, indentation goes. Any spelling
// of the input as the output is refused: the output would destroy it.
TEST(Converter, CopiesEveryLineConvertedAndNeverOverTheInput) {
    test::TempFolder folder;
    const std::filesystem::path in = folder / "alt.rmd";
    const std::filesystem::path out = folder / "neu.rmd";
    EXPECT_EQ(ConvertCheck::missing_input, check_conversion("alt.rmd", "neu.rmd", in, out));
    const std::string old = latin1(
        "<record>\n\t< COLOR = grün >  \r\n<color=Blue>\r\n<color= 255 >\r\n"
        "<color=blue>\r\n  Größe\tund Weite \r</record>");
    write_bytes(in, old);
    EXPECT_EQ(ConvertCheck::ok, check_conversion("alt.rmd", "neu.rmd", in, out));
    ASSERT_TRUE(convert_file(in, out).ok());
    EXPECT_EQ(latin1("<record>\r\n<color=32768>\r\n<color=0>\r\n<color= 255 >\r\n"
                     "<color=8388608>\r\nGröße und Weite\r\n</record>\r\n"),
              read_bytes(out));
    EXPECT_EQ(ConvertCheck::output_exists, check_conversion("alt.rmd", "neu.rmd", in, out));
    EXPECT_EQ(ConvertCheck::same_file, check_conversion("fehlt", "FEHLT", in, in));
    EXPECT_FALSE(convert_file(in, folder / ".alt.rmd~mw.XyZ123").ok());
    EXPECT_EQ(old, read_bytes(in));
}

}  // namespace
}  // namespace merkwald
