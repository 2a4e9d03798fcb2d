// The files shipped in data/: the example reminder file reads cleanly on every
// day, the text-module and template files keep their formats, the release in the
// AppStream file is the project's version and the completion knows every command.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "engine/date_text.h"
#include "engine/list_view.h"
#include "engine/placeholders.h"
#include "engine/refresh.h"
#include "engine/text.h"
#include "engine/text_file.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

const std::filesystem::path kData = std::filesystem::path(MERKWALD_SOURCE_DIR) / "data";

std::string file_text(const std::filesystem::path& path) {
    const auto file = read_text_file(path);
    EXPECT_TRUE(file.has_value()) << path;
    return file ? file->text : std::string();
}

std::string first_match(const std::string& text, const std::string& pattern) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(pattern)) ? match[1].str() : std::string();
}

// A template around a name as a due record would show it; empty when the expansion reported.
std::string expand_quietly(const std::string& text) {
    EngineState state(EngineSettings{}, *make_date(2027, 3, 5), kData);
    test::RecordingSink sink;
    std::string out =
        expand_placeholders(state, text + "\r\n",
                            {.record = *make_date(1970, 3, 7), .event = *make_date(2027, 3, 7)},
                            {"template", 1}, sink)
            .text;
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
        if (day == first) (void)missed_view(state, tables, sink);  // and the missed window
        const std::string when = format_date(day, "dd.mm.yyyy");
        ASSERT_TRUE(tables.read_ok) << when;
        ASSERT_EQ(sink.shown.size(), 0u) << when << ": " << sink.shown.front().text;
        for (const SortedLine& row : sort_by_group(state, tables).rows)
            groups_seen.insert(row.group);
    }
    EXPECT_EQ(groups_seen, (std::set<int>{0, 1, 2, 3, 4}));
}

// "texte.dat": a count line, then pairs of text to insert and menu caption, ten places in
// the menu. The template files: four-line blocks of "*", caption, text before and text
// after the name, at most 25 read. Every text expands around a name without a message.
TEST(DataFiles, TextFilesKeepTheirFormats) {
    const std::vector<std::string> texts = split_lines(file_text(kData / "texte.dat"));
    ASSERT_FALSE(texts.empty());
    const int count = std::stoi(texts[0]);
    EXPECT_TRUE(count >= 1 && count <= 10) << count;
    ASSERT_EQ(texts.size(), std::size_t(1 + 2 * count));
    for (int k = 0; k < count; ++k) {
        EXPECT_NE(trim_blanks(texts[2 + 2 * k]), "") << "caption " << k + 1;
        EXPECT_NE(expand_quietly("Anna" + texts[1 + 2 * k]), "") << texts[1 + 2 * k];
    }
    for (const char* name : {"geb_text.dat", "term_text.dat"}) {
        const std::vector<std::string> lines = split_lines(file_text(kData / name));
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

// The release in the AppStream file and the manual pages is the project's
// version; the completion offers every command the tool knows.
TEST(Packaging, ReleaseVersionAndCompletionFollowTheProject) {
    const std::string version = first_match(file_text(kData / "../CMakeLists.txt"),
                                            R"(project\(Merkwald VERSION ([0-9.]+))");
    ASSERT_FALSE(version.empty());
    const std::string metainfo = file_text(kData / "org.merkwald.Merkwald.metainfo.xml");
    EXPECT_EQ(version, first_match(metainfo, R"(<release version="([^"]+)\")"));
    for (const char* page : {"merkwald.1", "merklight.1", "merkwald-cli.1"})
        EXPECT_EQ("Merkwald " + version,
                  first_match(file_text(kData / "man" / page), R"(^\.TH \S+ 1 "[^"]*" "([^"]*)\")"))
            << page;
    const std::string completion = file_text(kData / "completion/merkwald-cli");
    const std::string offered = first_match(completion, R"(local commands="([^"]*)\")") + ' ';
    for (const char* command : {"list", "missed", "holidays", "church-year", "holiday", "astro",
                                "ics", "check", "add", "namedays", "publish"})
        EXPECT_NE(std::string::npos, offered.find(std::string(command) + ' ')) << command;
}

}  // namespace
}  // namespace merkwald
