#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <string>

#include "editors/record_edit.h"
#include "editors/record_file.h"
#include "editors/record_list.h"
#include "editors/record_list_files.h"
#include "editors_test_support.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

const std::string kA = record("<date=01.01.1990>|Anna");
const std::string kB = record("<date=02.02.1990>|Bernd");
const std::string kC = record("<date=03.03.1990>|Clara");
const std::string kIntruder = record("<date=04.04.1990>|Von außen");

class RecordSafety : public ::testing::Test {
protected:
    TempFolder folder;
    test::RecordingSink sink;
    EditingState state;

    void load(const std::string& bytes, const std::string& name = "a.rmd") {
        state.current_file = folder / name;
        write_bytes(state.current_file, bytes);
        ASSERT_TRUE(rescan(state, sink));
    }
    RecordFields fields_of(int number) {
        state.current_record = number;
        RecordFields fields;
        RememberedTexts memory;
        EXPECT_TRUE(load_record(state, {{}, 0}, fields, memory, sink));
        return fields;
    }
};

// Another program put a record at the top after the file was loaded: every
// change refuses, says so, and leaves the file as that program left it.
TEST_F(RecordSafety, AnOutsideInsertionStopsSaveDeleteUndoAndAutoDelete) {
    const EngineState engine(EngineSettings{}, test::day(2026, 12, 7));
    const std::string outside = kIntruder + kA + kB + kC;
    auto expect_refused = [&](const WriteOutcome& outcome) {
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(outcome.changed_outside);
        EXPECT_NE(std::string::npos, outcome.message.find("von einem anderen Programm"))
            << outcome.message;
        EXPECT_EQ(outside, read_bytes(state.current_file));
    };
    load(kA + kB + kC);
    RecordFields fields = fields_of(2);
    fields.text = "Bernd geändert";
    write_bytes(state.current_file, outside);
    expect_refused(replace_record(state, fields, 0, sink));
    load(kA + kB + kC);
    write_bytes(state.current_file, outside);
    expect_refused(delete_record(state, 2));
    expect_refused(append_record(state, fields, 0, sink));
    expect_refused(move_expired_records(state, folder / "deleted.rmd", engine).write);
    EXPECT_FALSE(fs::exists(folder / "a.bak"));

    load(kA + kB + kC);
    ASSERT_TRUE(delete_record(state, 2).ok);
    write_bytes(state.current_file, outside);
    std::string message;
    bool changed_outside = false;
    EXPECT_EQ(UndoResult::failed, undo_from_backup(state, message, changed_outside));
    EXPECT_TRUE(changed_outside);
    EXPECT_EQ(outside, read_bytes(state.current_file));
}

TEST_F(RecordSafety, StrayTagsNeverLetARecordReachBackOverAnEarlierOne) {
    struct Case {
        const char* name;
        std::string file;
        int record;
        std::string after_delete;
    };
    const Case cases[] = {
        {"stray end tag", kA + "</record>\r\n" + kB, 2, kA + kB},
        {"mistyped start", kA + "<recrod>\r\nText\r\n</record>\r\n" + kB, 2, kA + kB},
        {"end without start first", "Kopf\r\n</record>\r\n" + kA, 1, kA},
        {"tag-like text", kA + "<record x>\r\n<date=1.1.2000>\r\nY\r\n</record>\r\n", 2, kA}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load(c.file);
        ASSERT_TRUE(delete_record(state, c.record).ok);
        EXPECT_EQ(c.after_delete, read_bytes(state.current_file));
        load(c.file);
        RecordFields fields = fields_of(c.record);
        EXPECT_EQ(std::string::npos, fields.text.find("Anna")) << fields.text;
        fields.text = "Neu";
        ASSERT_TRUE(replace_record(state, fields, 0, sink).ok);
        EXPECT_NE(std::string::npos, read_bytes(state.current_file).find(kA));
    }
}

TEST_F(RecordSafety, AutoDeleteMovesOnlyTheLinesOfARecordWithoutItsOwnStart) {
    const EngineState engine(EngineSettings{}, test::day(2026, 12, 7));
    const std::string headless =
        "<recrod>\r\n<date=01.01.2000>\r\n<active=once>\r\nX\r\n</record>\r\n";
    load(kA + headless + kB);
    const MoveOutcome outcome = move_expired_records(state, folder / "deleted.rmd", engine);
    ASSERT_TRUE(outcome.write.ok) << outcome.write.message;
    EXPECT_EQ(1, outcome.moved);
    EXPECT_EQ(kA + kB, read_bytes(state.current_file));
    EXPECT_EQ("gelöscht am: 07.12.2026\r\n" + headless + "\r\n",
              read_bytes(folder / "deleted.rmd"));
}

