#include <gtest/gtest.h>

#include <string>

#include "editors/record_file.h"
#include "editors/record_list_files.h"
#include "editors_test_support.h"
#include "engine/text_file.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

const std::vector<std::string> kGroups = {"Geburtstage", "Namenstage", "Termine", "Sonstiges"};

struct Files {
    std::string first, second, third;
    [[nodiscard]] std::string all(const std::string& middle) const {
        return first + middle + third;
    }
};

// Three records; the middle one is rewritten by the editor's functions.
Files three_records(std::string_view end, bool windows1252) {
    auto enc = [windows1252](const std::string& s) { return windows1252 ? latin1(s) : s; };
    return {enc("Kopfzeile mit Ümläut" + std::string(end) +
                record("<date=01.01.1970>|Jürgen\t hat Geburtstag", end)),
            enc(record("<date=2.2.99>|<active=once>|Zweiter", end)),
            enc(record("<active=always>|Größe   ", end) + "Nachsatz")};
}

class RecordFile : public ::testing::Test {
protected:
    TempFolder folder;
    test::RecordingSink sink;
    EditingState state;

    RecordFields load(int number) {
        state.current_record = number;
        RecordFields fields = initial_fields("21", std::nullopt, kGroups, 0);
        RememberedTexts memory;
        EXPECT_TRUE(load_record(state, {kGroups, 0}, fields, memory, sink));
        return fields;
    }
};

TEST_F(RecordFile, ReplacingOneRecordKeepsEveryOtherByteForByte) {
    struct Case {
        const char* name;
        std::string_view end;
        bool windows1252;
    };
    for (const Case& c : {Case{"UTF-8, CRLF", "\r\n", false}, Case{"Windows-1252", "\r\n", true},
                          Case{"LF only", "\n", false}, Case{"CR only", "\r", true}}) {
        SCOPED_TRACE(c.name);
        const Files files = three_records(c.end, c.windows1252);
        state.current_file = folder / "datei.rmd";
        write_bytes(state.current_file, files.all(files.second));
        RecordFields fields = load(2);
        fields.text = "Zweiter, geändert";
        ASSERT_TRUE(replace_record(state, fields, 0, sink).ok);
        // The record the tools write has CRLF whatever the rest of the file uses.
        const std::string middle =
            "<record>\r\n<date=02.02.1999>\r\n<active=once>\r\n"
            "<active_before=21>\r\nZweiter, geändert\r\n</record>\r\n";
        EXPECT_EQ(files.all(c.windows1252 ? latin1(middle) : middle),
                  read_bytes(state.current_file));
        EXPECT_EQ(files.all(files.second), read_bytes(folder / "datei.bak"));
    }
}

TEST_F(RecordFile, LoadingAndSavingUnchangedKeepsTheOtherRecords) {
    const Files files = three_records("\r\n", true);
    state.current_file = folder / "datei.rmd";
    write_bytes(state.current_file, files.all(files.second));
    ASSERT_TRUE(replace_record(state, load(1), 0, sink).ok);
    const std::string bytes = read_bytes(state.current_file);
    EXPECT_TRUE(bytes.ends_with(files.second + files.third));
    EXPECT_TRUE(bytes.starts_with(latin1("Kopfzeile mit Ümläut\r\n<record>\r\n")));
    // The tab and the blanks around the text line are gone, the umlaut is kept.
    EXPECT_NE(std::string::npos, bytes.find(latin1("\r\nJürgen  hat Geburtstag\r\n")));
}

TEST_F(RecordFile, ATextWindows1252CannotHoldTurnsTheWholeFileIntoUtf8) {
    const Files files = three_records("\r\n", true);
    state.current_file = folder / "datei.rmd";
    write_bytes(state.current_file, files.all(files.second));
    RecordFields fields = load(2);
    fields.text = "Łódź ✓";
    ASSERT_TRUE(replace_record(state, fields, 0, sink).ok);
    const std::optional<FileText> back = read_text_file(state.current_file);
    ASSERT_TRUE(back);
    EXPECT_EQ(TextEncoding::utf8, back->encoding);
    EXPECT_NE(std::string::npos, back->text.find("Kopfzeile mit Ümläut"));
    EXPECT_NE(std::string::npos, back->text.find("Łódź ✓"));
    EXPECT_NE(std::string::npos, back->text.find("Größe"));
}

