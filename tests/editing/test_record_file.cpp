#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <tuple>

#include "editing/field_checks.h"
#include "editing/record_file.h"
#include "editing/record_list_files.h"
#include "editing_test_support.h"
#include "engine/text_file.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kGroups = {"Geburtstage", "Namenstage", "Termine", "Sonstiges"};
const std::string kA = record("<date=01.01.1990>|Anna");
const std::string kB = record("<date=02.02.1990>|Bernd");
const std::string kC = record("<date=03.03.1990>|Clara");

class RecordFile : public ::testing::Test {
protected:
    TempFolder folder;
    test::RecordingSink sink;
    EditingState state;
    RememberedTexts memory;  // what the last load put aside

    // What the list shows of the state's file on that day; the read says nothing.
    std::vector<std::string> shown(const std::tuple<int, int, int>& on) {
        const auto [y, m, d] = on;
        const test::Listed listed = test::listed_on(state.current_file, test::day(y, m, d));
        EXPECT_EQ(std::vector<std::string>{}, listed.messages);
        return listed.texts;
    }

    void open(const std::string& bytes, const std::string& name = "a.rmd") {
        state.current_file = folder / name;
        write_bytes(state.current_file, bytes);
        ASSERT_TRUE(rescan(state, sink));
    }
    RecordFields load(int number) {
        state.current_record = number;
        RecordFields fields = initial_fields("21", std::nullopt, kGroups, 0);
        memory = {};
        EXPECT_TRUE(load_record(state, {kGroups, 0}, fields, memory, sink));
        return fields;
    }
};

// Replacing a record keeps every other byte; appending ends an open last line,
// then writes one empty line and the record. What the tools write has CRLF
// whatever the rest of the file uses, and the file's encoding.
TEST_F(RecordFile, ReplaceAndAppendKeepEveryOtherByte) {
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"UTF-8, CRLF", "\r\n", false}, {"LF only", "\n", false}, {"Windows-1252, CR", "\r", true}};
    for (const auto& [name, end, windows1252] : cases) {
        SCOPED_TRACE(name);
        const bool in_1252 = windows1252;
        const auto enc = [in_1252](const std::string& s) { return in_1252 ? latin1(s) : s; };
        const std::string first = enc("Kopfzeile mit Ümläut" + end +
                                      record("<date=01.01.1970>|Jürgen\t hat Geburtstag", end));
        const std::string last = enc(record("<active=always>|Größe   ", end) + "Nachsatz");
        open(first + enc(record("<date=2.2.99>|<active=once>|Zweiter", end)) + last);
        RecordFields fields = load(2);
        fields.text = "Zweiter, geändert";
        ASSERT_TRUE(replace_record(state, fields, 0, sink).ok());
        const std::string replaced =
            first +
            enc("<record>\r\n<date=02.02.1999>\r\n<active=once>\r\n"
                "<active_before=21>\r\nZweiter, geändert\r\n</record>\r\n") +
            last;
        EXPECT_EQ(replaced, read_bytes(state.current_file));
        EXPECT_EQ(shown({1999, 2, 2}), (std::vector<std::string>{"Zweiter, geändert", "Größe"}));
        fields = load(4);
        fields.date = "7.3.70";
        fields.text = "Neü";
        ASSERT_TRUE(append_record(state, fields, 0).ok());
        EXPECT_EQ(replaced + "\r\n\r\n" + enc(record("<date=07.03.1970>|<active_before=21>|Neü")),
                  read_bytes(state.current_file));
        EXPECT_EQ(4, state.record_count());
        EXPECT_EQ(shown({1999, 3, 7}), (std::vector<std::string>{"Größe", "Neü"}));
        ASSERT_TRUE(delete_record(state, 2).ok());
        EXPECT_EQ(shown({1999, 2, 2}), std::vector<std::string>{"Größe"});
        std::string message;
        bool changed_outside = false;
        ASSERT_EQ(UndoResult::restored, undo_from_backup(state, message, changed_outside));
        EXPECT_EQ(shown({1999, 2, 2}), (std::vector<std::string>{"Zweiter, geändert", "Größe"}));
    }
}

