#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <tuple>

#include "editing/birthday_import.h"
#include "editing/entry_records.h"
#include "editing/field_checks.h"
#include "editing/new_file.h"
#include "editing/record_file.h"
#include "editing/templates.h"
#include "editing_test_support.h"
#include "engine/date_text.h"
#include "engine/text_file.h"

namespace merkwald {
namespace {

const DaySerial kToday = test::day(2026, 12, 7);

const std::vector<TextTemplate> kTemplates = {{"Erste", "", "hat Geburtstag"},
                                              {"Zweite", "Geburtstag von", "am <event_d.mmmm>"}};

EntryInput input(std::string name, std::string date, int position = 0, std::int32_t color = 0) {
    return {std::move(name), std::move(date), position, {color, 0, "14"}};
}

class EntrySave : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::filesystem::path file = folder / "main.rmd";
};

// An appointment is a one-time record in the group "termine".
TEST_F(EntrySave, EachSaveAppendsOneRecordWithTwoEmptyLinesBetween) {
    const EntryInput inputs[] = {input("Anna", "5.3.1998"), input("Bernd", "24.12.1960", 1, 255),
                                 input("Zahnarzt", "07.01.2025", -1, 32768)};
    for (int i = 0; i < 3; ++i) {
        const EntryKind kind = i < 2 ? EntryKind::birthday : EntryKind::appointment;
        EXPECT_TRUE(save_entry(kind, file, inputs[i], kTemplates, kToday).write.ok()) << i;
    }
    EXPECT_EQ(
        "\r\n<record>\r\n<date=05.03.1998>\r\n<active_before=14>\r\n<group=geburtstage>\r\n"
        " Anna hat Geburtstag\r\n</record>\r\n\r\n"
        "\r\n<record>\r\n<date=24.12.1960>\r\n<color=255>\r\n<active_before=14>\r\n"
        "<group=geburtstage>\r\nGeburtstag von Bernd am <event_d.mmmm>\r\n</record>\r\n\r\n"
        "\r\n<record>\r\n<date=07.01.2025>\r\n<color=32768>\r\n<active_before=14>\r\n"
        "<group=termine>\r\n<active=once>\r\n Zahnarzt hat Geburtstag\r\n</record>\r\n\r\n",
        read_bytes(file));
    const test::Listed listed = test::listed_on(file, test::day(2027, 3, 5));
    EXPECT_EQ(std::vector<std::string>{"Anna hat Geburtstag"}, listed.texts);
    EXPECT_TRUE(listed.messages.empty());
}

TEST_F(EntrySave, ChecksComeBeforeAnyWriting) {
    using C = EntryCheck;
    const std::vector<TextTemplate> bare{{"b", "", ""}};  // the name alone is the text line
    const std::tuple<const char*, const char*, const char*, EntryCheck, const char*> rows[] = {
        {"   ", "1.1.2000", "7", C::no_name, ""},
        {"Anna", "1.1.2030", "7", C::bad_date, "Falsches Datum"},
        {"Anna", "1.1.1990", "40000", C::bad_field, "Vorlaufzeit"},
        {"</record>", "1.1.1990", "7", C::bad_field, "</record>"},
        // Also a tag the record editor keeps as text.
        {"<priority=2> Anna", "1.1.1990", "7", C::bad_field, "<priority=2> Anna"}};
    for (const auto& [name, date, lead, check, problem] : rows) {
        const SaveOutcome outcome =
            save_entry(EntryKind::birthday, file, {name, date, 0, {0, 0, lead}}, bare, kToday);
        EXPECT_EQ(check, outcome.check) << name << "|" << date;
        EXPECT_NE(std::string::npos, outcome.problem.find(problem))
            << name << "|" << outcome.problem;
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

// Which files are refused is the file reader's business; here only that the import asks it.
TEST_F(EntrySave, ImportFromAPipeFailsWithoutHanging) {
    const auto fifo = folder / "pipe.csv";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    const ImportOutcome outcome =
        import_birthdays(fifo, file, ImportFormat::name_date, kTemplates[0], {0, 0, "7"}, kToday);
    EXPECT_EQ(ImportEnd::failed, outcome.end);
}

// Whatever an import or a dialog hands over, each line is written as one line
// and no control character but the tab gets into the file.
TEST_F(EntrySave, ControlCharactersOfNewLinesAreWrittenAsBlanks) {
    ASSERT_TRUE(append_lines(file, {"<group=a\x02"
                                    "b>",
                                    "eins\nzwei\rdrei", "\x1b[31m\trot\x7f"})
                    .ok());
    const auto text = read_text_file(file);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->text, "<group=a b>\r\neins zwei drei\r\n [31m\trot \r\n");
}

TEST(EntryLines, LineBreakInANameStaysOnOneTextLine) {
    EXPECT_EQ("vor Anna Berta nach", template_line({"c", "vor", "nach"}, "Anna\r\nBerta"));
}

TEST(EntryPresets, PositionsTheListDoesNotHaveSelectTheFirst) {
    Settings settings;
    const std::tuple<std::optional<std::int32_t>, int, int> rows[] = {
        {std::nullopt, 8, 0}, {3, 8, 3}, {8, 8, 0}, {-7, 8, 0}, {std::nullopt, 0, -1}};
    for (const auto& [stored, count, position] : rows) {
        settings.selected_text = stored;
        EXPECT_EQ(position, entry_presets(settings, EntryKind::birthday, count).template_position)
            << stored.value_or(-99) << " of " << count;
    }
}

TEST(FieldChecks, NumbersAreWholeAndWithinWhatTheReaderHolds) {
    const std::pair<const char*, bool> rows[] = {{"0", true},   {" 7 ", true},    {"32767", true},
                                                 {"", true},    {"32768", false}, {"-1", false},
                                                 {"7a", false}, {"3 4", false}};
    for (const auto& [text, ok] : rows) {
        EXPECT_EQ(
            ok, !check_number({.label = "Vorlaufzeit (Tage)", .text = text, .empty_allowed = true}))
            << text;
    }
    EXPECT_TRUE(check_number({.label = "Periode (Tage)", .text = "", .low = 1}).has_value());
}

TEST(FieldChecks, ATypedLineNeverBecomesATag) {
    const std::pair<const char*, bool> rows[] = {
        {"  </RECORD>  ", true},  {"<Date=1.1.2000>", true},
        {"<active=once>", true},  {"<active=oft>", false},
        {"<priority=2>", false},  {"<priority=99999>", true},
        {"Text <record>", false}, {"<hallo>", false},
        {"\x01</record>", true}};  // written with a blank for the control character
    for (const auto& [line, tag] : rows) EXPECT_EQ(tag, reads_as_tag(line)) << line;
    // An entry's text line is refused for any tag the reader knows.
    const std::pair<const char*, bool> entry_rows[] = {{"<priority=2>", true},
                                                       {" < BACKGROUND = 1 > ", true},
                                                       {"<active_after=3>", true},
                                                       {"<hallo=1>", false},
                                                       {"Anna <priority=2>", false}};
    for (const auto& [line, tag] : entry_rows) EXPECT_EQ(tag, reads_as_any_tag(line)) << line;
}

TEST(FieldChecks, DatesHaveFourDigitYearsAndBirthdaysLieInThePast) {
    EXPECT_EQ("25.12.0800", written_date(*make_date(800, 12, 25)));
    EXPECT_EQ("25.12.0800", prepare_date("25.12.0800"));
    const std::pair<const char*, const char*> rows[] = {
        // "": refused
        {"1.1.25", "01.01.2025"},    {"1.1.29", "01.01.1929"}, {"8.12.26", "08.12.1926"},
        {"7.12.2026", "07.12.2026"}, {"1.1.2030", ""},         {"31.2.1990", ""}};
    for (const auto& [typed, birthday] : rows) {
        const auto date = birthday_date(typed, kToday);
        EXPECT_EQ(std::string(birthday), date ? written_date(*date) : "") << typed;
    }
}

TEST(NewFile, NameGetsItsExtensionAndFolder) {
    const std::pair<const char*, const char*> rows[] = {{"neu", "/prog/neu.rmd"},
                                                        {"neu.RMD", "/prog/neu.RMD.rmd"},
                                                        {"/home/anna/neu", "/home/anna/neu.rmd"}};
    for (const auto& [typed, path] : rows) {
        EXPECT_EQ(std::filesystem::path(path), new_file_path(typed, "/prog")) << typed;
    }
}

// Without linked files the file is emptied.
TEST(NewFile, LinkedFilesLeadTheFileAndTheList) {
    test::TempFolder folder;
    const std::filesystem::path file = folder / "neu.rmd";
    const NewFileOutcome outcome = create_new_file(file, {"geb.rmd", "/daten/termine.rmd"});
    ASSERT_TRUE(outcome.write.ok());
    EXPECT_EQ("<add_file=geb.rmd>\r\n<add_file=/daten/termine.rmd>\r\n", read_bytes(file));
    EXPECT_EQ((std::vector<std::string>{file.string(), "geb.rmd", "/daten/termine.rmd"}),
              outcome.file_list);
    ASSERT_TRUE(create_new_file(file, {}).write.ok());
    EXPECT_EQ("", read_bytes(file));
    EXPECT_FALSE(create_new_file(folder / "fehlt" / "neu.rmd", {"a.rmd"}).write.ok());
}

std::string blocks(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        text += "*\r\nCaption " + n + "\r\nvor " + n + "\r\nnach " + n + "\r\n";
    }
    return text;
}

TEST(Templates, BlockCount) {
    const std::tuple<const char*, std::string, std::size_t> rows[] = {
        {"30 blocks offer 25", blocks(30), 25},
        {"third block starts with another line", blocks(2) + "x\r\nC\r\nv\r\nn\r\n" + blocks(1), 2},
        {"marker with blanks and LF endings", "  *  \nC\nv\nn\n", 1},
    };
    for (const auto& [what, text, count] : rows)
        EXPECT_EQ(count, parse_templates(text).size()) << what;
}

}  // namespace
}  // namespace merkwald
