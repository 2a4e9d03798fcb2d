#pragma once
// Golden cases (tests/engine/data/golden/*.case), read by the engine's and the
// window's tests alike. A case holds "name: value" options, then "=== file NAME"
// bodies (the reminder files, the first is the main file) and "=== SECTION"
// bodies (the expected list, messages, missed window, sound), all with LF. A body
// whose text does not end with a line break ends with "\ No newline at end".

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/text_file.h"

namespace merkwald::test {

struct GoldenCase {
    std::map<std::string, std::string> options;
    std::vector<std::pair<std::string, std::string>> files;  // name, text with LF
    std::map<std::string, std::string> expected;             // section, text with LF

    std::string option(const std::string& name, const std::string& fallback) const {
        const auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
    std::string section(const std::string& name) const {
        return expected.count(name) ? expected.at(name) : std::string();
    }
    // A file's bytes as the case asks for them: its line ends ("line_end": crlf,
    // the default, cr or lf) and its encoding ("encoding": utf8 or cp1252).
    std::string file_bytes(const std::string& text) const {
        const std::string end = option("line_end", "crlf");
        const std::string line_end = end == "crlf" ? "\r\n" : end == "cr" ? "\r" : "\n";
        std::string out;
        for (char ch : text) out += ch == '\n' ? line_end : std::string(1, ch);
        if (option("encoding", "utf8") == "cp1252") out = *utf8_to_windows1252(out);
        return out;
    }
};

inline GoldenCase load_golden_case(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    GoldenCase c;
    std::string line;
    std::string* body = nullptr;
    while (std::getline(in, line)) {
        if (line.starts_with("=== file ")) {
            c.files.emplace_back(line.substr(9), "");
            body = &c.files.back().second;
        } else if (line.starts_with("=== ")) {
            body = &c.expected[line.substr(4)];
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

// Every CRLF and lone CR of `text` as LF.
inline std::string lf(std::string_view text) {
    std::string out(text);
    for (auto at = out.find("\r\n"); at != std::string::npos; at = out.find("\r\n", at))
        out.erase(at, 1);
    std::replace(out.begin(), out.end(), '\r', '\n');
    return out;
}

inline std::vector<std::filesystem::path> golden_cases() {
    std::vector<std::filesystem::path> cases;
    const auto folder = std::filesystem::path(MERKWALD_SOURCE_DIR) / "tests/engine/data/golden";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".case") cases.push_back(entry.path());
    std::sort(cases.begin(), cases.end());
    return cases;
}

inline std::string golden_test_name(const ::testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name = info.param.stem().string();
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

}  // namespace merkwald::test
