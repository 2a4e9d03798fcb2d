#include "icalendar.h"

#include <cstdio>

#include "date_text.h"
#include "safe_rewrite.h"
#include "text.h"

namespace merkwald {

namespace {

constexpr std::size_t kFoldOctets = 75;
constexpr long long kSecondsPerDay = 86400;
constexpr DaySerial kUnixEpochSerial{25569};  // 1 January 1970

// Always eight digits: a year before 1000 is written with leading zeros, or
// calendar programs reject the date (and drop the event's start).
std::string ical_date(DaySerial day) {
    const Ymd d = ymd_of(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", d.year, d.month, d.day);
    return text;
}

std::string ical_stamp(UtcTime t) {
    char clock[16];
    std::snprintf(clock, sizeof clock, "T%02d%02d%02dZ", t.second_of_day / 3600,
                  t.second_of_day / 60 % 60, t.second_of_day % 60);
    return ical_date(t.day) + clock;
}

void add_line(std::string& out, std::string_view line) { out += fold_ical_line(line); }

// A value of nothing but blanks is none to a reader (libical rejects the whole
// line), so such a property is left out; a text that had only control
// characters comes out empty.
void add_text_property(std::string& out, std::string_view name, std::string_view text) {
    const std::string value = escape_ical_text(text);
    if (value.find_first_not_of(" \t") == std::string::npos) return;
    add_line(out, std::string(name) + ':' + value);
}

void add_event(std::string& out, const Occurrence& o, const std::string& uid,
               const std::string& stamp) {
    add_line(out, "BEGIN:VEVENT");
    add_line(out, "UID:" + uid);
    add_line(out, "DTSTAMP:" + stamp);
    add_line(out, "DTSTART;VALUE=DATE:" + ical_date(o.day));
    // The day after 31 December 9999 has no iCalendar date; without an end an
    // all-day event lasts its one day all the same.
    if (in_range(o.day + 1)) add_line(out, "DTEND;VALUE=DATE:" + ical_date(o.day + 1));
    add_text_property(out, "SUMMARY", o.text);
    add_text_property(out, "CATEGORIES", o.group);
    add_line(out, "TRANSP:TRANSPARENT");
    add_line(out, "END:VEVENT");
}

}  // namespace

UtcTime utc_from_unix(long long seconds) {
    long long days = seconds / kSecondsPerDay;
    long long rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    return {kUnixEpochSerial + static_cast<int>(days), int(rest)};
}

std::string escape_ical_text(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case ';':
                out += "\\;";
                break;
            case ',':
                out += "\\,";
                break;
            case '\r':
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
                out += "\\n";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                // Control characters are not allowed in a TEXT value; tabs are.
                if ((std::uint8_t(c) >= 0x20 && c != '\x7f') || c == '\t') out += c;
        }
    }
    return out;
}

std::string fold_ical_line(std::string_view line) {
    std::string out;
    std::size_t limit = kFoldOctets;  // a continuation's leading blank counts
    while (line.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && (std::uint8_t(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = kFoldOctets - 1;
    }
    out.append(line);
    out += "\r\n";
    return out;
}

namespace {

void add_calendar_head(std::string& out) {
    add_line(out, "BEGIN:VCALENDAR");
    add_line(out, "VERSION:2.0");
    add_line(out, "PRODID:" + std::string(kCalendarProductId));
    add_line(out, "CALSCALE:GREGORIAN");
}

}  // namespace

std::string UidCounter::next(const Occurrence& o) {
    if (o.day != day_) {
        seen_.clear();
        day_ = o.day;
    }
    const int n = ++seen_[o.identity];
    std::string uid = hex64(o.identity) + '-' + ical_date(o.day);
    if (n > 1) uid += '-' + std::to_string(n);
    return uid + "@merkwald";
}

IcalendarWriter::IcalendarWriter(Put put, UtcTime stamp)
    : put_(std::move(put)), stamp_(ical_stamp(stamp)) {}

void IcalendarWriter::start() {
    if (started_) return;
    started_ = true;
    piece_.clear();
    add_calendar_head(piece_);
    add_line(piece_, "X-WR-CALNAME:Merkwald");
    put_(piece_);
}

void IcalendarWriter::add(const Occurrence& o) {
    start();
    piece_.clear();
    add_event(piece_, o, uids_.next(o), stamp_);
    put_(piece_);
}

void IcalendarWriter::finish() {
    start();
    piece_.clear();
    add_line(piece_, "END:VCALENDAR");
    put_(piece_);
}

std::string icalendar_text(const std::vector<Occurrence>& events, UtcTime stamp) {
    std::string out;
    out.reserve(events.size() * 240 + 200);
    IcalendarWriter writer([&out](std::string_view piece) { out += piece; }, stamp);
    for (const Occurrence& o : events) writer.add(o);
    writer.finish();
    return out;
}

std::vector<SingleEvent> single_event_calendars(const std::vector<Occurrence>& events,
                                                UtcTime stamp) {
    std::vector<SingleEvent> out;
    out.reserve(events.size());
    const std::string stamp_text = ical_stamp(stamp);
    UidCounter uids;
    for (const Occurrence& o : events) {
        SingleEvent one{uids.next(o), {}, &o};
        add_calendar_head(one.text);
        add_event(one.text, o, one.uid, stamp_text);
        add_line(one.text, "END:VCALENDAR");
        out.push_back(std::move(one));
    }
    return out;
}

namespace {

DateRange feed_range(const EngineState& state) {
    return {state.today, state.today + kFeedDays - 1};
}

}  // namespace

bool write_feed_file(const std::filesystem::path& feed_file, const std::vector<Occurrence>& events,
                     UtcTime stamp) {
    return write_file_safely(feed_file, icalendar_text(events, stamp)).ok();
}

FeedResult write_calendar_feed(const std::filesystem::path& feed_file, EngineState& state,
                               const std::string& main_file, UtcTime stamp, MessageSink& sink) {
    const OccurrenceList list = collect_occurrences(state, main_file, feed_range(state), sink);
    if (list.failed_files > 0 || !write_feed_file(feed_file, list.events, stamp)) return {};
    return {true, int(list.events.size())};
}

std::optional<std::vector<Occurrence>> feed_events(EngineState& state,
                                                   const RefreshTables& refreshed,
                                                   MessageSink& sink) {
    if (refreshed.failed_files > 0) return std::nullopt;
    return occurrences_of(state, refreshed.captured, feed_range(state), sink);
}

}  // namespace merkwald
