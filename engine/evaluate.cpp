#include "evaluate.h"

#include "date_text.h"

namespace merkwald {

namespace {

// The candidate of the n-th weekday rule and whether it still lies in the month it
// was computed for; a candidate that spilled into the next month is no occurrence.
struct NthCandidate {
    DaySerial day;
    bool in_month;
};

std::optional<NthCandidate> nth_candidate(const Ymd& month_start, const WorkingRecord& r) {
    const auto first = make_date(month_start.year, month_start.month, 1);
    if (!first) return std::nullopt;
    const auto day = nth_weekday(*first, {.weekday = r.weekday, .week = r.active_week});
    if (!day) return std::nullopt;
    return NthCandidate{*day, ymd_of(*day).month == month_start.month};
}

// Returns whether the n-th weekday rule decided the event (for the final check).
std::optional<bool> evaluate_monthly(const WorkingRecord& r, DaySerial today, DaySerial& event) {
    const Ymd t = ymd_of(today);
    if (r.active_week > 0) {
        auto cand = nth_candidate(t, r);
        if (!cand) return std::nullopt;
        if (cand->day < today) {
            const Ymd next = t.month == 12 ? Ymd{t.year + 1, 1, 1} : Ymd{t.year, t.month + 1, 1};
            cand = nth_candidate(next, r);
            if (!cand) return std::nullopt;
        }
        event = cand->day;
        return cand->in_month;
    }
    auto day = roll_date(t.year, t.month, r.day_of_month);
    if (day && *day < today) day = roll_date(t.year, t.month + 1, r.day_of_month);
    if (day) event = *day;
    return std::nullopt;
}

// The first occurrence on or after today; none when it lies beyond the calendar's
// end (a long period near 9999): the record then has no occurrence left to show.
std::optional<DaySerial> periodic_occurrence(const WorkingRecord& r, DaySerial today) {
    DaySerial work = r.date;
    if (work < today) {
        const int steps = (today - work + r.periodic_repeat - 1) / r.periodic_repeat;
        work += steps * r.periodic_repeat;
    }
    if (!in_range(work)) return std::nullopt;
    return work;
}

bool within_lead(DaySerial today, DaySerial day, int active_before) {
    return day - today <= active_before;
}

}  // namespace

std::optional<DaySerial> next_anniversary(DateSeen seen) {
    const Ymd d = ymd_of(seen.date);
    const int year = ymd_of(seen.today).year;
    auto next = roll_date(year, d.month, d.day);
    if (next && *next < seen.today) next = roll_date(year + 1, d.month, d.day);
    return next;
}

std::optional<DaySerial> nth_weekday(DaySerial first, NthWeekday rule) {
    const int w = weekday(first);
    int d = rule.weekday - w + (rule.weekday >= w ? 1 : 8);
    if (rule.week > 1) d += (rule.week - 1) * 7;
    const Ymd m = ymd_of(first);
    return roll_date(m.year, m.month, d);
}

void AnniversaryTable::build(DaySerial today) const {
    today_ = today;
    memo_date_ = kNone;
    const int year = ymd_of(today).year;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= 31; ++day) {
            const std::size_t i = std::size_t(month * 32 + day);
            previous_[i] = roll_date(year - 1, month, day).value_or(kNone);
            current_[i] = roll_date(year, month, day).value_or(kNone);
            following_[i] = roll_date(year + 1, month, day).value_or(kNone);
        }
    }
}

int AnniversaryTable::slot(DaySerial date) const {
    if (date != memo_date_) {
        const Ymd d = ymd_of(date);
        memo_date_ = date;
        memo_slot_ = d.month * 32 + d.day;
    }
    return memo_slot_;
}

std::optional<DaySerial> AnniversaryTable::next(DateSeen seen) const {
    if (seen.today != today_) build(seen.today);
    const std::size_t i = std::size_t(slot(seen.date));
    if (current_[i] != kNone && current_[i] < seen.today) return value(following_[i]);
    return value(current_[i]);
}

std::optional<DaySerial> AnniversaryTable::last(DateSeen seen) const {
    if (seen.today != today_) build(seen.today);
    const std::size_t i = std::size_t(slot(seen.date));
    if (current_[i] != kNone && current_[i] > seen.today) return value(previous_[i]);
    return value(current_[i]);
}

void set_sort_date(const EngineState& state, RefreshTables& tables) {
    const WorkingRecord& record = state.record;
    switch (record.priority) {
        case 1:
            if (auto next = state.anniversaries.next({.date = record.date, .today = state.today}))
                tables.pending_sort_date = *next;
            break;
        case 2:
            tables.pending_sort_date = *make_date(1980, 1, 1);
            break;
        default:
            tables.pending_sort_date = *make_date(1970, 1, 1);
            break;
    }
}

void read_last_start(EngineState& state) {
    if (auto start = parse_date(state.settings.last_start)) state.last_start = *start;
}

Verdict evaluate_record(const EngineState& state, const WorkingRecord& r, DaySerial tag_sort_date) {
    const DaySerial today = state.today;
    Verdict v;
    v.event_date = today;
    v.sort_date = tag_sort_date;

    if (auto next = state.anniversaries.next({.date = r.date, .today = today}))
        v.event_date = *next;

    std::optional<bool> nth_in_month;
    if (r.monthly) {
        nth_in_month = evaluate_monthly(r, today, v.event_date);
        if (within_lead(today, v.event_date, r.active_before)) {
            v.due = true;
            v.sort_date = v.event_date;
        }
    }
    bool past_calendar_end = false;
    if (r.periodic && r.periodic_repeat > 0) {
        const auto work = periodic_occurrence(r, today);
        past_calendar_end = !work;
        if (work) {
            v.event_date = *work;
            if (within_lead(today, *work, r.active_before)) {
                v.due = true;
                v.sort_date = *work;
            }
        }
    }
    if (r.once) {
        if (within_lead(today, r.date, r.active_before)) v.due = true;
    } else {
        v.due = v.event_date - today >= 0 && within_lead(today, v.event_date, r.active_before);
    }
    if ((nth_in_month && !*nth_in_month) || past_calendar_end) v.due = false;

    v.event_today = v.event_date == today && !r.always && !r.undated;
    if (r.date < today && r.once) v.due = false;
    if (r.always) v.due = true;

    if (r.once) {
        // A one-time appointment happens on its own date only: an anniversary of
        // it (last year's, or one still ahead) was never an event.
        v.missed = !r.undated && r.date < today && state.last_start < r.date;
    } else if (auto last = state.anniversaries.last({.date = r.date, .today = today})) {
        v.missed = *last < today && state.last_start < *last;
    }
    return v;
}

}  // namespace merkwald
