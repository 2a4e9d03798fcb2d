// Golden files: each tests/engine/data/golden/*.case holds the settings, the
// reminder files and the expected list, messages and missed window of one refresh.
// A section whose text does not end with a line break ends with "\ No newline at end".

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "../support/recording_sink.h"
#include "engine/date_text.h"
#include "engine/list_view.h"
#include "engine/refresh.h"
#include "engine/text_file.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

struct Case {
    std::map<std::string, std::string> options;
    std::vector<std::pair<std::string, std::string>> files;  // name, text with LF
    std::map<std::string, std::string> expected;              // section, text with LF
};

Case load_case(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    Case c;
    std::string line, section, file;
    std::string* body = nullptr;
    while (std::getline(in, line)) {
        if (line.starts_with("=== ")) {
            section = line.substr(4);
            if (section.starts_with("file ")) {
                c.files.emplace_back(section.substr(5), "");
                body = &c.files.back().second;
            } else {
                body = &c.expected[section];
            }
        } else if (body && line == "\\ No newline at end") {
            if (!body->empty()) body->pop_back();
        } else if (body) {
            *body += line + "\n";
        } else if (const auto colon = line.find(": "); colon != std::string::npos) {
            c.options[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    return c;
}

std::string lf(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i] == '\r' ? '\n' : text[i];
    }
    return out;
}

std::string option(const Case& c, const std::string& name, const std::string& fallback) {
    const auto it = c.options.find(name);
    return it == c.options.end() ? fallback : it->second;
}

void write_file(const fs::path& path, std::string text, const Case& c) {
    const std::string end = option(c, "line_end", "crlf");
    const std::string_view line_end = end == "crlf" ? "\r\n" : end == "cr" ? "\r" : "\n";
    std::string converted;
    for (char ch : text) converted += ch == '\n' ? std::string(line_end) : std::string(1, ch);
    text = converted;
    if (option(c, "encoding", "utf8") == "cp1252") text = *utf8_to_windows1252(text);
    std::ofstream(path, std::ios::binary) << text;
}

class Golden : public ::testing::TestWithParam<fs::path> {};

TEST_P(Golden, ListMessagesAndMissedWindow) {
    const Case c = load_case(GetParam());
    const fs::path folder =
        fs::temp_directory_path() / ("merkwald-golden-" + GetParam().stem().string());
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& [name, text] : c.files) write_file(folder / name, text, c);

    EngineSettings settings;
    settings.last_start = option(c, "last_start", "01.01.80");
    settings.groups = option(c, "groups", "true") == "true";
    settings.light = option(c, "light", "false") == "true";
    settings.record_color = std::uint32_t(std::stoul(option(c, "record_color", "0")));
    const auto today = parse_date(option(c, "today", "05.03.1999"));
    ASSERT_TRUE(today);
    EngineState state(settings, *today, folder);
    if (c.options.count("lead_days")) state.lead_days = std::stoi(c.options.at("lead_days"));
    RefreshTables tables;
    test::RecordingSink sink;
    const int refreshes = std::stoi(option(c, "refreshes", "1"));
    for (int i = 0; i < refreshes; ++i) refresh(state, tables, c.files.at(0).first, sink);

    ListStyle style;
    style.suppress_space = option(c, "suppress_space", "false") == "true";
    style.light = settings.light;
    std::string list;
    if (tables.read_ok)
        list = lf(plain_text(compose_list(state, sort_by_group(state, tables), style)));
    std::string messages;
    for (const auto& shown : sink.shown) messages += lf(shown.text) + "\n";
    sink.shown.clear();
    std::string missed;
    if (!tables.missed.empty()) {
        const MissedView view = missed_view(state, tables, sink);
        missed = lf(view.caption) + "\n" + lf(view.text);
    }

    const auto expect = [&c](const char* section, const std::string& actual) {
        if (c.expected.count(section)) {
            EXPECT_EQ(actual, c.expected.at(section)) << section;
        }
    };
    expect("list", list);
    expect("missed", missed);
    expect("sound", state.sound_mark ? "on\n" : "off\n");
    EXPECT_EQ(messages, c.expected.count("messages") ? c.expected.at("messages") : "");
    fs::remove_all(folder);
}

std::vector<fs::path> golden_cases() {
    std::vector<fs::path> cases;
    for (const auto& entry : fs::directory_iterator(fs::path(MERKWALD_TEST_DATA) / "golden"))
        if (entry.path().extension() == ".case") cases.push_back(entry.path());
    std::sort(cases.begin(), cases.end());
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Files, Golden, ::testing::ValuesIn(golden_cases()),
                         [](const auto& info) {
                             std::string name = info.param.stem().string();
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

}  // namespace
}  // namespace merkwald
