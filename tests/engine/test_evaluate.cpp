#include <tuple>

#include "engine/evaluate.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

using test::d;

struct Fixture {
    EngineState state{EngineSettings{}, 0};
    RefreshTables tables;

    Fixture(const char* today, const char* last_start = "01.01.80") {
        state.today = d(today);
        state.settings.last_start = last_start;
        read_last_start(state);
    }
    WorkingRecord& dated(const char* date, int active_before) {
        auto& r = state.record;
        r = WorkingRecord{};
        r.date = r.event_date = d(date);
        r.undated = false;
        r.active_before = active_before;
        return r;
    }
    WorkingRecord& run() {
        evaluate_record(state, tables);
        return state.record;
    }
};

TEST(Evaluate, YearlyRecordIsDueWithinItsLeadTimeUpToItsDay) {
    struct Row {
        const char* today;
        int before;
        bool due;
    } rows[] = {{"10.05.1999", 7, true}, {"06.05.1999", 7, false}, {"07.05.1999", 7, true},
                {"14.05.1999", 7, true}, {"15.05.1999", 7, false}, {"13.05.1999", 0, false},
                {"14.05.1999", 0, true}};
    for (const Row& row : rows) {
        Fixture f(row.today);
        f.dated("14.05.1968", row.before);
        EXPECT_EQ(f.run().due, row.due) << row.today << " ab " << row.before;
    }
    Fixture f("10.05.1999");
    f.dated("14.05.1968", 7);
    EXPECT_EQ(f.run().event_date, d("14.05.1999"));
    EXPECT_EQ(f.tables.pending_sort_date, 0) << "the sort date is the reader's business";
}

TEST(Evaluate, AnniversariesRollOverLeapDaysAndYearEnds) {
    EXPECT_EQ(next_anniversary(d("29.02.1996"), d("01.02.1999")), d("01.03.1999"));
    EXPECT_EQ(next_anniversary(d("29.02.1996"), d("01.02.2000")), d("29.02.2000"));
    EXPECT_EQ(next_anniversary(d("02.01.1960"), d("30.12.1998")), d("02.01.1999"));
    EXPECT_EQ(next_anniversary(d("30.12.1960"), d("30.12.1998")), d("30.12.1998"));
    Fixture f("30.12.1998");
    f.dated("02.01.1960", 5);
    EXPECT_TRUE(f.run().due);
}

TEST(Evaluate, OnceRecordsAreDueUpToTheirDateAndNeverAfter) {
    Fixture f("10.01.1999");
    f.dated("09.01.1999", 5).once = true;
    EXPECT_FALSE(f.run().due);
    f.dated("10.01.1999", 0).once = true;
    EXPECT_TRUE(f.run().due);
    EXPECT_TRUE(f.state.record.event_today);
    f.dated("10.01.2000", 400).once = true;
    EXPECT_TRUE(f.run().due) << "a once date is not moved to its anniversary";
    f.dated("20.01.1999", 5).once = true;
    EXPECT_FALSE(f.run().due);
}

TEST(Evaluate, MonthlyDayOfMonth) {
    Fixture f("10.04.1999");
    auto& r = f.dated("01.01.1990", 30);
    r.monthly = true;
    r.day_of_month = 31;
    f.run();
    EXPECT_EQ(f.state.record.event_date, d("01.05.1999")) << "31 April rolls into May";
    EXPECT_EQ(f.tables.pending_sort_date, d("01.05.1999"));

    auto& passed = f.dated("01.01.1990", 3);
    passed.monthly = true;
    passed.day_of_month = 5;
    EXPECT_FALSE(f.run().due);
    EXPECT_EQ(f.state.record.event_date, d("05.05.1999"));
}

TEST(Evaluate, MonthlyNthWeekday) {
    // April 1999: Fridays 2, 9, 16, 23, 30; May 1999: 7, 14, 21, 28 (no fifth).
    struct Row {
        const char* today;
        int week;
        int before;
        const char* event;
        bool due;
    } rows[] = {
        {"01.04.1999", 2, 10, "09.04.1999", true},
        {"10.04.1999", 2, 40, "14.05.1999", true},    // this month's is past: next month's
        {"01.04.1999", 5, 40, "30.04.1999", true},
        {"01.05.1999", 5, 40, "04.06.1999", false},   // May has no fifth Friday
        {"01.12.1999", 5, 40, "31.12.1999", true},    // 31.12.1999 is the fifth Friday
        {"01.11.1999", 5, 40, "03.12.1999", false},   // no fifth Friday in November
        {"01.02.1999", 5, 40, "05.03.1999", false},   // spill in February
        {"30.12.2000", 5, 40, "02.02.2001", false},   // Dec candidate past, January has 4
    };
    for (const Row& row : rows) {
        Fixture f(row.today);
        auto& r = f.dated("01.01.1990", row.before);
        r.monthly = true;
        r.weekday = 6;
        r.active_week = row.week;
        f.run();
        EXPECT_EQ(f.state.record.event_date, d(row.event)) << row.today << " week " << row.week;
        EXPECT_EQ(f.state.record.due, row.due) << row.today << " week " << row.week;
    }
}

