// The calendar export: read back by libical and compared, day by day, with the
// range listing of each single day; and which file the feed may write.

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "engine/feed_target.h"
#include "engine/icalendar.h"
#include "engine/range.h"
#include "engine/refresh.h"
#include "engine/text_file.h"
#include "engine_test_support.h"

#ifdef MERKWALD_HAVE_LIBICAL
#include <libical/ical.h>
#endif

namespace merkwald {
namespace {

using test::d;

TEST(IcalendarText, EscapesAndFoldsByOctetsAndDaysBeforeTheEpoch) {
    const std::string line = "SUMMARY:" + std::string(66, 'x') + "ääää";
    // 74 octets fit; the next "ä" would be split at octet 75, so it moves on.
    EXPECT_EQ(fold_ical_line(line), "SUMMARY:" + std::string(66, 'x') + "\r\n ääää\r\n");
    const std::string folded = fold_ical_line(std::string(200, 'y'));
    EXPECT_EQ(folded, std::string(75, 'y') + "\r\n " + std::string(74, 'y') + "\r\n " +
                          std::string(51, 'y') + "\r\n");
    EXPECT_EQ(utc_from_unix(-1).day, d("31.12.1969"));
}

#ifdef MERKWALD_HAVE_LIBICAL

constexpr std::string_view kReminders =
    "<record>\r\n<date=29.02.1996>\r\n<group=geburtstage>\r\n"
    "Lea wird <years_after_date>, Geburtstag <days_before_event_text>\r\n</record>\r\n"
    "<record>\r\n<date=07.03.1970>\r\n<group=geburtstage>\r\n"
    "Jörg Müller; Café, Übersee\\Nord hat <days_before_event_text> Geburtstag und wird "
    "<years_after_date> Jahre alt, ein sehr langer Text über dem Falzrand\r\nZweite Zeile\r\n"
    "</record>\r\n"
    "<record>\r\n<active=monthly>\r\n<active_day=31>\r\n<group=termine>\r\nMonatsende\r\n"
    "</record>\r\n"
    "<record>\r\n<active=monthly>\r\n<active_day=monday>\r\n<active_week=5>\r\n"
    "Fünfter Montag\r\n</record>\r\n"
    "<record>\r\n<active=periodic>\r\n<periodic_repeat=10>\r\n<date=01.01.2026>\r\n"
    "<group=sonstiges>\r\nAlle zehn Tage\r\n</record>\r\n"
    "<record>\r\n<active=once>\r\n<date=15.06.2026>\r\n<group=termine>\r\nEinmal\r\n"
    "</record>\r\n"
    "<record>\r\n<active=always>\r\nImmer\r\n</record>\r\n"
    "<record>\r\n<date=24.12.2000>\r\n<group=termine>\r\nBescherung\r\n</record>\r\n"
    "<record>\r\n<date=24.12.2000>\r\n<group=termine>\r\nBescherung\r\n</record>\r\n";

using DayEvents = std::multiset<std::pair<std::string, std::string>>;  // text, group

// What the range listing of each single day shows, records shown always excepted.
// Only the checks against the independent parser use it.
std::map<DaySerial, DayEvents> listing_by_day(EngineState& state, const std::string& file,
                                              DaySerial from, DaySerial to) {
    std::map<DaySerial, DayEvents> days;
    SilentSink sink;
    for (DaySerial day = from; day <= to; ++day) {
        RefreshTables tables;
        refresh_range(state, tables, file, DateRange{day, day}, sink);
        for (const LineEntry& line : tables.lines) {
            std::string text = line.text;
            while (text.ends_with("\r\n")) text.resize(text.size() - 2);
            if (text != "Immer") days[day].emplace(text, line.group);
        }
    }
    return days;
}

class Icalendar : public test::TempFolderTest {};

struct ParsedEvent {
    DaySerial day, end;
    std::string uid, summary, category, stamp;
};

std::vector<ParsedEvent> parse_with_libical(const std::string& text) {
    std::vector<ParsedEvent> events;
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    EXPECT_NE(calendar, nullptr);
    if (!calendar) return events;
    EXPECT_EQ(icalcomponent_count_errors(calendar), 0);
    for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const icaltimetype start = icalcomponent_get_dtstart(e);
        const icaltimetype end = icalcomponent_get_dtend(e);
        EXPECT_TRUE(start.is_date);
        ParsedEvent p{make_date(start.year, start.month, start.day).value_or(DaySerial{}),
                      make_date(end.year, end.month, end.day).value_or(DaySerial{}),
                      icalcomponent_get_uid(e),
                      "",
                      "",
                      icaltime_as_ical_string(icalcomponent_get_dtstamp(e))};
        if (const char* summary = icalcomponent_get_summary(e)) p.summary = summary;
        if (icalproperty* c = icalcomponent_get_first_property(e, ICAL_CATEGORIES_PROPERTY))
            p.category = icalproperty_get_categories(c);
        events.push_back(std::move(p));
    }
    icalcomponent_free(calendar);
    return events;
}

TEST_F(Icalendar, EveryDayHoldsWhatThatDaysListingShowsUnderItsOwnUid) {
    write("main.rmd", kReminders);
    EngineState state(EngineSettings{}, d("5.3.2026"), folder_);
    const DateRange year{d("1.1.2026"), d("1.1.2027")};  // 366 days
    SilentSink sink;
    const OccurrenceList list = collect_occurrences(state, "main.rmd", year, sink);
    ASSERT_TRUE(list.read_ok);
    const std::string text = icalendar_text(list.events, utc_from_unix(1796602500));

    const std::vector<ParsedEvent> parsed = parse_with_libical(text);
    std::map<DaySerial, DayEvents> from_calendar;
    std::set<std::string> uids;
    for (const ParsedEvent& e : parsed) {
        EXPECT_EQ(e.end, e.day + 1) << e.uid;
        EXPECT_EQ(e.stamp, "20261207T001500Z") << e.uid;
        EXPECT_TRUE(uids.insert(e.uid).second) << e.uid;
        std::string summary = e.summary;
        for (std::size_t p = 0; (p = summary.find('\n', p)) != std::string::npos; p += 2)
            summary.replace(p, 1, "\r\n");
        from_calendar[e.day].emplace(summary, e.category);
    }
    EXPECT_EQ(from_calendar, listing_by_day(state, "main.rmd", year.from, year.to));
    // Spot checks that the comparison is about something.
    EXPECT_NE(from_calendar[d("7.3.2026")].begin()->first.find("heute Geburtstag und wird 56"),
              std::string::npos);

    // The feed file holds the year from today on and stays when the reminders are gone.
    const auto feed = folder_ / "merkwald.ics";
    EngineState on_first(EngineSettings{}, d("1.3.2026"), folder_);
    ASSERT_TRUE(write_calendar_feed(feed, on_first, "main.rmd", utc_from_unix(0), sink).written);
    const std::string written = read_text_file(feed)->text;
    const auto in_feed = parse_with_libical(written);
    EXPECT_EQ(in_feed.front().day, d("1.3.2026"));
    EXPECT_LE(in_feed.back().day, d("28.2.2027"));
    EXPECT_FALSE(write_calendar_feed(feed, on_first, "fehlt.rmd", utc_from_unix(0), sink).written);
    EXPECT_EQ(read_text_file(feed)->text, written);
}

TEST(IcalendarText, DaysAtTheCalendarsEndsAndBlankValuesAreWhatLibicalAccepts) {
    std::vector<Occurrence> events(3);
    events[0].day = make_date(100, 1, 6).value();
    events[1].day = make_date(999, 3, 5).value();
    events[2].day = make_date(9999, 12, 31).value();
    for (Occurrence& e : events) e.text = "Ereignis";
    // A blank group and a text of control characters have no value to write.
    events[1].group = "  ";
    events[2].text = "\x01\x02";
    const std::string text = icalendar_text(events, utc_from_unix(0));
    EXPECT_EQ(text.find("CATEGORIES"), std::string::npos);
    EXPECT_EQ(text.find("SUMMARY:\r\n"), std::string::npos);
    std::vector<DaySerial> starts;
    for (const ParsedEvent& e : parse_with_libical(text)) starts.push_back(e.day);
    EXPECT_EQ(starts, (std::vector<DaySerial>{events[0].day, events[1].day, events[2].day}));
}

// The light program's reader keeps two blanks after each text line and takes
// `active_after` for text and `add_file` in a linked file for a link; the full
// program the other way round. Neither may show in the feed or its UIDs.
constexpr std::string_view kMainFile =
    "<add_file=verlinkt.rmd>\r\n"
    "<record>\r\n<date=07.03.1970>\r\n<active_after=3>\r\n<group=geburtstage>\r\n"
    "Jörg hat <days_before_event_text> Geburtstag\r\nZweite Zeile\r\n</record>\r\n"
    "<record>\r\n<active=monthly>\r\n<active_day=15>\r\nMonatsmitte\r\n</record>\r\n";
constexpr std::string_view kLinkedFile =
    "<record>\r\n<date=24.12.2000>\r\n<add_file=fehlt.rmd>\r\n<group=termine>\r\n"
    "Bescherung\r\n</record>\r\n";

std::string feed_of_refresh(EngineState& state, const std::string& file, MessageSink& sink) {
    RefreshTables tables;
    tables.capture = RefreshTables::Capture::also;
    refresh(state, tables, file, sink);
    const auto events = feed_events(state, tables, sink);
    EXPECT_TRUE(events.has_value());
    return icalendar_text(events.value_or(std::vector<Occurrence>{}), utc_from_unix(0));
}

// Each spelling is read in another time zone: the feed, its UIDs included, stays
// the same; a run on a later day keeps the UIDs of the days both runs cover.
TEST_F(Icalendar, BothProgramsEverySpellingAndTimeZoneGiveOneFeed) {
    write("gross.rmd", kMainFile);
    write("verlinkt.rmd", kLinkedFile);
    std::filesystem::create_directory(folder_ / "sub");
    const std::string spellings[] = {"gross.rmd", "sub/../gross.rmd",
                                     (folder_ / "sub" / ".." / "." / "gross.rmd").string()};
    const char* zones[] = {"Europe/Berlin", "America/Los_Angeles", "Asia/Tokyo"};
    const std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
    const DaySerial today = d("1.3.2026");
    test::RecordingSink sink;
    std::string first;
    for (const bool light : {false, true}) {
        for (std::size_t i = 0; i < std::size(spellings); ++i) {
            SCOPED_TRACE(spellings[i] + (light ? " (light) " : " ") + zones[i]);
            ::setenv("TZ", zones[i], 1);
            ::tzset();
            EngineState state(EngineSettings{}, today, folder_);
            state.settings.light = light;
            const std::string feed = feed_of_refresh(state, spellings[i], sink);
            const OccurrenceList listed =
                collect_occurrences(state, spellings[i], {today, today + kFeedDays - 1}, sink);
            EXPECT_EQ(icalendar_text(listed.events, utc_from_unix(0)), feed);
            if (first.empty()) first = feed;
            EXPECT_EQ(feed, first);
        }
    }
    ::setenv("TZ", zone.c_str(), 1);
    ::tzset();
    EXPECT_TRUE(sink.shown.empty());
    std::set<std::string> summaries;
    for (const ParsedEvent& e : parse_with_libical(first)) summaries.insert(e.summary);
    EXPECT_EQ(summaries, (std::set<std::string>{"Jörg hat heute Geburtstag\nZweite Zeile",
                                                "Monatsmitte", "Bescherung"}));

    const auto uids_from = [](const std::string& feed) {
        std::string uids;
        for (const ParsedEvent& e : parse_with_libical(feed))
            if (e.day >= d("20.5.2026") && e.day < d("1.3.2027")) uids += e.uid + '\n';
        return uids;
    };
    EngineState later(EngineSettings{}, d("20.5.2026"), folder_);
    EXPECT_FALSE(uids_from(first).empty());
    EXPECT_EQ(uids_from(feed_of_refresh(later, "gross.rmd", sink)), uids_from(first));
}

#endif

// Which file the calendar feed may write: names compared as the file system
// sees them, and only a new file or the program's own calendar replaced.

namespace fs = std::filesystem;

using FeedTarget = test::TempFolderTest;

// The names the options page refuses are tried there; here the other spellings
// of a reminder file and what is no file at all.
TEST_F(FeedTarget, OnlyANewFileOrTheOwnCalendar) {
#ifdef _WIN32
    GTEST_SKIP() << "the rows need symbolic links, a named pipe and '/' names, which Windows "
                    "lacks; the other feed tests cover the rule there";
#else
    const fs::path program = folder_ / "programm";
    fs::create_directories(program);
    fs::create_directories(folder_ / "daten");
    write("programm/beispiel.rmd", "<record>\r\n");
    write("programm/beispiel.bak", "<record>\r\n");
    write("daten/verlinkt.rmd", "<record>\r\n");
    write("daten/leer.ics", "");
    const FeedGuard guard{program, {program / "beispiel.rmd", folder_ / "daten/verlinkt.rmd"}, {}};
    const std::string data = (folder_ / "daten").string();
    fs::create_symlink(folder_ / "daten/verlinkt.rmd", folder_ / "daten/zeiger.ics");
    fs::create_hard_link(program / "beispiel.rmd", folder_ / "daten/zweitname.ics");
    ASSERT_EQ(::mkfifo((folder_ / "daten/rohr.ics").c_str(), 0600), 0);
    const std::pair<std::string, FeedRefusal> rows[] = {
        {program.string() + "/./BEISPIEL.rmd", FeedRefusal::program_folder},
        {data + "/../daten/verlinkt.rmd", FeedRefusal::reminder_file},
        {data + "/zeiger.ics", FeedRefusal::reminder_file},
        {data + "/zweitname.ics", FeedRefusal::reminder_file},
        {"beispiel.bak", FeedRefusal::reminder_file},
        {data + "/leer.ics", FeedRefusal::foreign_file},
        {data + "/rohr.ics", FeedRefusal::not_a_file},
        {data, FeedRefusal::not_a_file},
        {"abo.ics", FeedRefusal::none},  // a new calendar in the program folder
    };
    for (const auto& [name, expected] : rows)
        EXPECT_EQ(check_feed_target(name, guard).refusal, expected) << name;
#endif
}

}  // namespace
}  // namespace merkwald
