#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/record_rows.h"
#include "editors_test_support.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

using test::day;

class RecordRows : public ::testing::Test {
protected:
    test::TempFolder folder;
    test::RecordingSink sink;
    EngineState engine{EngineSettings{}, day(1999, 3, 5)};

    std::vector<ListRow> fill(const std::string& text) {
        test::write_bytes(folder / "f.rmd", text);
        FilledRows filled = fill_rows(folder / "f.rmd", engine, sink);
        EXPECT_TRUE(filled.ok);
        return filled.rows;
    }
};

TEST_F(RecordRows, RowsShowWhatTheRecordsSay) {
    const std::vector<ListRow> rows =
        fill(record("Nur Text") + record("<active=monthly>|<active_day=3>|Monat") +
             record("<date=1.1.99>|<active=periodic>|<periodic_repeat=14>|P") +
             record("<date=7.3.1970>|<group=verein>|<color=255>|<active_before=7>|N hat "
                    "<days_before_event_text> am <event_d.mmmm> <years_after_date>. Geburtstag") +
             record("<date=01.02.2000>|<group=TERMINE>|eins|zwei|drei"));
    // frequency, shown date, group, colour, lead time, text lines, preview
    std::vector<std::string> shown;
    for (const ListRow& r : rows) {
        shown.push_back(r.frequency + "|" + r.date_shown + "|" + r.group + "|" +
                        std::to_string(r.color) + "|" + r.lead_time + "|" +
                        std::to_string(r.text_lines) + "|" + r.preview);
    }
    EXPECT_EQ((std::vector<std::string>{
                  "immer|||0||1|Nur Text", "monatlich|||0||1|Monat", "p(14)|01.01.1999||0||1|P",
                  "jährlich|07.03.1970||255|7|1|N hat in 2 Tagen am 7. März 29. Geburtstag",
                  "jährlich|01.02.2000|Termine|0||3|eins\r\nzwei\r\ndrei"}),
              shown);
    EXPECT_EQ("1.1.99", rows[2].date);
    EXPECT_EQ(5, rows[4].record);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(RecordRows, AnEmptyFileHasNoRowsAndAMissingFileIsReported) {
    EXPECT_TRUE(fill("").empty());
    FilledRows missing = fill_rows(folder / "fehlt.rmd", engine, sink);
    EXPECT_FALSE(missing.ok);
    ASSERT_EQ(1u, sink.shown.size());
    EXPECT_EQ("Datei nicht gefunden", sink.shown[0].text);
}

std::vector<int> order(const std::vector<ListRow>& rows) {
    std::vector<int> numbers;
    for (const ListRow& row : rows) numbers.push_back(row.record);
    return numbers;
}

std::vector<ListRow> dated(const std::vector<std::string>& dates) {
    std::vector<ListRow> rows;
    for (const std::string& d : dates) {
        ListRow row;
        row.record = static_cast<int>(rows.size()) + 1;
        row.date = d;
        row.lead_time = d;
        rows.push_back(row);
    }
    return rows;
}

TEST(RecordSort, DateOrdersAndDirection) {
    const std::vector<ListRow> rows =
        dated({"15.04.1990", "20.03.2005", "kein Datum", "01.03.1999", "20.03.1980"});
    struct Case {
        DateOrder order;
        bool descending;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {DateOrder::year, false, {3, 5, 1, 4, 2}},
        {DateOrder::month, false, {4, 5, 2, 1, 3}},  // the invalid date counts as 30.12.1899
        {DateOrder::day, false, {4, 1, 5, 2, 3}},
        {DateOrder::year, true, {2, 4, 1, 5, 3}},
    };
    for (const Case& c : cases) {
        std::vector<ListRow> sorted = rows;
        sort_rows(sorted, 2, c.order, c.descending);
        EXPECT_EQ(c.expected, order(sorted));
    }
}

// Equal keys keep their order; colours compare as numbers.
TEST(RecordSort, TextColourAndGroupColumns) {
    std::vector<ListRow> rows = dated({"7", "14", "", "7"});
    rows[0].color = 65280;
    rows[1].color = 255;
    rows[2].color = 16711680;
    rows[0].group = "Termine";
    rows[1].group = "Geburtstage";
    rows[3].group = "Termine";
    struct Case {
        int column;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {4, {3, 2, 1, 4}}, {0, {3, 2, 1, 4}}, {3, {4, 2, 1, 3}}, {7, {3, 2, 4, 1}}};
    for (const Case& c : cases) {
        sort_rows(rows, c.column, DateOrder::year, false);
        EXPECT_EQ(c.expected, order(rows)) << c.column;
    }
}

}  // namespace
}  // namespace merkwald
