#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "editors/birthday_import.h"
#include "editors/entry_records.h"
#include "editors/field_checks.h"
#include "editors/record_file.h"
#include "editors_test_support.h"
#include "engine/date_text.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

const DaySerial kToday = test::day(2026, 12, 7);

TEST(FieldChecks, NumbersAreWholeAndWithinWhatTheReaderHolds) {
    const struct {
        const char* text;
        bool ok;
    } rows[] = {{"0", true},     {"21", true},     {" 7 ", true},  {"+3", true},
                {"32767", true}, {"40000", false}, {"-1", false},  {"7a", false},
                {"1.5", false},  {"", true},       {"abc", false}, {"3 4", false}};
    for (const auto& row : rows) {
        const auto problem = check_number("Vorlaufzeit (Tage)", row.text, 0, 32767, true);
        EXPECT_EQ(row.ok, !problem.has_value()) << row.text;
        if (problem) {
            EXPECT_EQ("Vorlaufzeit (Tage): erlaubt sind ganze Zahlen von 0 bis 32767.", *problem);
        }
    }
    EXPECT_TRUE(check_number("Periode (Tage)", "", 1, 32767, false).has_value());
}

TEST(FieldChecks, ATypedLineNeverBecomesATag) {
    const struct {
        const char* line;
        bool tag;
    } rows[] = {{"<record>", true},       {"  </RECORD>  ", true},    {"<Date=1.1.2000>", true},
                {"\t<group=x>", true},    {"<active=once>", true},    {"<active=oft>", false},
                {"<priority=2>", false},  {"<priority=99999>", true}, {"<hallo>", false},
                {"Text <record>", false}, {"<add_file=x.rmd>", true}, {"", false}};
    for (const auto& row : rows) EXPECT_EQ(row.tag, reads_as_tag(row.line)) << row.line;
    RecordFields fields;
    fields.mode = RecordMode::yearly;
    fields.lead_time = "40000";
    ASSERT_TRUE(check_record_fields(fields).has_value());
    EXPECT_EQ("Combo2", check_record_fields(fields)->field_name);
    fields.lead_time = "7";
    fields.text = "Erste Zeile\n</record>\nDritte";
    ASSERT_TRUE(check_record_fields(fields).has_value());
    EXPECT_EQ("RTBox1", check_record_fields(fields)->field_name);
    EXPECT_NE(std::string::npos, check_record_fields(fields)->message.find("</record>"));
}

TEST(FieldChecks, DatesHaveFourDigitYearsAndBirthdaysLieInThePast) {
    EXPECT_EQ("25.12.0800", written_date(*make_date(800, 12, 25)));
    EXPECT_EQ("25.12.0800", prepare_date("25.12.0800"));
    const struct {
        const char* typed;
        const char* birthday;  // "" refused
    } rows[] = {{"1.1.25", "01.01.2025"},  {"1.1.29", "01.01.1929"}, {"6.12.26", "06.12.2026"},
                {"8.12.26", "08.12.1926"}, {"1.1.2030", ""},         {"7.12.2026", "07.12.2026"},
                {"31.2.1990", ""}};
    for (const auto& row : rows) {
        const auto date = birthday_date(row.typed, kToday);
        EXPECT_EQ(std::string(row.birthday), date ? written_date(*date) : "") << row.typed;
    }
}

class EntryChecks : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path file = folder / "main.rmd";
    std::vector<TextTemplate> templates{{"a", "", "hat Geburtstag"}};
};

TEST_F(EntryChecks, NothingIsWrittenForAFutureBirthdayABadLeadTimeOrATagName) {
    const struct {
        EntryInput input;
        EntryCheck check;
        const char* problem;
    } rows[] = {{{"Anna", "1.1.2030", 0, {0, 0, "7"}}, EntryCheck::bad_date, "Falsches Datum"},
                {{"Anna", "1.1.1990", 0, {0, 0, "40000"}}, EntryCheck::bad_field, "Vorlaufzeit"}};
    for (const auto& row : rows) {
        const SaveOutcome outcome =
            save_entry(EntryKind::birthday, file, row.input, templates, kToday);
        EXPECT_EQ(row.check, outcome.check) << row.input.name;
        EXPECT_EQ(0u, outcome.problem.find(row.problem)) << outcome.problem;
    }
    const std::vector<TextTemplate> bare{{"b", "", ""}};
    const SaveOutcome tag = save_entry(EntryKind::birthday, file,
                                       {"</record>", "1.1.1990", 0, {0, 0, "7"}}, bare, kToday);
    EXPECT_EQ(EntryCheck::bad_field, tag.check);
    EXPECT_NE(std::string::npos, tag.problem.find("</record>"));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(EntryChecks, ImportFromAPipeOrADeviceFailsWithAMessage) {
    const auto fifo = folder / "pipe.csv";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    for (const std::filesystem::path& source : {fifo, std::filesystem::path("/dev/zero")}) {
        const ImportOutcome outcome = import_birthdays(source, file, ImportFormat::name_date,
                                                       templates[0], {0, 0, "7"}, kToday);
        EXPECT_EQ(ImportEnd::failed, outcome.end);
        EXPECT_NE(std::string::npos, import_problem_text(outcome).find(source.filename().string()));
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    // A pipe as the target: refused with its reason, nothing hangs.
    ASSERT_EQ(0, ::mkfifo(file.c_str(), 0600));
    const SaveOutcome saved = save_entry(EntryKind::birthday, file,
                                         {"Anna", "1.1.1990", 0, {0, 0, "7"}}, templates, kToday);
    EXPECT_FALSE(saved.write.ok);
    EXPECT_NE(std::string::npos, saved.write.message.find("Pipe")) << saved.write.message;
}

}  // namespace
}  // namespace merkwald