TEST_F(RecordFile, AppendWritesOneEmptyLineThenTheRecordOrCreatesTheFile) {
    const Files files = three_records("\n", false);
    state.current_file = folder / "datei.rmd";
    write_bytes(state.current_file, files.all(files.second));
    RecordFields fields = load(4);
    EXPECT_TRUE(state.new_record);
    fields.date = "7.3.70";
    fields.text = "Neu";
    ASSERT_TRUE(append_record(state, fields, 0, sink).ok);
    // "Nachsatz" had no line end: it keeps its line, then comes the empty line.
    EXPECT_EQ(files.all(files.second) +
                  "\r\n\r\n<record>\r\n<date=07.03.1970>\r\n<active_before=21>\r\nNeu\r\n"
                  "</record>\r\n",
              read_bytes(state.current_file));
    EXPECT_EQ(4, state.record_count());
    EXPECT_EQ(files.all(files.second), read_bytes(folder / "datei.bak"));
    // A missing file is created with the record alone.
    state.current_file = folder / "neu.rmd";
    EXPECT_FALSE(rescan(state, sink));
    ASSERT_TRUE(append_record(state, fields, 0, sink).ok);
    EXPECT_EQ("\r\n<record>\r\n<date=07.03.1970>\r\n<active_before=21>\r\nNeu\r\n</record>\r\n",
              read_bytes(state.current_file));
    EXPECT_EQ(1, state.record_count());
}

TEST_F(RecordFile, AutoDeleteMovesExpiredOnceRecordsOnly) {
    EngineState engine(EngineSettings{}, test::day(1999, 3, 5));
    const auto file = folder / "datei.rmd";
    const std::string expired1 = latin1(record("<date=01.03.1999>|<active=once>|Zahnarzt Ü"));
    const std::string future = record("<date=06.03.1999>|<active=once>|Später");
    const std::string expired2 = record("<active=once>|<date=4.3.99>|Friseur", "\n");
    const std::string bad_date = record("<active=once>|<date=30.02.1999>|Kaputt");
    const std::string yearly = record("<date=01.01.1990>|Jährlich");
    write_bytes(file, "Kopf\r\n" + expired1 + yearly + future + expired2 + bad_date);
    write_bytes(folder / "deleted.rmd", latin1("gelöscht am: 01.01.1999\r\nalt\r\n\r\n"));

    EditingState editing;
    editing.current_file = file;
    ASSERT_TRUE(rescan(editing, sink));
    const MoveOutcome outcome = move_expired_records(editing, folder / "deleted.rmd", engine);
    ASSERT_TRUE(outcome.write.ok) << outcome.write.message;
    EXPECT_EQ(2, outcome.moved);
    EXPECT_EQ(" 2 gelöschte Datensätze in Datei deleted.rmd bewegt", moved_message(outcome.moved));
    EXPECT_EQ(" 1 gelöschter Datensatz in Datei deleted.rmd bewegt", moved_message(1));
    EXPECT_EQ("Kopf\r\n" + yearly + future + bad_date, latin1(read_text_file(file)->text));
    EXPECT_EQ(latin1("gelöscht am: 01.01.1999\r\nalt\r\n\r\n"
                     "gelöscht am: 05.03.1999\r\n") +
                  expired1 + latin1("\r\ngelöscht am: 05.03.1999\r\n") + expired2 + "\r\n",
              read_bytes(folder / "deleted.rmd"));
}

TEST_F(RecordFile, ClosingTheListChangesOnlyTheLinksTheUserChanged) {
    const auto file = folder / "main.rmd";
    // "fehlt.rmd" is missing just now: it stays; the removed "b.rmd" goes
    // wherever it stands.
    const std::string before = "<add_file=alt.rmd>\r\n" + record("A") + "<add_file=b.rmd>\r\n" +
                               "<ADD_FILE=fehlt.rmd>\r\n<add_file=b.rmd>\r\n" + record("B");
    write_bytes(file, before);
    ASSERT_TRUE(rewrite_links(file, {"c.rmd"}, {"alt.rmd", "b.rmd"}).ok);
    EXPECT_EQ("<add_file=c.rmd>\r\n" + record("A") + "<ADD_FILE=fehlt.rmd>\r\n" + record("B"),
              read_bytes(file));
    EXPECT_EQ(before, read_bytes(folder / "main.bak"));
    // Nothing changed: nothing is written, not even the backup.
    write_bytes(folder / "main.bak", "Sicherung");
    ASSERT_TRUE(rewrite_links(file, {}, {}).ok);
    EXPECT_EQ("Sicherung", read_bytes(folder / "main.bak"));
}

}  // namespace
}  // namespace merkwald
