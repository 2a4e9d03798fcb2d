#include <tuple>

#include "engine/name_days.h"
#include "engine/reader.h"
#include "engine/refresh.h"
#include "engine/text.h"
#include "engine_test_support.h"

namespace merkwald::test {
namespace {

const std::filesystem::path kShippedTable =
    std::filesystem::path(MERKWALD_SOURCE_DIR) / "data" / std::string(kNameDayFileName);

std::string birthday(const std::string& date, const std::string& text) {
    return "<record>\r\n<date=" + date + ">\r\n<active_before=14>\r\n<group=geburtstage>\r\n" +
           text + "\r\n</record>\r\n";
}

class NameDaysInTheList : public TempFolderTest {
protected:
    // The lines of group "Namenstage" after a refresh of `file_text` on `today`.
    std::vector<std::string> name_day_lines(const std::string& file_text, const char* today,
                                            NameDayChoice choice, bool groups = true) {
        const auto file = write("daten.rmd", file_text);
        EngineSettings settings;
        settings.groups = groups;
        settings.record_color = 4242;
        EngineState state(settings, d(today), folder_);
        RefreshTables tables;
        tables.capture = RefreshTables::Capture::also;
        refresh(state, tables, file.string(), sink_);
        const std::size_t typed = tables.lines.size();
        add_name_days(state, tables, table_, choice, sink_);
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < tables.lines.size(); ++i) {
            const LineEntry& line = tables.lines[i];
            if (i >= typed) {
                EXPECT_EQ(line.color, 4242u);
                EXPECT_EQ(line.group, groups ? "Namenstage" : "");
            }
            if (equals_ignore_case(line.group, "Namenstage") || i >= typed)
                lines.push_back(line.text);
        }
        sound_ = state.sound_mark;
        return lines;
    }

