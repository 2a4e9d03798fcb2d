#include <tuple>

#include "engine/evaluate.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

using test::d;

struct Fixture {
    EngineState state{EngineSettings{}, DaySerial{}};

    Fixture(const char* today, const char* last_start = "01.01.80") {
        state.today = d(today);
        state.settings.last_start = last_start;
        read_last_start(state);
    }
    WorkingRecord& dated(const char* date, int active_before) {
        auto& r = state.record;
        r = WorkingRecord{};
        r.date = d(date);
        r.undated = false;
        r.active_before = active_before;
        return r;
    }
    // The reader's sort date from the tags is 0 here, so a set one is the evaluation's.
    Verdict run() const { return evaluate_record(state, state.record, DaySerial{}); }
};

enum class Kind { yearly, once, monthly_day, nth_friday, periodic, always };

TEST(Evaluate, EveryKindOfRecordIsDueWithinItsLeadTime) {
    // April 1999: Fridays 2, 9, 16, 23, 30; May 1999: 7, 14, 21, 28 (no fifth).
    // today, date, lead time, kind, `n` (the day of month, the week or the repeat), the
    // event date (nullptr: not checked), due, and '+' or '-' for whether the record
    // sounds today (' ' leaves it unchecked).
    const std::tuple<const char*, const char*, int, Kind, int, const char*, bool, char> rows[] = {
        {"06.05.1999", "14.05.1968", 7, Kind::yearly, 0, "14.05.1999", false, '-'},
        {"07.05.1999", "14.05.1968", 7, Kind::yearly, 0, "14.05.1999", true, '-'},
        {"14.05.1999", "14.05.1968", 7, Kind::yearly, 0, "14.05.1999", true, '+'},
        {"15.05.1999", "14.05.1968", 7, Kind::yearly, 0, "14.05.2000", false, '-'},
        {"30.12.1998", "02.01.1960", 5, Kind::yearly, 0, "02.01.1999", true, '-'},
        {"01.02.1999", "29.02.1996", 30, Kind::yearly, 0, "01.03.1999", true, '-'},
        {"01.02.2000", "29.02.1996", 30, Kind::yearly, 0, "29.02.2000", true, '-'},
        {"10.01.1999", "09.01.1999", 5, Kind::once, 0, nullptr, false, ' '},
        {"10.01.1999", "10.01.1999", 0, Kind::once, 0, nullptr, true, '+'},
        {"10.01.1999", "10.01.2000", 400, Kind::once, 0, nullptr, true, ' '},  // not moved
        {"10.04.1999", "01.01.1990", 30, Kind::monthly_day, 31, "01.05.1999", true, '-'},
        {"10.04.1999", "01.01.1990", 40, Kind::nth_friday, 2, "14.05.1999", true, '-'},
        {"01.04.1999", "01.01.1990", 40, Kind::nth_friday, 5, "30.04.1999", true, '-'},
        {"30.12.2000", "01.01.1990", 40, Kind::nth_friday, 5, "02.02.2001", false, '-'},
        {"10.01.1999", "01.01.1999", 7, Kind::periodic, 7, "15.01.1999", true, '-'},
        // Today lies whole periods on: the event is today, not a period later.
        {"15.01.1999", "01.01.1999", 0, Kind::periodic, 7, "15.01.1999", true, '+'},
        {"10.01.1999", "01.01.1999", 7, Kind::periodic, 0, "01.01.2000", false, '-'},  // yearly
        {"10.01.1999", "10.01.1999", -5, Kind::always, 0, nullptr, true, '-'},
        // Due within the lead, but the fifth Friday fell into March: the sort date stays set.
        {"20.02.1999", "01.01.1990", 40, Kind::nth_friday, 5, "05.03.1999", false, '-'},
    };
    for (const auto& [today, date, before, kind, n, event, due, sound] : rows) {
        SCOPED_TRACE(std::string(today) + " " + date);
        Fixture f(today);
        auto& r = f.dated(date, before);
        r.once = kind == Kind::once;
        r.monthly = kind == Kind::monthly_day || kind == Kind::nth_friday;
        if (kind == Kind::monthly_day) r.day_of_month = n;
        if (kind == Kind::nth_friday) r.weekday = 6, r.active_week = n;
        r.periodic = kind == Kind::periodic;
        if (r.periodic) r.periodic_repeat = n;
        r.always = kind == Kind::always;
        const Verdict v = f.run();
        EXPECT_EQ(v.due, due);
        if (event) {
            EXPECT_EQ(v.event_date, d(event));
        }
        if (sound != ' ') {
            EXPECT_EQ(v.event_today, sound == '+');
        }
        // Only repeating records within their lead set the sort date; the rest is the reader's.
        const bool repeating = r.monthly || (r.periodic && r.periodic_repeat > 0);
        if (event && v.event_date - d(today) <= before) {
            EXPECT_EQ(v.sort_date, repeating ? d(event) : DaySerial{});
        }
    }
}

// Missed: an anniversary after the last start's day and before today (a one-time
// appointment on its own date only, as a golden case shows).
TEST(Evaluate, MissedSinceTheLastStart) {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"01.03.99", "03.03.1960", true},
        {"01.03.99", "05.03.1960", false},   // today
        {"01.03.99", "01.03.1960", false},   // the last start's own day
        {"kein Datum", "03.03.1960", true},  // before any successful read it is serial 0
        {"01.06.98", "09.12.1999", true}};   // 09.12.1998 passed unseen
    for (const auto& [last_start, date, missed] : rows) {
        Fixture f("05.03.1999", last_start);
        f.dated(date, 0);
        EXPECT_EQ(f.run().missed, missed) << last_start << " " << date;
    }
    Fixture f("05.03.1999", "01.03.99");
    f.state.settings.last_start = "Unsinn";
    read_last_start(f.state);
    f.dated("28.02.1960", 0);
    EXPECT_FALSE(f.run().missed) << "an unreadable value keeps the earlier one";
}

TEST(Evaluate, AnniversaryTableAgreesWithTheCalendar) {
    AnniversaryTable table;
    for (const char* today_text : {"01.01.1999", "28.02.2000", "29.02.2000", "31.12.1999"}) {
        const DaySerial today = *parse_date(today_text);
        for (DaySerial date = d("01.01.1995"); date <= d("31.12.2001"); ++date) {
            ASSERT_EQ(table.next({date, today}), next_anniversary({date, today})) << today_text;
            const Ymd d = ymd_of(date);
            auto last = roll_date(ymd_of(today).year, d.month, d.day);
            if (*last > today) last = roll_date(ymd_of(today).year - 1, d.month, d.day);
            ASSERT_EQ(table.last({date, today}), last) << today_text;
        }
    }
}

}  // namespace
}  // namespace merkwald
