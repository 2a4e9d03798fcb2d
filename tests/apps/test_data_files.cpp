// The files shipped in data/: the example reminder file reads cleanly on every
// day, and the text-module and template files keep their formats.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>

#include "engine/date_text.h"
#include "engine/list_view.h"
#include "engine/placeholders.h"
#include "engine/places.h"
#include "engine/refresh.h"
#include "engine/text.h"
#include "engine/text_file.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

const std::filesystem::path kData = std::filesystem::path(MERKWALD_SOURCE_DIR) / "data";

std::vector<std::string> data_lines(const std::string& name) {
    const auto file = read_text_file(kData / name);
    EXPECT_TRUE(file.has_value()) << name;
    return file ? split_lines(file->text) : std::vector<std::string>{};
}

// A template around a name as a due record would show it; empty when the expansion reported.
std::string expand_quietly(const std::string& text) {
    EngineState state(EngineSettings{}, *make_date(2027, 3, 5), kData);
    test::RecordingSink sink;
    DaySerial event_date = *make_date(2027, 3, 7);
    std::string out = expand_placeholders(state, text + "\r\n", *make_date(1970, 3, 7), event_date,
                                          {"template", 1}, sink);
    return sink.shown.empty() ? out : std::string();
}

TEST(DataFiles, ExampleFileReadsWithoutMessagesOnEveryDay) {
    const DaySerial first = *make_date(2026, 12, 1);
    EngineSettings settings;
    settings.last_start = "01.12.25";
    EngineState state(settings, first, kData);
    test::RecordingSink sink;
    std::set<int> groups_seen;
    for (DaySerial day = first; day < first + 2 * 366; ++day) {
        state.today = day;
        RefreshTables tables;
        refresh(state, tables, "beispiel.rmd", sink);
        const std::string when = format_date(day, "dd.mm.yyyy");
        ASSERT_TRUE(tables.read_ok) << when;
        ASSERT_EQ(sink.shown.size(), 0u) << when << ": " << sink.shown.front().text;
        EXPECT_GE(tables.lines.size(), 1u) << when;
        for (const LineEntry& line : tables.lines) EXPECT_FALSE(line.text.empty()) << when;
        for (const SortedLine& row : sort_by_group(state, tables).rows)
            groups_seen.insert(row.group);
        if (day == first) {
            (void)missed_view(state, tables, sink);
            EXPECT_EQ(sink.shown.size(), 0u);
        }
    }
    EXPECT_EQ(groups_seen, (std::set<int>{0, 1, 2, 3, 4}));
}

// "texte.dat": a count line, then pairs of text to insert and menu caption, ten places in
// the menu. The template files: four-line blocks of "*", caption, text before and text
// after the name, at most 25 read. Every text expands around a name without a message.
TEST(DataFiles, TextFilesKeepTheirFormats) {
    const std::vector<std::string> texts = data_lines("texte.dat");
    ASSERT_FALSE(texts.empty());
    const int count = std::stoi(texts[0]);
    EXPECT_TRUE(count >= 1 && count <= 10) << count;
    ASSERT_EQ(texts.size(), std::size_t(1 + 2 * count));
    for (int k = 0; k < count; ++k) {
        EXPECT_NE(trim_blanks(texts[2 + 2 * k]), "") << "caption " << k + 1;
        EXPECT_NE(expand_quietly("Anna" + texts[1 + 2 * k]), "") << texts[1 + 2 * k];
    }
    for (const char* name : {"geb_text.dat", "term_text.dat"}) {
        const std::vector<std::string> lines = data_lines(name);
        ASSERT_EQ(lines.size() % 4, 0u) << name;
        EXPECT_TRUE(lines.size() >= 4 && lines.size() <= 100) << name;
        for (std::size_t b = 0; b + 3 < lines.size(); b += 4) {
            EXPECT_EQ(trim_blanks(lines[b]), "*") << name << " line " << b + 1;
            EXPECT_NE(trim_blanks(lines[b + 1]), "") << name << " line " << b + 2;
            const std::string text = std::string(trim_blanks(lines[b + 2])) + " Anna " +
                                     std::string(trim_blanks(lines[b + 3]));
            EXPECT_NE(expand_quietly(text).find("Anna"), std::string::npos) << name << ": " << text;
        }
    }
}

// The default place is one of the places offered, at the default coordinates.
TEST(DataFiles, PlacesHoldTheDefaultPlace) {
    const PlacesFile file = read_places(kData);
    ASSERT_TRUE(file.ok);
    EXPECT_EQ(file.count, int(file.places.size()));
    const auto landshut = std::find_if(file.places.begin(), file.places.end(),
                                       [](const Place& p) { return p.name == "Landshut"; });
    ASSERT_NE(landshut, file.places.end());
    EXPECT_EQ(
        std::tuple(landshut->longitude_degree, landshut->longitude_minute,
                   landshut->longitude_direction, landshut->latitude_degree,
                   landshut->latitude_minute, landshut->latitude_direction, landshut->diff_to_gmt),
        std::tuple(12.0, 9.0, std::string("O"), 48.0, 33.0, std::string("N"), 1.0));
}

}  // namespace
}  // namespace merkwald
