#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "editing/record_fields.h"
#include "editing/record_rows.h"
#include "editing/reminder_document.h"
#include "editing_test_support.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

const std::vector<std::string> kGroups = {"Geburtstage", "Namenstage", "Termine", "Sonstiges"};
constexpr std::int32_t kDefaultColor = 0;

// Loads the one record of `file_text` (lines separated by CRLF) into fresh
// fields with the lead-time preset "21", then writes it back.
struct RoundTrip {
    RecordFields fields;
    std::string written;
};

RoundTrip round_trip(const std::string& file_text) {
    const ReminderDocument doc = parse_document(file_text);
    long long start = 0, end = 0;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        if (doc.lines[i].text == "<record>") start = static_cast<long long>(i) + 1;
        if (doc.lines[i].text == "</record>") end = static_cast<long long>(i) + 1;
    }
    RecordFields fields = initial_fields("21", std::nullopt, kGroups, kDefaultColor);
    RememberedTexts memory;
    load_record_lines(doc, {start, end}, kGroups, kDefaultColor, fields, memory);
    RoundTrip result{fields, ""};
    for (const std::string& line : write_record(fields, prepare_date(fields.date), kDefaultColor)) {
        result.written += line + "\n";
    }
    return result;
}

TEST(RecordFields, LoadAndWriteFollowTheEditorsRules) {
    struct Case {
        const char* name;
        std::string file;
        RecordMode mode;
        std::string written;
    };
    auto lf = [](const std::string& body) { return record(body, "\n"); };
    const Case cases[] = {
        {"yearly without active_before gets the preset", record("<date=14.05.1968>|Geburtstag"),
         RecordMode::yearly, lf("<date=14.05.1968>|<active_before=21>|Geburtstag")},
        {"once before the date line opens as jährlich",
         record("<active=once>|<date=1.2.99>|<active_before=3>|X"), RecordMode::yearly,
         lf("<date=01.02.1999>|<active_before=3>|X")},
        {"monthly nth weekday keeps its order",
         record("<active=monthly>|<active_day=friday>|<active_week=3>|<active_before=2>|M"),
         RecordMode::monthly,
         lf("<active=monthly>|<active_day=friday>|<active_week=3>|<active_before=2>|M")},
        {"unknown group is dropped, known group takes the table's spelling",
         record("<date=01.01.1999>|<group=VEREIN>|<group=TERMINE>|G"), RecordMode::yearly,
         lf("<date=01.01.1999>|<active_before=21>|<group=Termine>|G")},
        {"priority survives behind the group line, indentation goes",
         record("<priority=2>|<date=01.01.1999>|<group=termine>|\t  eingerückt  "),
         RecordMode::yearly,
         lf("<date=01.01.1999>|<active_before=21>|<group=Termine>|<priority=2>|eingerückt")},
        {"an empty line after <record> and after text stays a text line",
         record("|<date=01.01.1999>|A||B"), RecordMode::yearly,
         lf("<date=01.01.1999>|<active_before=21>||A||B")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RoundTrip result = round_trip(c.file);
        EXPECT_EQ(c.mode, result.fields.mode);
        EXPECT_EQ(c.written, result.written);
    }
}

class RecordRows : public ::testing::Test {
protected:
    TempFolder folder;
    test::RecordingSink sink;
    EngineState engine{EngineSettings{}, test::day(1999, 3, 5)};
};

TEST_F(RecordRows, RowsShowWhatTheRecordsSay) {
    write_bytes(folder / "f.rmd",
                record("<active=monthly>|<active_day=3>|Monat") +
                    record("<date=1.1.99>|<active=periodic>|<periodic_repeat=14>|P") +
                    record("<date=7.3.1970>|<group=verein>|<color=255>|<active_before=7>|N hat "
                           "<days_before_event_text> am <event_d.mmmm> <years_after_date>. "
                           "Geburtstag") +
                    record("<date=01.02.2000>|<group=TERMINE>|eins|zwei|drei"));
    const FilledRows filled = fill_rows(folder / "f.rmd", engine, sink);
    ASSERT_TRUE(filled.ok);
    // frequency, shown date, group, colour, lead time, text lines, preview
    std::vector<std::string> shown;
    for (const ListRow& r : filled.rows) {
        shown.push_back(r.frequency + "|" + r.date_shown + "|" + r.group + "|" +
                        std::to_string(r.color) + "|" + r.lead_time + "|" +
                        std::to_string(r.text_lines) + "|" + r.preview);
    }
    EXPECT_EQ((std::vector<std::string>{
                  "monatlich|||0||1|Monat", "p(14)|01.01.1999||0||1|P",
                  "jährlich|07.03.1970||255|7|1|N hat in 2 Tagen am 7. März 29. Geburtstag",
                  "jährlich|01.02.2000|Termine|0||3|eins\r\nzwei\r\ndrei"}),
              shown);
    EXPECT_FALSE(fill_rows(folder / "fehlt.rmd", engine, sink).ok);
    EXPECT_EQ("Datei nicht gefunden", sink.shown.at(0).text);
}

// The editors find records by the reader's tags; a record's lines are its own,
// so one without a `<record>` line starts after the previous record's end.
TEST(RecordBounds, FollowTheReadersTagsAndNeverOverlap) {
    const ReminderDocument doc = parse_document(
        "<add_file=x.rmd>\r\n\r\n\t< RECORD >\r\n<date=01.01.1990>\r\n</Record >\r\n"
        "<record>\r\n<record>\r\nText\r\n</record>\r\nLose\n</record>\r<record>\r\n"
        "<date=1.1.2000>");
    EXPECT_EQ(record_bounds(doc), (std::vector<RecordBounds>{{3, 5}, {7, 9}, {9, 11}}))
        << "a second <record> replaces the start; an unended record is none";
    EXPECT_EQ(first_line_of(doc, {3, 5}), 3);
    EXPECT_EQ(first_line_of(doc, {9, 11}), 10);
    EXPECT_EQ(record_content(doc, {9, 11}), "Lose\n</record>\n");
}

std::vector<int> order(const std::vector<ListRow>& rows) {
    std::vector<int> numbers;
    for (const ListRow& row : rows) numbers.push_back(row.record);
    return numbers;
}

// Colours compare as numbers; an invalid date counts as 30.12.1899.
TEST(RecordSort, Columns) {
    std::vector<ListRow> rows(5);
    const char* const dates[] = {"15.04.1990", "20.03.2005", "kein Datum", "01.03.1999",
                                 "20.03.1980"};
    const std::int32_t colors[] = {65280, 255, 16711680, 0, 0};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].record = static_cast<int>(i) + 1;
        rows[i].date = dates[i];
        rows[i].color = colors[i];
    }
    const std::tuple<int, DateOrder, bool, std::vector<int>> cases[] = {
        {2, DateOrder::year, false, {3, 5, 1, 4, 2}},
        {2, DateOrder::month, false, {4, 5, 2, 1, 3}},
        {2, DateOrder::year, true, {2, 4, 1, 5, 3}},
        {3, DateOrder::year, false, {4, 5, 2, 1, 3}}};
    for (const auto& [column, date_order, descending, expected] : cases) {
        std::vector<ListRow> sorted = rows;
        sort_rows(sorted, column, date_order, descending);
        EXPECT_EQ(expected, order(sorted))
            << "column " << column << ", by " << (date_order == DateOrder::year ? "year" : "month")
            << (descending ? ", descending" : "");
    }
}

}  // namespace
}  // namespace merkwald
