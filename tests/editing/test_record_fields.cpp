#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "editing/field_checks.h"
#include "editing/record_fields.h"
#include "editing/record_file.h"
#include "editing/record_rows.h"
#include "editing/reminder_document.h"
#include "editing_test_support.h"
#include "engine/date_text.h"

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
    for (const auto& [name, file, written] : cases) {
        EXPECT_EQ(written, load_and_write(file)) << name;
    }
}

// Random records as the editor writes them: each loads back with the same
// fields, and the reader reads the file without a single message.
TEST(RecordFields, EditorRecordsReadBackWithTheSameFields) {
    std::mt19937 random{20261207};
    const auto between = [&random](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    // Placeholders only whole: a stray "<" is a syntax error of the text.
    const char* const words[] = {
        "Anna",           "Größe",       "x=y", "€uro",       "ß",    "<event_dd>",
        "Zeile\u00A0mit", "\"zitiert\"", "1,5", "<dd>.<mm>.", "Ĳssel"};
    // A line as a user may type it: never one that reads as a tag.
    const auto text_line = [&] {
        if (between(0, 9) == 0) return "<priority=" + std::to_string(between(1, 9)) + ">";
        std::string line = words[between(0, std::size(words) - 1)];
        for (int n = between(0, 3); n > 0; --n) {
            line += ' ';  // not `" " + word`: GCC 12 at -O3 misreports that (-Wrestrict)
            line += words[between(0, std::size(words) - 1)];
        }
        return line;
    };
    test::TempFolder folder;
    test::RecordingSink sink;
    EditingState state;
    state.current_file = folder / "editor.rmd";
    for (int i = 0; i < 200; ++i) {
        RecordFields written;
        const RecordMode mode = static_cast<RecordMode>(between(0, 4));
        const int year = between(0, 1) == 0 ? between(100, 999) : between(1000, 2025);
        written.mode = mode;
        written.date = mode == RecordMode::always && between(0, 1) == 0
                           ? ""
                           : written_date(*make_date(year, between(1, 12), between(1, 28)));
        written.lead_time = mode == RecordMode::always ? "" : std::to_string(between(0, 32767));
        written.period = mode == RecordMode::periodic ? std::to_string(between(1, 32767)) : "";
        written.ordinal = mode == RecordMode::monthly ? std::to_string(between(1, 31)) : "";
        written.day_selector = mode == RecordMode::monthly ? between(0, 7) : kNoDay;
        written.group = between(0, 4) == 0 ? "keine" : kGroups[std::size_t(between(0, 3))];
        written.color = static_cast<std::int32_t>(random());
        written.text = text_line();
        for (int n = between(0, 2); n > 0; --n) {
            written.text += '\n';  // appended apart, as in text_line
            written.text += text_line();
        }
        ASSERT_FALSE(check_record_fields(written)) << check_record_fields(written)->message;
        ASSERT_TRUE(append_record(state, written, 0, sink).ok());
        state.current_record = state.record_count();
        RecordFields read = initial_fields("21", std::nullopt, kGroups, 0);
        RememberedTexts memory;
        ASSERT_TRUE(load_record(state, {kGroups, 0}, read, memory, sink));
        // A monthly record's date waits in the remembered texts; what a mode
        // does not use is not read back.
        if (mode == RecordMode::monthly) read.date = memory.date;
        if (mode != RecordMode::monthly) read.day_selector = written.day_selector;
        if (mode != RecordMode::periodic) read.period = written.period;
        if (mode != RecordMode::monthly) read.ordinal = written.ordinal;
        EXPECT_EQ(written, read) << i << "\n" << written.text;
    }
    const test::Listed listed = test::listed_on(state.current_file, test::day(2026, 12, 7));
    EXPECT_EQ(std::vector<std::string>{}, listed.messages) << read_bytes(state.current_file);
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
    ASSERT_TRUE(filled.ok);
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

}  // namespace
}  // namespace merkwald