TEST_F(RecordSafety, UndoRestoresOnlyFromTheBackupOfItsOwnFile) {
    // "a.rmd" and "a.txt" share the backup "a.bak".
    EditingState rmd;
    rmd.current_file = folder / "a.rmd";
    write_bytes(rmd.current_file, kA + kB);
    ASSERT_TRUE(rescan(rmd, sink));
    ASSERT_TRUE(delete_record(rmd, 1).ok);
    load(kC + kC, "a.txt");
    ASSERT_TRUE(delete_record(state, 1).ok);
    ASSERT_EQ(folder / "a.bak", state.undo->backup);

    std::string message;
    bool changed_outside = false;
    EXPECT_EQ(UndoResult::no_backup, undo_from_backup(rmd, message, changed_outside));
    EXPECT_EQ("Keine Sicherung vorhanden", message);
    EXPECT_EQ(kB, read_bytes(rmd.current_file));
    // The undo point names its file: shown another file, it restores nothing.
    const fs::path txt = state.current_file;
    state.current_file = rmd.current_file;
    EXPECT_EQ(UndoResult::no_backup, undo_from_backup(state, message, changed_outside));
    state.current_file = txt;
    EXPECT_EQ(UndoResult::restored, undo_from_backup(state, message, changed_outside));
    EXPECT_EQ(kC + kC, read_bytes(txt));
    EXPECT_EQ(kB, read_bytes(rmd.current_file));
}

class RecordSafetyDialogs : public ::testing::Test {
protected:
    test::EditorWorld world{test::day(2026, 12, 7)};
    EditingState state;
    fs::path main = world.folder / "main.rmd";
};

TEST_F(RecordSafetyDialogs, UndoFollowsTheShownFileAndACancelledNew) {
    write_bytes(main, kA + kB);
    write_bytes(world.folder / "b.rmd", kC);
    RecordList list(nullptr, world.context, {main.string(), "b.rmd"});
    list.table()->selectRow(0);
    list.delete_record();
    EXPECT_EQ(kB, read_bytes(main));
    EXPECT_TRUE(list.undo_button()->isEnabled());
    list.show_linked_file();
    EXPECT_FALSE(list.undo_button()->isEnabled());
    list.show_main_file();
    EXPECT_FALSE(list.undo_button()->isEnabled());
    list.table()->selectRow(0);
    list.delete_record();
    EXPECT_TRUE(list.undo_button()->isEnabled());
    test::when_modal([](QWidget* modal) { test::click_button(modal, "Abbrechen"); });
    list.new_record();
    EXPECT_FALSE(list.undo_button()->isEnabled());
    list.undo();
    EXPECT_EQ("", read_bytes(main));
    EXPECT_EQ("Keine Sicherung vorhanden", world.dialogs.messages.back().text);
}

TEST_F(RecordSafetyDialogs, TheListReloadsAfterAnOutsideChange) {
    write_bytes(main, kA + kB);
    RecordList list(nullptr, world.context, {main.string()});
    write_bytes(main, kIntruder + kA + kB);
    list.table()->selectRow(0);
    list.delete_record();
    EXPECT_EQ(kIntruder + kA + kB, read_bytes(main));
    ASSERT_FALSE(world.dialogs.messages.empty());
    EXPECT_NE(-1, world.dialogs.messages.back().text.indexOf("anderen Programm"));
    EXPECT_EQ(3, list.table()->rowCount());
}

TEST_F(RecordSafetyDialogs, ClosingTheListWithoutChangesWritesNothing) {
    const std::string text = "<add_file=stick/fehlt.rmd>\r\n<add_file=b.rmd>\r\n" + kA;
    write_bytes(main, text);
    write_bytes(world.folder / "b.rmd", kB);
    {
        RecordList list(nullptr, world.context, {main.string(), "b.rmd"});
        list.accept();
    }
    EXPECT_EQ(text, read_bytes(main));
    EXPECT_FALSE(fs::exists(world.folder / "main.bak"));
}

TEST_F(RecordSafetyDialogs, SavingAnUntouchedRecordWritesNothingAndMonthlyKeepsItsDate) {
    const std::string monthly =
        record("<date=01.10.2025>|<active=monthly>|<active_day=1>|Seit <months> Monaten");
    write_bytes(main, kA + monthly);
    state.current_file = main;
    state.current_record = 2;
    {
        RecordEdit editor(nullptr, world.context, state);
        editor.save();
    }
    EXPECT_EQ(kA + monthly, read_bytes(main));
    EXPECT_FALSE(fs::exists(world.folder / "main.bak"));
    {
        RecordEdit editor(nullptr, world.context, state);
        editor.text_box()->setPlainText("Seit <months> Monaten!");
        editor.save();
    }
    const std::string written = read_bytes(main);
    EXPECT_EQ(0u, written.find(kA + "<record>\r\n<date=01.10.2025>\r\n<active=monthly>\r\n"))
        << written;
    EXPECT_NE(std::string::npos, written.find("Seit <months> Monaten!\r\n</record>\r\n"));
}

TEST_F(RecordSafetyDialogs, AnInvalidDateIsReportedOncePerValue) {
    write_bytes(main, kA);
    state.current_file = main;
    state.current_record = 1;
    RecordEdit editor(nullptr, world.context, state);
    editor.date_field()->setText("31.02.1990");
    editor.update_preview();
    editor.text_box()->setPlainText("a");
    editor.text_box()->setPlainText("ab");
    EXPECT_EQ(1u, world.dialogs.messages.size());
    EXPECT_EQ(world.engine.messages[0], editor.preview_box()->toPlainText().toStdString());
    editor.date_field()->setText("32.02.1990");
    editor.update_preview();
    EXPECT_EQ(2u, world.dialogs.messages.size());
}

}  // namespace
}  // namespace merkwald
