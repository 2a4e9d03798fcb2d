// The record editor, the record list and their menu, driven offscreen.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTableView>
#include <algorithm>

#include "editors/records/record_edit.h"
#include "editors/records/record_list.h"
#include "editors_test_support.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

const std::string kA = record("<date=01.01.1990>|<active_before=7>|Anna");
const std::string kB = record("<date=02.02.1990>|<active_before=7>|Bernd");
const std::string kC = record("<date=03.03.1990>|<active_before=7>|Clara");
// What another program puts at the top while a window has the file open.
const std::string kTop = record("<date=04.04.1990>|<active_before=7>|Von außen");

class RecordDialogs : public ::testing::Test {
protected:
    test::EditorWorld world{test::day(2026, 12, 7)};
    EditingState state;
    fs::path main = world.folder / "main.rmd";

    void open_on(const std::string& bytes, int record) {
        write_bytes(main, bytes);
        state.current_file = main;
        state.current_record = record;
    }
    [[nodiscard]] const QString& last_message() const { return world.dialogs.messages.back().text; }
};

// A date typed without dots is taken; a lead time the reader would misread is
// refused.
TEST_F(RecordDialogs, TheEditorRefusesWhatTheReaderWouldMisreadThenAppends) {
    open_on(kA, 2);
    RecordEdit editor(nullptr, world.context, state);
    test::retype(*editor.date_field(), QStringLiteral("01042027"));
    editor.lead_time_field()->setCurrentText("40000");
    editor.text_box()->setPlainText("Termin");
    editor.save();
    EXPECT_EQ("Vorlaufzeit (Tage): erlaubt sind ganze Zahlen von 0 bis 32767.", last_message());
    EXPECT_EQ(kA, read_bytes(main));

    editor.lead_time_field()->setCurrentText("14");
    editor.save();
    EXPECT_EQ(kA + "\r\n" + record("<date=01.04.2027>|<active_before=14>|Termin"),
              read_bytes(main));
    EXPECT_EQ(QDialog::Accepted, editor.result());
}

TEST_F(RecordDialogs, SavingAnUntouchedRecordWritesNothingAndMonthlyKeepsItsDate) {
    const std::string monthly =
        record("<date=01.10.2025>|<active=monthly>|<active_day=1>|Seit <months> Monaten");
    open_on(kA + monthly, 2);
    RecordEdit editor(nullptr, world.context, state);
    editor.save();
    EXPECT_EQ(kA + monthly, read_bytes(main));
    EXPECT_FALSE(fs::exists(world.folder / "main.bak"));
    editor.text_box()->setPlainText("Seit <months> Monaten!");
    editor.save();
    const std::string written = read_bytes(main);
    EXPECT_EQ(0u, written.find(kA + "<record>\r\n<date=01.10.2025>\r\n<active=monthly>\r\n"))
        << written;
    EXPECT_NE(std::string::npos, written.find("Seit <months> Monaten!\r\n</record>\r\n"));
}

