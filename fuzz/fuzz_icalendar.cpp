// The calendar export: events made of the fuzz input are written as iCalendar
// and read back by libical, an independent parser, which must accept every
// line and find each event on its day under its text.

#include <libical/ical.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/icalendar.h"
#include "engine/text_file.h"
#include "fuzz_support.h"

namespace {

using namespace merkwald;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

// The next text of the input, up to a zero byte, as the engine hands texts on:
// valid UTF-8, lines joined by CRLF.
std::string next_text(std::string_view& rest) {
    const std::size_t end = rest.find('\0');
    const std::string_view raw = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return is_valid_utf8(raw) ? std::string(raw) : windows1252_to_utf8(raw);
}

bool plain(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    return true;
}

// libical drops blanks at the ends of a value.
std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool same_day(const icaltimetype& time, DaySerial day) {
    const auto ymd = ymd_of(day);
    return time.is_date && time.year == ymd.year && time.month == ymd.month && time.day == ymd.day;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Header h(data, size);
    const int count = h.byte() % 8;
    const long long stamp_seconds = static_cast<long long>(h.word()) << 16 | h.word();
    std::vector<Occurrence> events;
    for (int i = 0; i < count; ++i) {
        Occurrence e;
        e.day = fuzz::pick_date(h);
        e.identity = h.word();
        e.color = h.byte();
        e.line = h.byte();
        events.push_back(std::move(e));
    }
    std::string_view rest = h.rest();
    for (Occurrence& e : events) {
        e.text = next_text(rest);
        e.group = next_text(rest);
        if (e.text.empty()) e.text = "x";  // the export never sees an empty text
    }

    const std::string text = icalendar_text(events, utc_from_unix(stamp_seconds));
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    check(calendar != nullptr);
    check(icalcomponent_isa(calendar) == ICAL_VCALENDAR_COMPONENT);
    check(icalcomponent_count_errors(calendar) == 0);
    std::size_t n = 0;
    for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT), ++n) {
        check(n < events.size());
        const Occurrence& expected = events[n];
        check(same_day(icalcomponent_get_dtstart(e), expected.day));
        const char* uid = icalcomponent_get_uid(e);
        check(uid != nullptr && *uid != '\0');
        if (plain(expected.text)) {
            // A blank text gives no SUMMARY at all.
            const char* summary = icalcomponent_get_summary(e);
            check(trimmed(summary ? summary : "") == trimmed(expected.text));
        }
    }
    check(n == events.size());
    icalcomponent_free(calendar);
    return 0;
}
