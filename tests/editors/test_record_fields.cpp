#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/record_fields.h"
#include "editors/reminder_document.h"

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
    const Case cases[] = {
        {"no date and no active line opens as immer",
         "<record>\r\nText\r\n</record>\r\n", RecordMode::always,
         "<record>\n<active=always>\nText\n</record>\n"},
        {"yearly without active_before gets the preset",
         "<record>\r\n<date=14.05.1968>\r\nGeburtstag\r\n</record>\r\n", RecordMode::yearly,
         "<record>\n<date=14.05.1968>\n<active_before=21>\nGeburtstag\n</record>\n"},
        {"once before the date line opens as jährlich",
         "<record>\r\n<active=once>\r\n<date=1.2.99>\r\n<active_before=3>\r\nX\r\n</record>\r\n",
         RecordMode::yearly,
         "<record>\n<date=01.02.1999>\n<active_before=3>\nX\n</record>\n"},
        {"monthly nth weekday keeps its order",
         "<record>\r\n<active=monthly>\r\n<active_day=friday>\r\n<active_week=3>\r\n"
         "<active_before=2>\r\nM\r\n</record>\r\n",
         RecordMode::monthly,
         "<record>\n<active=monthly>\n<active_day=friday>\n<active_week=3>\n"
         "<active_before=2>\nM\n</record>\n"},
        {"period without a number writes 7",
         "<record>\r\n<date=01.01.1999>\r\n<active=periodic>\r\n<periodic_repeat=x>\r\n"
         "P\r\n</record>\r\n",
         RecordMode::periodic,
         "<record>\n<date=01.01.1999>\n<active=periodic>\n<periodic_repeat=7>\n"
         "<active_before=21>\nP\n</record>\n"},
        {"unknown group is dropped, known group takes the table's spelling",
         "<record>\r\n<date=01.01.1999>\r\n<group=VEREIN>\r\n<group=TERMINE>\r\nG\r\n</record>\r\n",
         RecordMode::yearly,
         "<record>\n<date=01.01.1999>\n<active_before=21>\n<group=Termine>\nG\n</record>\n"},
        {"priority survives behind the group line, indentation goes",
         "<record>\r\n<priority=2>\r\n<date=01.01.1999>\r\n<group=termine>\r\n\t  eingerückt  \r\n"
         "</record>\r\n",
         RecordMode::yearly,
         "<record>\n<date=01.01.1999>\n<active_before=21>\n<group=Termine>\n<priority=2>\n"
         "eingerückt\n</record>\n"},
        {"colour other than the default is written with a blank",
         "<record>\r\n<date=01.01.1999>\r\n<color=255>\r\nR\r\n</record>\r\n", RecordMode::yearly,
         "<record>\n<date=01.01.1999>\n<color= 255>\n<active_before=21>\nR\n</record>\n"},
        {"the default colour writes no colour line",
         "<record>\r\n<color=0>\r\n<active=always>\r\nD\r\n</record>\r\n", RecordMode::always,
         "<record>\n<active=always>\nD\n</record>\n"},
        {"an invalid date writes no date line",
         "<record>\r\n<date=31.02.1999>\r\nF\r\n</record>\r\n", RecordMode::yearly,
         "<record>\n<active_before=21>\nF\n</record>\n"},
        {"an empty line after <record> and after text stays a text line",
         "<record>\r\n\r\n<date=01.01.1999>\r\nA\r\n\r\nB\r\n</record>\r\n", RecordMode::yearly,
         "<record>\n<date=01.01.1999>\n<active_before=21>\n\nA\n\nB\n</record>\n"},
        {"a capitalised active value is text", "<record>\r\n<date=01.01.1999>\r\n<active=Once>\r\n"
         "O\r\n</record>\r\n",
         RecordMode::yearly,
         "<record>\n<date=01.01.1999>\n<active_before=21>\n<active=Once>\nO\n</record>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RoundTrip result = round_trip(c.file);
        EXPECT_EQ(c.mode, result.fields.mode);
        EXPECT_EQ(c.written, result.written);
    }
}

TEST(RecordFields, MonthlyRecordOpensWithItsDaySelectorAndOrdinal) {
    const RoundTrip r = round_trip(
        "<record>\r\n<active=monthly>\r\n<active_day=friday>\r\n<active_week=3>\r\nM\r\n"
        "</record>\r\n");
    EXPECT_EQ(6, r.fields.day_selector);  // "Freitag"
    EXPECT_EQ("3", r.fields.ordinal);
    EXPECT_EQ("", r.fields.date);
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

TEST(RecordFields, DateFormsAreWrittenInTheOneFullForm) {
    EXPECT_EQ("07.03.1999", prepare_date("7.3.99"));
    EXPECT_EQ("07.03.1970", prepare_date(" 07.03.1970 "));
    EXPECT_EQ("", prepare_date("morgen"));
    EXPECT_EQ("", prepare_date(""));
}

TEST(RecordFields, PreferredGroupIsUsedOnlyWhenItIsAListPosition) {
    EXPECT_EQ("Termine", initial_fields("21", 3, kGroups, 0).group);
    EXPECT_EQ("keine", initial_fields("21", 0, kGroups, 0).group);
    EXPECT_EQ("keine", initial_fields("21", 5, kGroups, 0).group);
    EXPECT_EQ("keine", initial_fields("21", -1, kGroups, 0).group);
}

TEST(RecordFields, NewRecordIsYearlyWithThePresets) {
    RecordFields f = initial_fields("7", 1, kGroups, 255);
    RememberedTexts memory;
    start_new_record(f, memory, 255);
    EXPECT_EQ(RecordMode::yearly, f.mode);
    EXPECT_EQ("7", f.lead_time);
    EXPECT_EQ("Geburtstage", f.group);
    EXPECT_EQ("", f.date);
    EXPECT_EQ(255, f.color);
}

}  // namespace
}  // namespace merkwald
