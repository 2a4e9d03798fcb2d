#pragma once
// The events of a date range as an iCalendar (RFC 5545) text: every occurrence an
// all-day event, for calendar programs on the desktop and the phone.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "calendar/date_serial.h"
#include "occurrences.h"

namespace merkwald {

// At most this many days per export: a year, leap day included.
inline constexpr int kMaxCalendarDays = 366;
// A calendar feed covers today and the days after it.
inline constexpr int kFeedDays = 365;
// The PRODID of every calendar the program writes; the feed overwrites only such a file.
inline constexpr std::string_view kCalendarProductId = "-//Merkwald//Merkwald//DE";

// A moment in UTC, for DTSTAMP.
struct UtcTime {
    DaySerial day{};
    int second_of_day = 0;  // [0, 86400)
};

// The UTC moment `seconds` after 1 January 1970.
[[nodiscard]] UtcTime utc_from_unix(long long seconds);

// The whole calendar, lines ended by CRLF and folded at 75 octets.
[[nodiscard]] std::string icalendar_text(const std::vector<Occurrence>& events, UtcTime stamp);

// Two equal records give equal identities; the n-th of them on a day gets "-n"
// in its UID. Events come in day order.
class UidCounter {
public:
    [[nodiscard]] std::string next(const Occurrence& event);

private:
    DaySerial day_{};
    std::unordered_map<std::uint64_t, int> seen_;  // identities of the day so far
};

// The same calendar piece by piece, for output that need not be held whole:
// the head goes to `put` with the first event or at finish(), so a writer that
// is never used puts nothing; each event when it is added (events in the order
// icalendar_text takes them), the end with finish().
class IcalendarWriter {
public:
    using Put = std::function<void(std::string_view)>;
    IcalendarWriter(Put put, UtcTime stamp);
    void add(const Occurrence& event);
    void finish();

private:
    void start();

    Put put_;
    std::string stamp_;
    UidCounter uids_;
    std::string piece_;
    bool started_ = false;
};

// One occurrence as a calendar of its own, as a calendar server stores it.
struct SingleEvent {
    std::string uid;                    // as in icalendar_text for the same list
    std::string text;                   // VCALENDAR with this one VEVENT, CRLF, our PRODID
    const Occurrence* event = nullptr;  // into the list it was made from
};

// Every occurrence of the list as its own calendar.
[[nodiscard]] std::vector<SingleEvent> single_event_calendars(const std::vector<Occurrence>& events,
                                                              UtcTime stamp);

// Text as an iCalendar TEXT value: backslash, semicolon, comma and line breaks escaped.
[[nodiscard]] std::string escape_ical_text(std::string_view text);

// One content line folded at 75 octets (never inside a UTF-8 character), CRLF after each part.
[[nodiscard]] std::string fold_ical_line(std::string_view line);

struct FeedResult {
    bool written = false;
    int events = 0;
};

// Rewrites `feed_file` crash-safely with the events of today and the following
// kFeedDays - 1 days. Nothing is written when the main file could not be read,
// so a subscriber keeps the last good calendar.
FeedResult write_calendar_feed(const std::filesystem::path& feed_file, EngineState& state,
                               const std::string& main_file, UtcTime stamp, MessageSink& sink);

// A feed's events from the records a refresh of the state's today kept beside its
// own evaluation (RefreshTables::Capture::also), without reading the files again;
// nothing when a file of that refresh could not be read.
[[nodiscard]] std::optional<std::vector<Occurrence>> feed_events(EngineState& state,
                                                                 const RefreshTables& refreshed,
                                                                 MessageSink& sink);

// Rewrites `feed_file` crash-safely with `events`.
[[nodiscard]] bool write_feed_file(const std::filesystem::path& feed_file,
                                   const std::vector<Occurrence>& events, UtcTime stamp);

}  // namespace merkwald