// Random records as the editor writes them: each loads back with the same
// fields, and the reader reads the file without a single message.
TEST_F(RecordFile, EditorRecordsReadBackWithTheSameFields) {
    std::mt19937 random{20261207};
    const auto between = [&random](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    // Placeholders only whole: a stray "<" is a syntax error of the text.
    const char* const words[] = {
        "Anna",           "Größe",       "x=y", "€uro",       "ß",    "<event_dd>",
        "Zeile\u00A0mit", "\"zitiert\"", "1,5", "<dd>.<mm>.", "Ĳssel"};
    // A text as a user may type it: never a line that reads as a tag.
    const auto typed_text = [&] {
        std::string text;
        if (between(0, 9) == 0) text = "<priority=" + std::to_string(between(1, 9)) + ">\n";
        text += words[between(0, std::size(words) - 1)];
        for (int n = between(0, 6); n > 0; --n) {
            text += between(0, 3) == 0 ? '\n' : ' ';  // apart: GCC 12 misreports `" " + word`
            text += words[between(0, std::size(words) - 1)];
        }
        return text;
    };
    state.current_file = folder / "editor.rmd";
    for (int i = 0; i < 200; ++i) {
        RecordFields written;
        const RecordMode mode = static_cast<RecordMode>(between(0, 4));
        const int year = between(0, 1) == 0 ? between(100, 999) : between(1000, 2025);
        written.mode = mode;
        written.date = mode == RecordMode::always && between(0, 1) == 0
                           ? ""
                           : written_date(*make_date(year, between(1, 12), between(1, 28)));
        written.lead_time = mode == RecordMode::always ? "" : std::to_string(between(0, 32767));
        written.period = mode == RecordMode::periodic ? std::to_string(between(1, 32767)) : "";
        written.ordinal = mode == RecordMode::monthly ? std::to_string(between(1, 31)) : "";
        written.day_selector = mode == RecordMode::monthly ? between(0, 7) : kNoDay;
        written.group = between(0, 4) == 0 ? "keine" : kGroups[std::size_t(between(0, 3))];
        written.color = static_cast<std::int32_t>(random());
        written.text = typed_text();
        ASSERT_FALSE(check_record_fields(written)) << check_record_fields(written)->message;
        ASSERT_TRUE(append_record(state, written, 0).ok());
        RecordFields read = load(state.record_count());
        // A monthly record's date waits in the remembered texts; what a mode
        // does not use is not read back.
        if (mode == RecordMode::monthly) read.date = memory.date;
        if (mode != RecordMode::monthly) read.day_selector = written.day_selector;
        if (mode != RecordMode::periodic) read.period = written.period;
        if (mode != RecordMode::monthly) read.ordinal = written.ordinal;
        EXPECT_EQ(written, read) << i << "\n" << written.text;
    }
    const test::Listed listed = test::listed_on(state.current_file, test::day(2026, 12, 7));
    EXPECT_EQ(std::vector<std::string>{}, listed.messages) << read_bytes(state.current_file);
}

// Appending leaves the bytes already there untouched: byte-order mark, the
// encoding and the last line's missing end (which it adds) included. What is
// written reads back as records.
TEST_F(RecordFile, AppendedLinesFollowTheFileAsItWas) {
    const std::string bom = "\xEF\xBB\xBF";
    std::string big;  // stamps of large files are taken piece by piece: they must still match
    for (int i = 0; i < 200000; ++i) big += "Zeile\r\n";
    const std::tuple<const char*, std::string, std::string, std::string> cases[] = {
        {"UTF-8 with mark, last line open", bom + "Ä\n<record>\nX\n</record>", "Ö",
         bom + "Ä\n<record>\nX\n</record>\r\n<record>\r\nÖ\r\n</record>\r\n"},
        {"over a mebibyte", big, "Neu", big + "<record>\r\nNeu\r\n</record>\r\n"},
        {"Windows-1252, CR", latin1("Ä\r"), "Ö", latin1("Ä\r<record>\r\nÖ\r\n</record>\r\n")}};
    for (const auto& [name, before, line, after] : cases) {
        SCOPED_TRACE(name);
        const fs::path file = folder / "anhang.rmd";
        write_bytes(file, before);
        const WriteOutcome outcome = append_lines(file, {"<record>", line, "</record>"});
        ASSERT_TRUE(outcome.ok()) << german_text(outcome);
        EXPECT_EQ(after, read_bytes(file));
        EXPECT_EQ(before, read_bytes(backup_of(file)));
        EXPECT_EQ(current_stamp(file), outcome.written_stamp);
        open(after, "anhang.rmd");
        EXPECT_EQ("<record>\n" + line + "\n</record>\n", state.contents.back());
        const std::vector<std::string> texts = shown({2026, 12, 8});
        EXPECT_EQ(line, texts.empty() ? "" : texts.back());
    }
}

// A record without its own start line begins after the previous record's end.
TEST_F(RecordFile, AutoDeleteMovesExpiredOnceRecordsOnly) {
    EngineState engine(EngineSettings{}, test::day(1999, 3, 5));
    const std::string expired1 = latin1(record("<date=01.03.1999>|<active=once>|Zahnarzt Ü"));
    const std::string headless =
        "<recrod>\r\n<date=01.01.1999>\r\n<active=once>\r\nX\r\n</record>\r\n";
    const std::string future = record("<date=06.03.1999>|<active=once>|Später");
    const std::string expired2 = record("<active=once>|<date=4.3.99>|Friseur", "\n");
    const std::string bad_date = record("<active=once>|<date=30.02.1999>|Kaputt");
    const std::string yearly = record("<date=01.01.1990>|Jährlich");
    write_bytes(folder / "deleted.rmd", latin1("gelöscht am: 01.01.1999\r\nalt\r\n\r\n"));
    open("Kopf\r\n" + expired1 + yearly + headless + future + expired2 + bad_date);
    const MoveOutcome outcome = move_expired_records(state, folder / "deleted.rmd", engine);
    ASSERT_TRUE(outcome.write.ok()) << german_text(outcome.write);
    EXPECT_EQ(3, outcome.moved);
    EXPECT_EQ("Kopf\r\n" + yearly + future + bad_date,
              latin1(read_text_file(state.current_file)->text));
    const std::string stamp = latin1("gelöscht am: 05.03.1999\r\n");
    EXPECT_EQ(latin1("gelöscht am: 01.01.1999\r\nalt\r\n\r\n") + stamp + expired1 + "\r\n" + stamp +
                  headless + "\r\n" + stamp + expired2 + "\r\n",
              read_bytes(folder / "deleted.rmd"));
}

TEST_F(RecordFile, ClosingTheListChangesOnlyTheLinksTheUserChanged) {
    const auto file = folder / "main.rmd";
    // "fehlt.rmd" is missing just now: it stays; the removed "b.rmd" goes
    // wherever it stands.
    const std::string before = "<add_file=alt.rmd>\r\n" + record("A") + "<add_file=b.rmd>\r\n" +
                               "<ADD_FILE=fehlt.rmd>\r\n<add_file=b.rmd>\r\n" + record("B");
    write_bytes(file, before);
    ASSERT_TRUE(rewrite_links(file, {"c.rmd"}, {"alt.rmd", "b.rmd"}).ok());
    EXPECT_EQ("<add_file=c.rmd>\r\n" + record("A") + "<ADD_FILE=fehlt.rmd>\r\n" + record("B"),
              read_bytes(file));
    EXPECT_EQ(before, read_bytes(folder / "main.bak"));
}

// Another program put a record at the top after the file was loaded: every
// change refuses, says so, and leaves the file as that program left it.
TEST_F(RecordFile, AnOutsideInsertionStopsSaveDeleteUndoAndAutoDelete) {
    const EngineState engine(EngineSettings{}, test::day(2026, 12, 7));
    const std::string outside = record("<date=04.04.1990>|Von außen") + kA + kB + kC;
    open(kA + kB + kC);
    const RecordFields fields = load(2);
    const std::function<WriteOutcome()> changes[] = {
        [&] { return replace_record(state, fields, 0, sink); },
        [&] { return delete_record(state, 2); }, [&] { return append_record(state, fields, 0); },
        [&] { return move_expired_records(state, folder / "deleted.rmd", engine).write; }};
    for (const auto& change : changes) {
        open(kA + kB + kC);
        write_bytes(state.current_file, outside);
        const WriteOutcome outcome = change();
        EXPECT_TRUE(outcome.is(WriteFailure::changed_outside));
        EXPECT_NE(std::string::npos, german_text(outcome).find("von einem anderen Programm"))
            << german_text(outcome);
        EXPECT_EQ(outside, read_bytes(state.current_file));
    }
    EXPECT_FALSE(fs::exists(folder / "a.bak"));

    open(kA + kB + kC);
    ASSERT_TRUE(delete_record(state, 2).ok());
    write_bytes(state.current_file, outside);
    std::string message;
    bool changed_outside = false;
    EXPECT_EQ(UndoResult::failed, undo_from_backup(state, message, changed_outside));
    EXPECT_TRUE(changed_outside);
    EXPECT_EQ(outside, read_bytes(state.current_file));
}

TEST_F(RecordFile, StrayTagsNeverLetARecordReachBackOverAnEarlierOne) {
    // A name, the file, the record deleted or replaced, and the file after deleting it.
    const std::tuple<const char*, std::string, int, std::string> cases[] = {
        {"stray end tag", kA + "</record>\r\n" + kB, 2, kA + kB},
        {"end without start first", "Kopf\r\n</record>\r\n" + kA, 1, kA},
        {"tag-like text", kA + "<record x>\r\n<date=1.1.2000>\r\nY\r\n</record>\r\n", 2, kA},
        // The writers look at the lines where the file was read: a file of a
        // few bytes is held inside its string.
        {"tiny file", "</record>", 1, ""},
        {"tiny file with its line end", "</record>\r\n", 1, ""}};
    for (const auto& [name, file, number, after_delete] : cases) {
        SCOPED_TRACE(name);
        open(file);
        ASSERT_TRUE(delete_record(state, number).ok());
        EXPECT_EQ(after_delete, read_bytes(state.current_file));
        if (after_delete.empty()) continue;
        open(file);
        RecordFields fields = load(number);
        EXPECT_EQ(std::string::npos, fields.text.find("Anna")) << fields.text;
        fields.text = "Neu";
        ASSERT_TRUE(replace_record(state, fields, 0, sink).ok());
        EXPECT_NE(std::string::npos, read_bytes(state.current_file).find(kA));
    }
}

// "a.rmd" and "a.txt" share the backup "a.bak".
TEST_F(RecordFile, UndoRestoresOnlyFromTheBackupOfItsOwnFile) {
    open(kA + kB);
    ASSERT_TRUE(delete_record(state, 1).ok());
    EditingState rmd = state;
    open(kC + kC, "a.txt");
    ASSERT_TRUE(delete_record(state, 1).ok());
    ASSERT_EQ(folder / "a.bak", state.undo->backup);

    std::string message;
    bool changed_outside = false;
    EXPECT_EQ(UndoResult::no_backup, undo_from_backup(rmd, message, changed_outside));
    // The undo point names its file: shown another file, it restores nothing.
    const fs::path txt = state.current_file;
    state.current_file = rmd.current_file;
    EXPECT_EQ(UndoResult::no_backup, undo_from_backup(state, message, changed_outside));
    state.current_file = txt;
    EXPECT_EQ(UndoResult::restored, undo_from_backup(state, message, changed_outside));
    EXPECT_EQ(kC + kC, read_bytes(txt));
    EXPECT_EQ(kB, read_bytes(rmd.current_file));
}

}  // namespace
}  // namespace merkwald
