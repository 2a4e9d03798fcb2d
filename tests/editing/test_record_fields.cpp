#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "editing/record_fields.h"
#include "editing/record_rows.h"
#include "editing/reminder_document.h"
#include "editing_test_support.h"

namespace merkwald {
namespace {

const std::vector<std::string> kGroups = {"Geburtstage", "Namenstage", "Termine", "Sonstiges"};

// Loads the first record of `file_text` into fresh fields with the lead-time
// preset "21", then writes it back, lines ended by "\n".
std::string load_and_write(const std::string& file_text) {
    const ReminderDocument doc = parse_document(file_text);
    RecordFields fields = initial_fields("21", std::nullopt, kGroups, 0);
    RememberedTexts memory;
    load_record_lines(doc, record_bounds(doc).at(0), kGroups, 0, fields, memory);
    std::string written;
    for (const std::string& line : write_record(fields, prepare_date(fields.date), 0)) {
        written += line + "\n";
    }
    return written;
}

TEST(RecordFields, LoadAndWriteFollowTheEditorsRules) {
    auto lf = [](const std::string& body) { return record(body, "\n"); };
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"yearly without active_before gets the preset", record("<date=14.05.1968>|Geburtstag"),
         lf("<date=14.05.1968>|<active_before=21>|Geburtstag")},
        {"once before the date line opens as jährlich",
         record("<active=once>|<date=1.2.99>|<active_before=3>|X"),
         lf("<date=01.02.1999>|<active_before=3>|X")},
        {"monthly nth weekday keeps its order",
         record("<active=monthly>|<active_day=friday>|<active_week=3>|<active_before=2>|M"),
         lf("<active=monthly>|<active_day=friday>|<active_week=3>|<active_before=2>|M")},
        {"unknown group is dropped, known group takes the table's spelling",
         record("<date=01.01.1999>|<group=VEREIN>|<group=TERMINE>|G"),
         lf("<date=01.01.1999>|<active_before=21>|<group=Termine>|G")},
        {"priority survives behind the group line, indentation goes",
         record("<priority=2>|<date=01.01.1999>|<group=termine>|\t  eingerückt  "),
         lf("<date=01.01.1999>|<active_before=21>|<group=Termine>|<priority=2>|eingerückt")},
        {"an empty line after <record> and after text stays a text line",
         record("|<date=01.01.1999>|A||B"), lf("<date=01.01.1999>|<active_before=21>||A||B")},
    };
    for (const auto& [name, file, written] : cases)
        EXPECT_EQ(written, load_and_write(file)) << name;
}

// The rows show what the records say; sorted, colours compare as numbers and
// a missing date counts as 30.12.1899.
TEST(RecordRows, RowsShowWhatTheRecordsSayAndSortByTheirColumns) {
    test::TempFolder folder;
    test::RecordingSink sink;
    EngineState engine{EngineSettings{}, test::day(1999, 3, 5)};
    write_bytes(folder / "f.rmd",
                record("<active=monthly>|<active_day=3>|<color=65280>|Monat") +
                    record("<date=1.1.99>|<active=periodic>|<periodic_repeat=14>|P") +
                    record("<date=7.3.1970>|<group=verein>|<color=255>|<active_before=7>|N hat "
                           "<days_before_event_text> am <event_d.mmmm> <years_after_date>. "
                           "Geburtstag") +
                    record("<date=01.02.2000>|<group=TERMINE>|<color=16711680>|eins|zwei|drei"));
    const FilledRows filled = fill_rows(folder / "f.rmd", engine, sink);
    // frequency, shown date, group, colour, lead time, text lines, preview
    std::vector<std::string> shown;
    for (const ListRow& r : filled.rows) {
        shown.push_back(r.frequency + "|" + r.date_shown + "|" + r.group + "|" +
                        std::to_string(r.color) + "|" + r.lead_time + "|" +
                        std::to_string(r.text_lines) + "|" + r.preview);
    }
    EXPECT_EQ((std::vector<std::string>{
                  "monatlich|||65280||1|Monat", "p(14)|01.01.1999||0||1|P",
                  "jährlich|07.03.1970||255|7|1|N hat in 2 Tagen am 7. März 29. Geburtstag",
                  "jährlich|01.02.2000|Termine|16711680||3|eins\r\nzwei\r\ndrei"}),
              shown);
    const std::tuple<int, DateOrder, bool, std::vector<int>> sortings[] = {
        {2, DateOrder::year, false, {1, 3, 2, 4}},
        {2, DateOrder::month, false, {2, 4, 3, 1}},
        {2, DateOrder::year, true, {4, 2, 3, 1}},
        {3, DateOrder::year, false, {2, 3, 1, 4}}};
    for (const auto& [column, date_order, descending, expected] : sortings) {
        std::vector<ListRow> sorted = filled.rows;
        sort_rows(sorted, column, date_order, descending);
        std::vector<int> order;
        for (const ListRow& row : sorted) order.push_back(row.record);
        EXPECT_EQ(expected, order) << "column " << column << ", by " << int(date_order)
                                   << (descending ? ", descending" : "");
    }
    EXPECT_FALSE(fill_rows(folder / "fehlt.rmd", engine, sink).ok);
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
    EXPECT_EQ(first_line_of(doc, {9, 11}), 10);
    EXPECT_EQ(record_content(doc, {9, 11}), "Lose\n</record>\n");
}

}  // namespace
}  // namespace merkwald