    NameDayTable table_ = read_name_day_table(kShippedTable).value().table;
    RecordingSink sink_;
    bool sound_ = false;
};

TEST(NameDayTable, ShippedFileHasEveryDayOnceAndTheExampleFilesDays) {
    const auto parse = read_name_day_table(kShippedTable);
    ASSERT_TRUE(parse.has_value());
    // A day twice would be a problem: 366 days of a leap year are every day once.
    EXPECT_TRUE(parse->problems.empty()) << parse->problems.front().text;
    for (const NameDay& day : parse->table.days())
        EXPECT_TRUE(make_date(2000, day.month, day.day).has_value());
    EXPECT_EQ(parse->table.days().size(), 366u);
    // The typed records of the example file must hide the shipped ones.
    const NameDayTable& table = parse->table;
    for (const auto& [name, month, day] :
         {std::tuple{"Josef", 3, 19}, {"Hans", 6, 24}, {"nikolaus", 12, 6}, {"Kassian", 2, 29}}) {
        const NameDay* found = table.find(name) ? &table.days()[table.find(name)->day] : nullptr;
        EXPECT_TRUE(found && found->month == month && found->day == day) << name;
    }
    EXPECT_FALSE(table.find("Kevin").has_value());
}

TEST(NameDayTable, FaultyLinesAreLeftOutAndNamed) {
    // The shipped table holds the good forms; the line, then the start of its problem.
    const std::pair<const char*, std::string> rows[] = {
        {"24.06.", "keine Namen"},
        {"24.06. Johannes (Hans", "keine Namen oder eine offene Klammer"},
        {"24.06. Johannes (Hans) Jan", "kein gültiger Name"}};
    for (const auto& [line, problem] : rows) {
        SCOPED_TRACE(line);
        const NameDayParse parse = parse_name_day_table(std::string("# Tabelle\r\n\r\n") + line);
        ASSERT_EQ(parse.problems.size(), 1u);
        EXPECT_EQ(parse.problems[0].line, 3);
        EXPECT_TRUE(parse.problems[0].text.starts_with(problem)) << parse.problems[0].text;
        EXPECT_TRUE(parse.table.days().empty());
    }
    // A day or a name twice: the first stays.
    const NameDayParse parse = parse_name_day_table(
        "\xEF\xBB\xBF"
        "24.06. Johannes (Hans)\n24.06. Elisabeth\n27.12. Hans\n");
    ASSERT_EQ(parse.problems.size(), 2u);
    EXPECT_EQ(parse.problems[0].line, 2);
    EXPECT_EQ(parse.problems[0].text, "der Tag 24.06. steht schon weiter oben");
    EXPECT_EQ(parse.problems[1].line, 3);
    EXPECT_EQ(parse.problems[1].text, "der Name Hans steht schon an einem anderen Tag");
    EXPECT_EQ(parse.table.days().size(), 1u);
    EXPECT_FALSE(parse.table.find("Elisabeth").has_value());
}

TEST(NameDayNames, FirstNameOfABirthdayText) {
    const std::pair<const char*, const char*> rows[] = {
        {"Erika Mustermann hat <days_before_event_text> Geburtstag\r\n", "Erika"},
        {"Oma Hildegard hat <days_before_event_text> am <event_d.mmmm>", "Hildegard"},
        {"<days_before_event_text_first> hat\r\nAnna Weber\r\nGeburtstag", "Anna"},
        {"Karte an „Paul“ schicken", "Paul"},
        {"Dr. Jürgen Meier wird <years_after_date>", "Jürgen"},
        {"50. Geburtstag von Hans-Peter!", "Hans-Peter"},
        {"hat <days_before_event_text> Geburtstag", ""}};
    for (const auto& [text, name] : rows) EXPECT_EQ(first_name_of(text), name) << text;
}

TEST_F(NameDaysInTheList, ANameOfTheTableInABirthdayShowsOnItsDayAndAWeekAheadOnly) {
    const std::string file = birthday("03.05.1970", "Hans Müller hat Geburtstag") +
                             birthday("09.09.1980", "Kevin Schulz hat Geburtstag");
    EXPECT_EQ(name_day_lines(file, "24.06.2024", NameDayChoice::own_people),
              std::vector<std::string>{"Hans hat heute Namenstag (Mo, 24. 06.)\r\n"});
    EXPECT_TRUE(sound_);
    EXPECT_TRUE(name_day_lines(file, "16.06.2024", NameDayChoice::own_people).empty())
        << "eight days ahead";
    // With groups off the line stands ungrouped.
    EXPECT_EQ(name_day_lines(file, "24.06.2024", NameDayChoice::own_people, false).size(), 1u);
    EXPECT_TRUE(sink_.shown.empty());
}

TEST_F(NameDaysInTheList, ATypedRecordForTheSameNameAndDayHidesTheShippedOne) {
    const std::string people =
        birthday("03.05.1970", "Hans Müller") + birthday("04.04.1975", "Johannes Kurz");
    // "Johannes" on its day hides "Hans" too: both are the table's Johannes.
    EXPECT_EQ(name_day_lines(people + "<record>\r\n<date=24.06.2000>\r\n<group=namenstage>\r\n" +
                                 name_day_text("Johannes") + "</record>\r\n",
                             "24.06.2024", NameDayChoice::all),
              std::vector<std::string>{"Johannes hat heute Namenstag (Mo, 24. 06.)\r\n"});
}

// 29 February falls on 1 March in a common year, like a birthday.
TEST_F(NameDaysInTheList, ALeapDaysNamesShowOnTheFirstOfMarchInACommonYear) {
    EXPECT_EQ(name_day_lines("", "01.03.2023", NameDayChoice::all),
              (std::vector<std::string>{"Kassian hat heute Namenstag (Mi, 01. 03.)\r\n",
                                        "Albin hat heute Namenstag (Mi, 01. 03.)\r\n"}));
    EXPECT_FALSE(sound_);
}

}  // namespace
}  // namespace merkwald::test