TEST(Evaluate, PeriodicRepeatsFromItsDate) {
    Fixture f("10.01.1999");
    auto& r = f.dated("01.01.1999", 7);
    r.periodic = true;
    r.periodic_repeat = 7;
    EXPECT_TRUE(f.run().due);
    EXPECT_EQ(f.state.record.event_date, d("15.01.1999"));
    EXPECT_EQ(f.tables.pending_sort_date, d("15.01.1999"));

    auto& yearly = f.dated("01.01.1999", 7);
    yearly.periodic = true;
    EXPECT_EQ(f.run().event_date, d("01.01.2000")) << "a repeat of 0 is a yearly record";
}

TEST(Evaluate, AlwaysWinsButNeverSounds) {
    Fixture f("10.01.1999");
    auto& r = f.dated("10.01.1999", -5);
    r.always = true;
    f.run();
    EXPECT_TRUE(f.state.record.due);
    EXPECT_FALSE(f.state.record.event_today);

    auto& undated = f.dated("10.01.1999", 0);
    undated.undated = true;
    f.run();
    EXPECT_TRUE(f.state.record.due);
    EXPECT_FALSE(f.state.record.event_today) << "an undated record never sounds";
}

TEST(Evaluate, LeadDaysOverrideStaysInTheRecord) {
    Fixture f("10.01.1999");
    f.state.lead_days = 30;
    f.dated("05.02.1960", 0);
    EXPECT_TRUE(f.run().due);
    EXPECT_EQ(f.state.record.active_before, 30);
}

TEST(Evaluate, MissedSinceTheLastStart) {
    struct Row {
        const char* date;
        bool missed;
    } rows[] = {{"03.03.1960", true},  {"05.03.1960", false},  // today
                {"01.03.1960", false},                          // the last start's own day
                {"28.02.1960", false}, {"04.03.1960", true}};
    for (const Row& row : rows) {
        Fixture f("05.03.1999", "01.03.99");
        f.dated(row.date, 0);
        EXPECT_EQ(f.run().missed, row.missed) << row.date;
    }
}

TEST(Evaluate, UnreadableLastStartKeepsTheEarlierValue) {
    Fixture f("05.03.1999", "kein Datum");
    f.dated("03.03.1960", 0);
    EXPECT_TRUE(f.run().missed) << "before any successful read the last start is serial 0";
    f.state.settings.last_start = "01.03.99";
    read_last_start(f.state);
    f.state.settings.last_start = "Unsinn";
    read_last_start(f.state);
    f.dated("28.02.1960", 0);
    EXPECT_FALSE(f.run().missed);
}

TEST(Evaluate, SortDateFollowsPriority) {
    Fixture f("10.05.1999");
    auto& r = f.dated("14.05.1968", 7);
    set_sort_date(f.state, f.tables);
    EXPECT_EQ(f.tables.pending_sort_date, d("14.05.1999"));
    r.priority = 2;
    set_sort_date(f.state, f.tables);
    EXPECT_EQ(f.tables.pending_sort_date, d("01.01.1980"));
    for (int p : {0, -1, 3, 5}) {
        r.priority = p;
        set_sort_date(f.state, f.tables);
        EXPECT_EQ(f.tables.pending_sort_date, d("01.01.1970")) << p;
    }
}

TEST(Evaluate, NthWeekdayCountsFromTheFirstOfTheMonth) {
    // 1 April 1999 is a Thursday (5).
    const std::tuple<int, int, const char*> rows[] = {
        {5, 1, "01.04.1999"}, {4, 1, "07.04.1999"}, {1, 2, "11.04.1999"}, {6, 5, "30.04.1999"}};
    for (const auto& [weekday, n, expected] : rows)
        EXPECT_EQ(nth_weekday(d("01.04.1999"), weekday, n), d(expected)) << expected;
}

TEST(Evaluate, AnniversaryTableAgreesWithTheCalendar) {
    AnniversaryTable table;
    for (const char* today_text : {"01.01.1999", "28.02.2000", "29.02.2000", "01.03.2000",
                                   "31.12.1999", "15.07.2001"}) {
        const DaySerial today = *parse_date(today_text);
        for (DaySerial date = d("01.01.1995"); date <= d("31.12.2001"); ++date) {
            ASSERT_EQ(table.next(date, today), next_anniversary(date, today)) << today_text;
            const Ymd d = ymd_of(date);
            auto last = roll_date(ymd_of(today).year, d.month, d.day);
            if (*last > today) last = roll_date(ymd_of(today).year - 1, d.month, d.day);
            ASSERT_EQ(table.last(date, today), last) << today_text;
        }
    }
}

}  // namespace
}  // namespace merkwald
