// Inputs the fuzz targets (fuzz/) turned up, kept as byte strings: each once led
// the engine astray; here they must give sound results.

#include "engine/list_view.h"
#include "engine/refresh.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

class FuzzRegression : public test::TempFolderTest {
protected:
    // Refreshes on `bytes` as the main file and composes the list as the window does.
    std::string run(std::string_view bytes, const char* today) {
        write("main.rmd", bytes);
        state_ = std::make_unique<EngineState>(EngineSettings{}, test::d(today), folder_);
        refresh(*state_, tables_, "main.rmd", sink_);
        return plain_text(compose_list(*state_, sort_by_group(*state_, tables_), {}));
    }

    std::unique_ptr<EngineState> state_;
    RefreshTables tables_;
    test::RecordingSink sink_;
};

// A period of 32767 days from 1990 runs past 31.12.9999: the record has no
// occurrence left, instead of one in the year 10080.
TEST_F(FuzzRegression, PeriodicOccurrenceBeyondTheCalendarEnd) {
    const std::string_view file =
        "<record>\r\n<date=01.07.9990>\r\n<active=periodic>\r\n<periodic_repeat=32767>\r\n"
        "<active_before=32767>\r\nP <event_d.m.yyyy>\r\n</record>\r\n"
        "<record>\r\n<date=01.07.9990>\r\n<active=periodic>\r\n<periodic_repeat=32767>\r\n"
        "<active=always>\r\nA <event_d.m.yyyy>\r\n</record>\r\n";
    const std::string list = run(file, "01.06.9999");
    ASSERT_EQ(tables_.lines.size(), 1u);
    EXPECT_EQ(tables_.lines[0].text, "A 1. 7. 9999\r\n") << "the event date stays the anniversary";
    EXPECT_TRUE(in_range(tables_.lines[0].sort_date));
    EXPECT_EQ(list.find("10080"), std::string::npos) << list;
    EXPECT_TRUE(sink_.shown.empty());
}

// Extreme values at both ends of the calendar: every date the engine computes
// stays inside it and the list and missed window are built.
TEST_F(FuzzRegression, ExtremeRecordsStayInsideTheCalendar) {
    const std::pair<const char*, std::string_view> rows[] = {
        {"31.12.9999",
         "<record>\n<date=1.1.9999>\n<active=periodic>\n<periodic_repeat=32767>\n"
         "<active_before=32767>\nP <event_d.m.yyyy> <days_before_event_text>\n</record>\n"},
        {"31.12.9999",
         "<record>\n<date=31.12.9999>\n<active=monthly>\n<active_week=32767>\n"
         "<active_day=saturday>\n<active_before=32767>\nN <event_ww>\n</record>\n"},
        {"1.1.0100",
         "<record>\n<date=1.1.0100>\n<active=monthly>\n<active_day=-32768>\n"
         "<active_before=-32768>\nM <weeks_before_event> <months_before_event>\n</record>\n"},
        {"1.1.0100",
         "<record>\r<date=29.02.0104>\r<active_before=32767>\r<priority=2>\r"
         "L <years_after_date> <full_years_after_date> <sunrise> \xe4<\r</record>\r"},
    };
    for (const auto& [today, file] : rows) {
        SCOPED_TRACE(today);
        const std::string list = run(file, today);
        EXPECT_FALSE(list.empty());
        EXPECT_TRUE(in_range(state_->record.event_date)) << state_->record.event_date;
        for (const LineEntry& line : tables_.lines) EXPECT_TRUE(in_range(line.sort_date));
        if (!tables_.missed.empty()) {
            EXPECT_FALSE(missed_view(*state_, tables_, sink_).text.empty());
        }
    }
}

}  // namespace
}  // namespace merkwald
