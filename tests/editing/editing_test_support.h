#pragma once
// Temporary folders, file bytes, records and what the list shows, for the tests
// of the record work without widgets.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "calendar/date_serial.h"
#include "engine/engine_state.h"
#include "engine/refresh.h"
#include "engine/text_file.h"
#include "tests/support/recording_sink.h"

namespace merkwald::test {

inline std::string read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names of the files in `folder`.
inline std::set<std::string> names_in(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

inline std::string latin1(std::string_view utf8) { return *utf8_to_windows1252(utf8); }

// A record with the lines of `body` (separated by '|') and the line end `end`.
inline std::string record(const std::string& body, std::string_view end = "\r\n") {
    std::string text;
    for (const char& c : "<record>|" + body + "|</record>|")
        text += c == '|' ? end : std::string_view(&c, 1);
    return text;
}

inline int count_of(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class TempFolder {
public:
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

private:
    QTemporaryDir dir_;
    std::filesystem::path path_{dir_.path().toStdString()};
};

inline DaySerial day(int y, int m, int d) { return *make_date(y, m, d); }

// What the list shows on `today` when it reads `file` as the programs do: each
// entry's text (without its final line break) and every message of the read.
struct Listed {
    std::vector<std::string> texts;
    std::vector<std::string> messages;
};
inline Listed listed_on(const std::filesystem::path& file, DaySerial today, int lead_days = 0) {
    EngineState state(EngineSettings{}, today, file.parent_path());
    state.lead_days = lead_days;
    RefreshTables tables;
    RecordingSink sink;
    refresh(state, tables, file.filename().string(), sink);
    Listed listed;
    for (const LineEntry& line : tables.lines) {
        std::string text = line.text;
        while (text.ends_with("\r\n")) text.resize(text.size() - 2);
        listed.texts.push_back(text);
    }
    for (const RecordingSink::Shown& shown : sink.shown) listed.messages.push_back(shown.text);
    return listed;
}

}  // namespace merkwald::test

namespace merkwald {
using test::latin1;
using test::names_in;
using test::read_bytes;
using test::record;
using test::TempFolder;
using test::write_bytes;
}  // namespace merkwald