TEST_F(RecordDialogs, AnInvalidDateIsReportedOncePerValue) {
    open_on(kA, 1);
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

TEST_F(RecordDialogs, AWindows1252FileBecomesUtf8OnlyAfterYes) {
    const std::string before = latin1(record("<date=01.01.1990>|Jürgen"));
    open_on(before, 2);
    RecordEdit editor(nullptr, world.context, state);
    editor.text_box()->setPlainText("Łukasz");
    world.dialogs.answers = {MessageAnswer::no, MessageAnswer::yes};
    editor.save();
    EXPECT_EQ(MessageButtons::yes_no, world.dialogs.messages.back().buttons);
    EXPECT_EQ(before, read_bytes(main));
    editor.save();
    EXPECT_EQ(2u, world.dialogs.messages.size());
    EXPECT_NE(std::string::npos, read_bytes(main).find("Jürgen"));
    EXPECT_NE(std::string::npos, read_bytes(main).find("Łukasz"));
}

// Another program puts a record at the top while "Clara" (record 3) is open:
// the save is refused and the typed text stays; the editor finds Clara by her
// lines, and the next save lands on her, never on "Bernd", now record 3. Once
// her record is changed or removed outside, nothing is written over any record;
// the user may append the typed record instead.
TEST_F(RecordDialogs, AnOutsideChangeNeverLetsTheEditorWriteOverAnotherRecord) {
    const std::string clara_new = record("<date=03.03.1990>|<active_before=7>|Clara Neu");
    open_on(kA + kB + kC, 3);
    RecordEdit editor(nullptr, world.context, state);
    write_bytes(main, kTop + kA + kB + kC);
    editor.text_box()->setPlainText("Clara Neu");
    editor.save();
    EXPECT_EQ(kTop + kA + kB + kC, read_bytes(main));
    EXPECT_TRUE(last_message().contains("anderen Programm")) << last_message().toStdString();
    EXPECT_NE(QDialog::Accepted, editor.result());
    editor.save();
    EXPECT_EQ(kTop + kA + kB + clara_new, read_bytes(main));
    EXPECT_EQ(QDialog::Accepted, editor.result());

    const std::string changed = record("<date=03.03.1990>|<active_before=7>|Clara (von außen)");
    for (const std::string& outside : {kA + kB + changed, kA + kB}) {
        SCOPED_TRACE(outside);
        open_on(kA + kB + kC, 3);
        RecordEdit gone(nullptr, world.context, state);
        gone.text_box()->setPlainText("Clara Neu");
        write_bytes(main, outside);
        world.dialogs.messages.clear();
        world.dialogs.answers = {MessageAnswer::cancel};
        gone.save();
        ASSERT_EQ(1u, world.dialogs.messages.size());
        EXPECT_TRUE(last_message().contains("anfügen?"));
        EXPECT_EQ(outside, read_bytes(main));
        gone.save();  // asked again; OK this time
        EXPECT_EQ(outside + "\r\n" + clara_new, read_bytes(main));
    }
}

// The list's choice is the record the user pointed at: after another program
// put records at the top, Delete refuses and the list shows the file anew; a
// row opens the record it shows wherever it went, and a row whose record is
// gone meanwhile opens no editor.
TEST_F(RecordDialogs, TheListActsOnlyOnTheRecordARowShows) {
    open_on(kA + kB + kC, 1);
    RecordList list(nullptr, world.context, {main.string()});
    list.table()->selectRow(2);  // Clara
    write_bytes(main, kTop + kA + kB + kC);
    list.delete_record();
    EXPECT_EQ(kTop + kA + kB + kC, read_bytes(main));
    EXPECT_TRUE(last_message().contains("anderen Programm"));
    EXPECT_EQ(4, list.table()->model()->rowCount());
    list.delete_record();  // the refill chose no row
    EXPECT_EQ(kTop + kA + kB + kC, read_bytes(main));

    write_bytes(main, kTop + kTop + kA + kB + kC);
    QString shown;
    test::when_modal([&](QWidget* modal) {
        shown = modal->findChild<QPlainTextEdit*>("RTBox1")->toPlainText();
        test::click_button(modal, "Abbrechen");
    });
    list.edit_row(3);
    EXPECT_EQ("Clara", shown);
    EXPECT_EQ(5, list.table()->model()->rowCount());

    write_bytes(main, kTop + kTop + kA + kB);
    QObject waiting;
    test::when_modal(
        [](QWidget* modal) {
            ADD_FAILURE() << "an editor opened on a record that is gone";
            test::click_button(modal, "Abbrechen");
        },
        &waiting);
    list.edit_row(4);  // Clara, gone since the list was filled
    EXPECT_TRUE(last_message().contains("anderes Programm"));
    list.table()->selectRow(3);
    list.delete_record();
    EXPECT_EQ(kTop + kTop + kA, read_bytes(main));
}

// After each change the grid is updated in place, not read anew: its rows
// must still be what a fresh opening of the file shows, sorted the same way,
// also for a record that has no `<record>` line of its own and so takes over
// the lines before it when its neighbour goes, and for a multi-line record's height.
TEST_F(RecordDialogs, TheRowsAfterEachChangeAreThoseOfAFreshOpening) {
    const std::string loose = "\r\nZeile davor\r\n<date=05.05.1990>\r\nLose\r\n</record>\r\n";
    const std::string multi =
        record("<date=06.06.1990>|<group=Privat>|Zwei|Zeilen <days_before_event_text>");
    open_on(kC + kA + loose + multi + kB, 1);
    RecordList list(nullptr, world.context, {main.string()});
    const auto matches_fresh = [&](const char* step, bool sorted) {
        SCOPED_TRACE(step);
        RecordList fresh(nullptr, world.context, {main.string()});
        std::vector<ListRow> expected = fresh.rows();
        if (sorted) sort_rows(expected, 1, DateOrder::day, false);
        EXPECT_EQ(expected, list.rows());
        ASSERT_EQ(int(expected.size()), list.table()->model()->rowCount());
        for (int r = 0; r < int(expected.size()); ++r) {
            const auto at = std::find_if(fresh.rows().begin(), fresh.rows().end(),
                                         [&](const ListRow& row) { return row == expected[r]; });
            EXPECT_EQ(fresh.table()->rowHeight(int(at - fresh.rows().begin())),
                      list.table()->rowHeight(r))
                << r;
            EXPECT_EQ(QString::number(r + 1), list.table()->model()->index(r, 0).data().toString());
        }
    };
    const auto row_of = [&list](const std::string& text) {
        for (std::size_t r = 0; r < list.rows().size(); ++r)
            if (list.rows()[r].preview.find(text) != std::string::npos) return int(r);
        ADD_FAILURE() << text;
        return 0;
    };
    // The editor the list opens next saves `typed`.
    const auto type_into_editor = [](const QString& typed) {
        test::when_modal([typed](QWidget* modal) {
            modal->findChild<QPlainTextEdit*>("RTBox1")->setPlainText(typed);
            test::click_button(modal, "Speichern");
        });
    };
    list.sort_by_column(1);
    matches_fresh("sorted by the text", true);
    list.table()->selectRow(row_of("Anna"));
    list.delete_record();
    EXPECT_EQ(kC + loose + multi + kB, read_bytes(main));
    matches_fresh("Anna deleted, the loose record takes her lines", true);
    list.undo();
    EXPECT_EQ(kC + kA + loose + multi + kB, read_bytes(main));
    matches_fresh("undone", true);
    type_into_editor(QStringLiteral("Zora\nmit zwei Zeilen"));
    list.edit_row(row_of("Clara"));
    EXPECT_NE(std::string::npos, read_bytes(main).find("Zora\r\nmit zwei Zeilen"));
    matches_fresh("Clara edited into two lines, moving to the end", true);
    write_bytes(main, kB + read_bytes(main));
    type_into_editor(QStringLiteral("Fest"));
    list.edit_row(row_of("Lose"));
    EXPECT_NE(std::string::npos, read_bytes(main).find("Fest"));
    matches_fresh("edited after another program added a record at the top", true);
    type_into_editor(QStringLiteral("Neu"));
    list.new_record();
    matches_fresh("a new record: file order", false);
}

// Moving expired records into the file being cleaned up would put them back
// and then refuse the rewrite: it is refused before anything is written.
TEST_F(RecordDialogs, AutoDeleteRefusesWhileTheDeletedFileIsTheOneShown) {
    const std::string expired = record("<date=01.01.2000>|<active=once>|Vorbei");
    const fs::path deleted = world.folder / "deleted.rmd";
    open_on(kA, 1);
    write_bytes(deleted, expired + kB);
    RecordList list(nullptr, world.context, {main.string()});
    list.file_name_field()->setText("deleted.rmd");
    list.auto_delete();
    EXPECT_EQ(expired + kB, read_bytes(deleted));
    EXPECT_FALSE(fs::exists(world.folder / "deleted.bak"));
    ASSERT_EQ(1u, world.dialogs.messages.size());
    EXPECT_TRUE(last_message().contains("deleted.rmd"));
}

// Undo belongs to the shown file's last change: a change of the shown file or a
// cancelled New ends it.
TEST_F(RecordDialogs, ListDeletesOnlyAChosenRowAndUndoFollowsTheShownFile) {
    open_on(kA + kB, 1);
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
    test::when_modal([](QWidget* modal) { test::click_button(modal, "Abbrechen"); });
    list.new_record();
    EXPECT_FALSE(list.undo_button()->isEnabled());
    list.undo();
    EXPECT_EQ("", read_bytes(main));
    EXPECT_EQ("Keine Sicherung vorhanden", last_message());
}

// Which links a change rewrites is the file functions' business; the list must
// not count a link it could not open as removed.
TEST_F(RecordDialogs, ClosingTheListUntouchedWritesNothingEvenWithAMissingLink) {
    const std::string links = "<add_file=stick/fehlt.rmd>\r\n<add_file=b.rmd>\r\n";
    open_on(links + kA, 1);
    write_bytes(world.folder / "b.rmd", kB);
    RecordList list(nullptr, world.context, {main.string(), "b.rmd"});
    list.accept();
    EXPECT_EQ(links + kA, read_bytes(main));
    EXPECT_FALSE(fs::exists(world.folder / "main.bak"));
}

}  // namespace
}  // namespace merkwald
