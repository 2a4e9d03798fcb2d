#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <filesystem>
#include <string>

#include "editors/insert_menu.h"
#include "editors/record_edit.h"
#include "editors/record_list.h"
#include "editors/small_dialogs.h"
#include "editors/templates.h"
#include "editors_test_support.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

const std::string kA = record("<date=01.01.1990>|<active_before=7>|Anna");
const std::string kB = record("<date=02.02.1990>|<active_before=7>|Bernd");

class EditingDialogs : public ::testing::Test {
protected:
    test::EditorWorld world{test::day(2026, 12, 7)};
    EditingState state;
    fs::path main = world.folder / "main.rmd";

    void open_on(const std::string& bytes, int record) {
        write_bytes(main, bytes);
        state.current_file = main;
        state.current_record = record;
    }
};

TEST_F(EditingDialogs, TheEditorRefusesNumbersAndTextLinesTheReaderWouldMisread) {
    open_on(kA + kB, 2);
    RecordEdit editor(nullptr, world.context, state);
    editor.lead_time_field()->setCurrentText("40000");
    editor.save();
    ASSERT_EQ(1u, world.dialogs.messages.size());
    EXPECT_EQ("Vorlaufzeit (Tage): erlaubt sind ganze Zahlen von 0 bis 32767.",
              world.dialogs.messages[0].text);
    editor.lead_time_field()->setCurrentText("7");
    editor.text_box()->setPlainText("Bernd\n</record>");
    editor.append();
    ASSERT_EQ(2u, world.dialogs.messages.size());
    EXPECT_TRUE(world.dialogs.messages[1].text.contains("</record>"));
    EXPECT_EQ(kA + kB, read_bytes(main));
}

TEST_F(EditingDialogs, TheEditorReloadsWhenAnotherProgramChangedTheFile) {
    open_on(kA + kB, 1);
    RecordEdit editor(nullptr, world.context, state);
    const std::string outside = kB + kA + kB;
    write_bytes(main, outside);
    editor.text_box()->setPlainText("Anna geändert");
    editor.save();
    EXPECT_EQ(outside, read_bytes(main));
    ASSERT_EQ(1u, world.dialogs.messages.size());
    EXPECT_TRUE(world.dialogs.messages[0].text.contains("anderen Programm"));
    EXPECT_EQ(3, state.record_count());
    EXPECT_EQ("Bernd", editor.text_box()->toPlainText());  // record 1 as it is now
}

TEST_F(EditingDialogs, AWindows1252FileBecomesUtf8OnlyAfterYes) {
    const std::string before = latin1(record("<date=01.01.1990>|Jürgen"));
    open_on(before, 2);
    for (const MessageAnswer answer : {MessageAnswer::no, MessageAnswer::yes}) {
        RecordEdit editor(nullptr, world.context, state);
        editor.text_box()->setPlainText("Łukasz");
        world.dialogs.answers.push_back(answer);
        editor.save();
        ASSERT_FALSE(world.dialogs.messages.empty());
        EXPECT_EQ(MessageButtons::yes_no, world.dialogs.messages.back().buttons);
        EXPECT_TRUE(world.dialogs.messages.back().text.contains("UTF-8"));
        if (answer == MessageAnswer::no) {
            EXPECT_EQ(before, read_bytes(main));
        }
    }
    EXPECT_NE(std::string::npos, read_bytes(main).find("Jürgen"));
    EXPECT_NE(std::string::npos, read_bytes(main).find("Łukasz"));
}

TEST_F(EditingDialogs, TabLeavesTheTextAndCtrlTabTypesATab) {
    open_on(kA, 1);
    RecordEdit editor(nullptr, world.context, state);
    EXPECT_TRUE(editor.text_box()->tabChangesFocus());
    editor.text_box()->setPlainText("");
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(editor.text_box(), &tab);
    EXPECT_EQ("", editor.text_box()->toPlainText());
    QKeyEvent ctrl_tab(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier, QStringLiteral("\t"));
    QApplication::sendEvent(editor.text_box(), &ctrl_tab);
    EXPECT_EQ("\t", editor.text_box()->toPlainText());
}

TEST_F(EditingDialogs, ColumnWidthsStayAcrossOpenings) {
    write_bytes(main, kA);
    std::array<int, kListColumns> first{};
    {
        RecordList list(nullptr, world.context, {main.string()});
        for (int c = 0; c < kListColumns; ++c) first[std::size_t(c)] = list.table()->columnWidth(c);
        list.table()->setColumnWidth(1, first[1] + 40);
        list.accept();
        world.context.settings.columns = list.chosen_columns();
    }
    for (int opening = 0; opening < 2; ++opening) {
        RecordList list(nullptr, world.context, {main.string()});
        EXPECT_EQ(first[2], list.table()->columnWidth(2)) << opening;
        EXPECT_NEAR(first[1] + 40, list.table()->columnWidth(1), 1) << opening;
        list.accept();
        world.context.settings.columns = list.chosen_columns();
    }
}

TEST_F(EditingDialogs, OpenTakesANewNameAndSaveAsNeverWritesOverItself) {
    write_bytes(main, kA);
    RecordList list(nullptr, world.context, {main.string()});
    const fs::path fresh = world.folder / "neu.rmd";
    world.dialogs.file_names.push_back(QString::fromStdString(fresh.string()));
    list.open_file();
    EXPECT_TRUE(fs::is_regular_file(fresh));
    EXPECT_EQ(fresh, list.current_file());
    fs::create_symlink(fresh, world.folder / "verweis.rmd");
    write_bytes(fresh, kB);
    list.fill();
    world.dialogs.file_names.push_back(
        QString::fromStdString((world.folder / "verweis.rmd").string()));
    list.save_as();
    EXPECT_EQ(kB, read_bytes(fresh));
    ASSERT_FALSE(world.dialogs.messages.empty());
    EXPECT_TRUE(world.dialogs.messages.back().text.contains("zugleich Quelle und Ziel"));
}

TEST_F(EditingDialogs, TheDateSortDialogHasRoomForItsCaption) {
    SelectDateSort dialog(nullptr);
    EXPECT_GE(dialog.minimumWidth(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()));
}

TEST_F(EditingDialogs, TemplatesAndInsertTextsThatAreNoFilesAreNamed) {
    const fs::path fifo = world.folder / "geb_text.dat";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    test::RecordingSink sink;
    const TemplateTable table = load_birthday_templates(world.folder.path(), sink);
    EXPECT_FALSE(table.found);
    ASSERT_EQ(1u, sink.shown.size());
    EXPECT_NE(std::string::npos, sink.shown[0].text.find("geb_text.dat"));
    EXPECT_NE(std::string::npos, sink.shown[0].text.find("Pipe"));
    const InsertTexts texts = load_insert_texts("/dev/zero");
    EXPECT_TRUE(texts.failed);
    EXPECT_NE(std::string::npos, texts.problem.find("Gerät"));
}

}  // namespace
}  // namespace merkwald
