#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/record_fields.h"
#include "editors/reminder_document.h"
#include "editors_test_support.h"

namespace merkwald {
namespace {

const std::vector<std::string> kGroups = {"Geburtstage", "Namenstage", "Termine", "Sonstiges"};
constexpr std::int32_t kDefaultColor = 0;

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// Loads the one record of `file_text` (lines separated by CRLF) into fresh
// fields with the lead-time preset "21", then writes it back.
struct RoundTrip {
    RecordFields fields;
    std::string written;
};

RoundTrip round_trip(const std::string& file_text) {
    const ReminderDocument doc = parse_document(file_text);
    long long start = 0, end = 0;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        if (doc.lines[i].text == "<record>") start = static_cast<long long>(i) + 1;
        if (doc.lines[i].text == "</record>") end = static_cast<long long>(i) + 1;
    }
    RecordFields fields = initial_fields("21", std::nullopt, kGroups, kDefaultColor);
    RememberedTexts memory;
    load_record_lines(doc, {start, end}, kGroups, kDefaultColor, fields, memory);
    const std::vector<std::string> lines =
        write_record(fields, prepare_date(fields.date), kDefaultColor);
    return {fields, joined(lines)};
}

TEST(RecordFields, LoadAndWriteFollowTheEditorsRules) {
    struct Case {
        const char* name;
        std::string file;
        RecordMode mode;
        std::string written;
    };
    auto lf = [](const std::string& body) { return record(body, "\n"); };
    const Case cases[] = {
        {"no date and no active line opens as immer", record("Text"), RecordMode::always,
         lf("<active=always>|Text")},
        {"yearly without active_before gets the preset", record("<date=14.05.1968>|Geburtstag"),
         RecordMode::yearly, lf("<date=14.05.1968>|<active_before=21>|Geburtstag")},
        {"once before the date line opens as jährlich",
         record("<active=once>|<date=1.2.99>|<active_before=3>|X"), RecordMode::yearly,
         lf("<date=01.02.1999>|<active_before=3>|X")},
        {"monthly nth weekday keeps its order",
         record("<active=monthly>|<active_day=friday>|<active_week=3>|<active_before=2>|M"),
         RecordMode::monthly,
         lf("<active=monthly>|<active_day=friday>|<active_week=3>|<active_before=2>|M")},
        {"period without a number writes 7",
         record("<date=01.01.1999>|<active=periodic>|<periodic_repeat=x>|P"), RecordMode::periodic,
         lf("<date=01.01.1999>|<active=periodic>|<periodic_repeat=7>|<active_before=21>|P")},
        {"unknown group is dropped, known group takes the table's spelling",
         record("<date=01.01.1999>|<group=VEREIN>|<group=TERMINE>|G"), RecordMode::yearly,
         lf("<date=01.01.1999>|<active_before=21>|<group=Termine>|G")},
        {"priority survives behind the group line, indentation goes",
         record("<priority=2>|<date=01.01.1999>|<group=termine>|\t  eingerückt  "),
         RecordMode::yearly,
         lf("<date=01.01.1999>|<active_before=21>|<group=Termine>|<priority=2>|eingerückt")},
        {"colour other than the default is written with a blank",
         record("<date=01.01.1999>|<color=255>|R"), RecordMode::yearly,
         lf("<date=01.01.1999>|<color= 255>|<active_before=21>|R")},
        {"the default colour writes no colour line", record("<color=0>|<active=always>|D"),
         RecordMode::always, lf("<active=always>|D")},
        {"an invalid date writes no date line", record("<date=31.02.1999>|F"), RecordMode::yearly,
         lf("<active_before=21>|F")},
        {"an empty line after <record> and after text stays a text line",
         record("|<date=01.01.1999>|A||B"), RecordMode::yearly,
         lf("<date=01.01.1999>|<active_before=21>||A||B")},
        {"a capitalised active value is text", record("<date=01.01.1999>|<active=Once>|O"),
         RecordMode::yearly, lf("<date=01.01.1999>|<active_before=21>|<active=Once>|O")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RoundTrip result = round_trip(c.file);
        EXPECT_EQ(c.mode, result.fields.mode);
        EXPECT_EQ(c.written, result.written);
    }
    const RoundTrip monthly = round_trip(cases[3].file);
    EXPECT_EQ(6, monthly.fields.day_selector);  // "Freitag"
    EXPECT_EQ("3", monthly.fields.ordinal);
    EXPECT_EQ("", monthly.fields.date);
}

TEST(RecordFields, ModeSwitchRemembersAndRestoresFieldTexts) {
    RecordFields f = initial_fields("14", std::nullopt, kGroups, kDefaultColor);
    RememberedTexts memory;
    select_mode(f, memory, RecordMode::yearly);
    f.date = "01.01.2000";
    select_mode(f, memory, RecordMode::monthly);
    EXPECT_EQ("", f.date);
    EXPECT_EQ("1", f.ordinal);
    EXPECT_EQ(kDayOfMonth, f.day_selector);
    f.ordinal = "15";
    select_mode(f, memory, RecordMode::always);
    EXPECT_EQ("", f.lead_time);
    EXPECT_EQ("", f.ordinal);
    EXPECT_EQ(kNoDay, f.day_selector);
    EXPECT_EQ("01.01.2000", f.date);
    select_mode(f, memory, RecordMode::monthly);
    EXPECT_EQ("15", f.ordinal);
    EXPECT_EQ("14", f.lead_time);
    EXPECT_EQ("", f.date);
}

TEST(RecordFields, NewRecordTakesThePresetsAndTheGroupOnlyFromAListPosition) {
    RecordFields f = initial_fields("7", 1, kGroups, 255);
    RememberedTexts memory;
    start_new_record(f, memory, 255);
    EXPECT_EQ(RecordMode::yearly, f.mode);
    EXPECT_EQ("7", f.lead_time);
    EXPECT_EQ("Geburtstage", f.group);
    EXPECT_EQ("", f.date);
    EXPECT_EQ(255, f.color);
    EXPECT_EQ("Termine", initial_fields("21", 3, kGroups, 0).group);
    for (const int position : {0, 5, -1}) {
        EXPECT_EQ("keine", initial_fields("21", position, kGroups, 0).group) << position;
    }
}

}  // namespace
}  // namespace merkwald
