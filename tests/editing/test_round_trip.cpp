#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editing/field_checks.h"
#include "editing/record_file.h"
#include "editing_test_support.h"
#include "engine/date_text.h"
#include "engine/reader.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

const std::vector<std::string> kGroups = {"Geburtstage", "Termine"};
const DaySerial kToday = test::day(2026, 12, 7);

class RoundTrip : public ::testing::Test {
protected:
    std::mt19937 random{20261207};
    TempFolder folder;
    test::RecordingSink sink;

    int between(int low, int high) { return std::uniform_int_distribution(low, high)(random); }

    // Placeholders only whole: a stray "<" is a syntax error of the text.
    std::string word() {
        static const char* const words[] = {"Anna",           "Größe",       "x=y",       "€uro",
                                            "<event_dd>",     "Ĳssel",       "1,5",       "ß",
                                            "Zeile\u00A0mit", "\"zitiert\"", "<dd>.<mm>."};
        return words[between(0, std::size(words) - 1)];
    }

    // A line as a user may type it: never one that reads as a tag.
    std::string text_line() {
        if (between(0, 9) == 0) return "<priority=" + std::to_string(between(1, 9)) + ">";
        std::string line = word();
        for (int n = between(0, 3); n > 0; --n) {
            line += ' ';  // not `" " + word()`: GCC 12 at -O3 misreports that (-Wrestrict)
            line += word();
        }
        return line;
    }

    std::string date() {
        const int year = between(0, 1) == 0 ? between(100, 999) : between(1000, 2025);
        return written_date(*make_date(year, between(1, 12), between(1, 28)));
    }

    RecordFields random_fields() {
        RecordFields f;
        f.mode = static_cast<RecordMode>(between(0, 4));
        f.date = *f.mode == RecordMode::always && between(0, 1) == 0 ? "" : date();
        f.lead_time = *f.mode == RecordMode::always ? "" : std::to_string(between(0, 32767));
        f.period = *f.mode == RecordMode::periodic ? std::to_string(between(1, 32767)) : "";
        f.ordinal = *f.mode == RecordMode::monthly ? std::to_string(between(1, 31)) : "";
        f.day_selector = *f.mode == RecordMode::monthly ? between(0, 7) : kNoDay;
        f.group = between(0, 2) == 0 ? "keine" : kGroups[std::size_t(between(0, 1))];
        f.color = static_cast<std::int32_t>(random());
        f.text = text_line();
        for (int n = between(0, 2); n > 0; --n) {
            f.text += '\n';  // appended apart, as in text_line()
            f.text += text_line();
        }
        return f;
    }

    // The engine reads the file without a single message.
    void expect_reader_accepts(const std::filesystem::path& file) {
        EngineState engine(EngineSettings{}, kToday, folder.path());
        RefreshTables tables;
        read_records(engine, tables, file.string(), true, sink);
        EXPECT_TRUE(sink.shown.empty()) << sink.shown.front().text << "\n" << read_bytes(file);
        EXPECT_TRUE(tables.read_ok);
    }
};

TEST_F(RoundTrip, EditorRecordsReadBackWithTheSameFields) {
    EditingState state;
    state.current_file = folder / "editor.rmd";
    for (int i = 0; i < 200; ++i) {
        RecordFields written = random_fields();
        ASSERT_FALSE(check_record_fields(written)) << check_record_fields(written)->message;
        ASSERT_TRUE(append_record(state, written, 0, sink).ok());
        state.current_record = state.record_count();
        RecordFields read = initial_fields("21", std::nullopt, kGroups, 0);
        RememberedTexts memory;
        ASSERT_TRUE(load_record(state, {kGroups, 0}, read, memory, sink));
        // A monthly record's date waits in the remembered texts.
        if (written.mode == RecordMode::monthly) read.date = memory.date;
        if (written.mode != RecordMode::monthly) read.day_selector = written.day_selector;
        if (written.mode != RecordMode::periodic) read.period = written.period;
        if (written.mode != RecordMode::monthly) read.ordinal = written.ordinal;
        EXPECT_EQ(written, read) << i << "\n" << written.text;
    }
    expect_reader_accepts(state.current_file);
}

}  // namespace
}  // namespace merkwald
