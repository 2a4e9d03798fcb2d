// The list heading marks a legal day off of the chosen state.

#include <gtest/gtest.h>

#include "engine/list_view.h"

namespace merkwald {
namespace {

TEST(ListHeadingState, MarksOnlyTheChosenStatesDaysOff) {
    struct Row {
        int y, m, d;
        std::optional<State> state;
        const char* ends_with;
    };
    const Row rows[] = {
        {2026, 9, 20, State::TH, "Weltkindertag (gesetzlicher Feiertag)"},
        {2026, 3, 8, State::BE, "Frauentag (gesetzlicher Feiertag)"},
        {2026, 1, 6, State::BY, " (gesetzlicher Feiertag)"},
        {2026, 12, 25, State::HB, " (gesetzlicher Feiertag)"},
    };
    for (const Row& row : rows) {
        const DaySerial day = *make_date(row.y, row.m, row.d);
        const std::string heading = list_heading(day, row.state);
        EXPECT_TRUE(heading.ends_with(row.ends_with)) << heading;
        // The state's day is named once, even when the feast list knows it too.
        EXPECT_EQ(heading.find("gesetzlicher"), heading.rfind("gesetzlicher")) << heading;
        EXPECT_EQ(list_heading(day), heading.substr(0, list_heading(day).size())) << heading;
    }
    // Without a state, or on a working day, the heading is as before.
    const DaySerial workday = *make_date(2026, 3, 9);
    EXPECT_EQ(list_heading(workday, State::BE), list_heading(workday));
}

}  // namespace
}  // namespace merkwald
