// Golden files: each tests/engine/data/golden/*.case holds the settings, the
// reminder files and the expected list, messages and missed window of one refresh
// (format in tests/support/golden_case.h).

#include "../support/golden_case.h"
#include "engine/list_view.h"
#include "engine/refresh.h"
#include "engine_test_support.h"

namespace merkwald::test {
namespace {

namespace fs = std::filesystem;

class Golden : public ::testing::TestWithParam<fs::path> {};

TEST_P(Golden, ListMessagesAndMissedWindow) {
    const GoldenCase c = load_golden_case(GetParam());
    const fs::path folder = make_unique_folder("merkwald-golden-" + GetParam().stem().string());
    for (const auto& [name, text] : c.files)
        std::ofstream(folder / name, std::ios::binary) << c.file_bytes(text);

    EngineSettings settings;
    settings.last_start = c.option("last_start", "01.01.80");
    settings.groups = c.option("groups", "true") == "true";
    settings.light = c.option("light", "false") == "true";
    EngineState state(settings, d(c.option("today", "05.03.1999").c_str()), folder);
    RefreshTables tables;
    RecordingSink sink;
    refresh(state, tables, c.files.at(0).first, sink);

    ListStyle style;
    style.suppress_space = c.option("suppress_space", "false") == "true";
    style.light = settings.light;
    std::string list, messages, missed;
    if (tables.read_ok)
        list = lf(plain_text(compose_list(state, sort_by_group(state, tables), style)));
    for (const auto& shown : sink.shown) messages += lf(shown.text) + "\n";
    if (!tables.missed.empty()) {
        const MissedView view = missed_view(state, tables, sink);
        missed = lf(view.caption) + "\n" + lf(view.text);
    }
    for (const auto& [section, actual] : {std::pair<std::string, std::string>{"list", list},
                                          {"missed", missed},
                                          {"sound", state.sound_mark ? "on\n" : "off\n"}}) {
        if (c.expected.count(section)) {
            EXPECT_EQ(actual, c.expected.at(section)) << section;
        }
    }
    EXPECT_EQ(messages, c.section("messages"));
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Files, Golden, ::testing::ValuesIn(golden_cases()), golden_test_name);

// The list heading marks a legal day off of the chosen state, once, even where
// the feast list names the day too; other states' days stay plain.
TEST(ListHeadingState, MarksOnlyTheChosenStatesDaysOff) {
    const DaySerial epiphany = *make_date(2026, 1, 6);
    EXPECT_EQ(list_heading(epiphany, State::BY),
              "Dienstag, 6.1.2026, Dreikönigstag, Heilige Drei Könige (gesetzlicher Feiertag)");
    EXPECT_EQ(list_heading(epiphany, State::BE), "Dienstag, 6.1.2026, Dreikönigstag");
}

}  // namespace
}  // namespace merkwald::test
