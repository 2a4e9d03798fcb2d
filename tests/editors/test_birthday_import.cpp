#include <gtest/gtest.h>

#include <string>

#include "editors/birthday_import.h"
#include "editors_test_support.h"
#include "engine/text_file.h"

namespace merkwald {
namespace {

using test::read_bytes;
using test::write_bytes;

TEST(CsvFields, FieldSyntax) {
    struct Row {
        const char* text;
        std::vector<std::string> fields;
    };
    const Row rows[] = {
        {"Anna,1.1.1990", {"Anna", "1.1.1990"}},
        {"  Anna Maria \t, \t1.1.1990  ", {"Anna Maria", "1.1.1990"}},
        {"\"Müller, Anna\",1.1.1990", {"Müller, Anna", "1.1.1990"}},
        {" \" Anna \" , 2.2.1990", {" Anna ", "2.2.1990"}},
        {"\"Anna \"\"Anni\"\" B\",3.3.1990", {"Anna \"Anni\" B", "3.3.1990"}},
        {"\"offen, bis zum Ende", {"offen, bis zum Ende"}},
        {"Anna,1.1.1990,", {"Anna", "1.1.1990", ""}},
        {"Anna\r\n\r\n   \r\n1.1.1990\n", {"Anna", "1.1.1990"}},
        {"a,b\rc,d", {"a", "b", "c", "d"}},
        {"", {}},
    };
    for (const Row& row : rows) EXPECT_EQ(row.fields, csv_fields(row.text)) << row.text;
}

class Import : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::filesystem::path source = folder / "geb.csv";
    std::filesystem::path target = folder / "main.rmd";
    TextTemplate text{"c", "Geburtstag von", "hat <days_before_event_text>"};
    RecordStyle style{0, 0, "7"};
    std::vector<int> progress;

    ImportOutcome run(const std::string& csv, ImportFormat format = ImportFormat::name_date) {
        write_bytes(source, csv);
        return import_birthdays(source, target, format, text, style,
                                [this](int n) { progress.push_back(n); });
    }
};

TEST_F(Import, ThreeLinesAppendThreeRecordsWithoutTrailingEmptyLine) {
    style.color = 255;
    const ImportOutcome outcome =
        run("Anna, 5.3.1998\r\n\"Berg, Bernd\",24.12.60\r\nCarl,1.1.2000\r\n");
    EXPECT_EQ(ImportEnd::done, outcome.end);
    EXPECT_EQ(3, outcome.imported);
    EXPECT_EQ(" 3 Datensätze erfolgreich importiert", import_status_text(outcome));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), progress);
    const std::string bytes = read_bytes(target);
    const std::string first =
        "\r\n<record>\r\n<date=5.3.1998>\r\n<color=255>\r\n<active_before=7>\r\n"
        "<group=geburtstage>\r\nGeburtstag von Anna hat <days_before_event_text>\r\n</record>\r\n";
    EXPECT_EQ(first, bytes.substr(0, first.size()));
    EXPECT_NE(std::string::npos, bytes.find("<date=24.12.60>\r\n"));
    EXPECT_NE(std::string::npos, bytes.find("Geburtstag von Berg, Bernd hat"));
    EXPECT_TRUE(bytes.ends_with("Carl hat <days_before_event_text>\r\n</record>\r\n"));
}

TEST_F(Import, BadDateInTheThirdOfFiveKeepsTheFirstTwo) {
    const ImportOutcome outcome =
        run("A,1.1.1990\r\nB,2.2.1990\r\nC,30.2.1990\r\nD,4.4.1990\r\nE,5.5.1990\r\n");
    EXPECT_EQ(ImportEnd::bad_date, outcome.end);
    EXPECT_EQ(3, outcome.entries);
    EXPECT_EQ(2, outcome.imported);
    EXPECT_EQ("Fehler beim Import!  2 Datensätze importiert", import_status_text(outcome));
    const std::string bytes = read_bytes(target);
    EXPECT_NE(std::string::npos, bytes.find("von B hat"));
    EXPECT_EQ(std::string::npos, bytes.find("von C hat"));
    EXPECT_EQ(std::string::npos, bytes.find("von D hat"));
}

TEST_F(Import, TwoNamesJoinedByBlanks) {
    ASSERT_EQ(ImportEnd::done, run("Anna, Berg, 1.1.1990\r\n", ImportFormat::two_names_date).end);
    EXPECT_NE(std::string::npos,
              read_bytes(target).find("\r\nGeburtstag von Anna Berg hat <days_before"));
}

TEST_F(Import, TwoFieldFileReadAsThreeFieldsStopsAtTheFirstBadDate) {
    const ImportOutcome outcome =
        run("Anna,1.1.1990\r\nBernd,2.2.1990\r\n", ImportFormat::two_names_date);
    EXPECT_EQ(ImportEnd::bad_date, outcome.end);
    EXPECT_EQ(0, outcome.imported);
    EXPECT_FALSE(test::exists(target));
}

TEST_F(Import, EmptyFileImportsNothing) {
    const ImportOutcome outcome = run("");
    EXPECT_EQ(ImportEnd::done, outcome.end);
    EXPECT_EQ(" 0 Datensätze erfolgreich importiert", import_status_text(outcome));
    EXPECT_FALSE(test::exists(target));
}

TEST_F(Import, FileEndingInsideAnEntryKeepsTheEntriesBefore) {
    const ImportOutcome outcome = run("Anna,1.1.1990\r\nBernd\r\n");
    EXPECT_EQ(ImportEnd::failed, outcome.end);
    EXPECT_EQ(1, outcome.imported);
    EXPECT_NE(std::string::npos, read_bytes(target).find("von Anna hat"));
}

TEST_F(Import, MissingImportFileLeavesTheTargetAlone) {
    write_bytes(target, "alt\r\n");
    const ImportOutcome outcome =
        import_birthdays(folder / "fehlt.csv", target, ImportFormat::name_date, text, style);
    EXPECT_EQ(ImportEnd::failed, outcome.end);
    EXPECT_EQ("Fehler beim Import!  0 Datensätze importiert", import_status_text(outcome));
    EXPECT_EQ("alt\r\n", read_bytes(target));
}

TEST_F(Import, Windows1252SourceAndTarget) {
    write_bytes(target, *utf8_to_windows1252("Größe\r\n"));
    ASSERT_EQ(ImportEnd::done, run(*utf8_to_windows1252("Jürgen,1.1.1990\r\n")).end);
    const std::string bytes = read_bytes(target);
    EXPECT_FALSE(is_valid_utf8(bytes));
    EXPECT_NE(std::string::npos, bytes.find(*utf8_to_windows1252("von Jürgen hat")));
}

TEST(ImportTexts, Progress) {
    EXPECT_EQ("Importiere Datensatz  4", import_progress_text(4));
}

}  // namespace
}  // namespace merkwald
