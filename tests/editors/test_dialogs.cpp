#include <gtest/gtest.h>

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>

#include "editors/record_commands.h"
#include "editors/record_edit.h"
#include "editors/record_list.h"
#include "editors/small_dialogs.h"
#include "editors_test_support.h"
#include "shell/date_picker.h"

namespace merkwald {
namespace {

using test::day;

const std::string kRecordA =
    record("<date=07.03.1970>|<active_before=7>|N hat <days_before_event_text> Geburtstag");
const std::string kRecordB = record("<date=01.03.1999>|<active=once>|Alt");
const std::string kRecordC = record("<date=10.03.1999>|<active=once>|Neu");

QAction* find_action(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

class Dialogs : public ::testing::Test {
protected:
    test::EditorWorld world;
    EditingState state;

    void write_main(const std::string& text) {
        state.current_file = world.folder / "main.rmd";
        write_bytes(state.current_file, text);
    }
};

TEST_F(Dialogs, EditorOpensARecordAndPreviewsItThenColourAndStandard) {
    write_main(kRecordA + kRecordB);
    state.current_record = 1;
    world.settings.record_color = 0;
    RecordEdit editor(nullptr, world.context, state);
    EXPECT_TRUE(editor.mode_button(RecordMode::yearly)->isChecked());
    EXPECT_EQ("07.03.1970", editor.date_field()->text());
    EXPECT_EQ("7", editor.lead_time_field()->currentText());
    EXPECT_FALSE(editor.period_field()->isEnabled());
    EXPECT_EQ("N hat in 2 Tagen Geburtstag", editor.preview_box()->toPlainText());
    // The remembered texts are the field functions' concern; here only the wiring.
    editor.mode_button(RecordMode::monthly)->click();
    EXPECT_FALSE(editor.date_field()->isEnabled());
    EXPECT_EQ("1", editor.ordinal_field()->text());
    // A placeholder still being typed: an empty preview, no message, and the
    // refresh's syntax-error reporting left as it was.
    editor.text_box()->setPlainText("N hat <days_before");
    editor.update_preview();
    EXPECT_EQ("", editor.preview_box()->toPlainText());
    EXPECT_FALSE(world.engine.syntax_error_switch);
    EXPECT_TRUE(world.dialogs.messages.empty());

    world.dialogs.colors.push_back(QColor(255, 0, 0));
    editor.pick_color();
    EXPECT_EQ(255, editor.fields().color);
    editor.set_standard();
    const RecordFields f = editor.fields();
    EXPECT_EQ(RecordMode::yearly, f.mode);
    EXPECT_EQ(0, f.color);
    EXPECT_EQ("21", f.lead_time);
    EXPECT_EQ("keine", f.group);
}

TEST_F(Dialogs, InsertMenuHasEverySubmenuAndInsertsAtTheCaret) {
    write_main(kRecordA);
    state.current_record = 2;
    RecordEdit editor(nullptr, world.context, state);
    QMenu* menu = editor.insert_menu();
    QMenu* texts = find_action(menu, "Texte")->menu();
    ASSERT_EQ(4, texts->actions().size());
    EXPECT_EQ(" hat in ... Tagen am TAG. MONAT ... Geburtstag", texts->actions()[0]->text());

    editor.text_box()->setPlainText("Anna");
    editor.text_box()->moveCursor(QTextCursor::End);
    texts->actions()[0]->trigger();
    find_action(find_action(find_action(menu, "Jahr")->menu(), "Ereignis")->menu(),
                "Jahr (z.B. 1998)")
        ->trigger();
    EXPECT_EQ(
        "Anna hat <days_before_event_text> am <event_d.mmmm> <years_after_date>. "
        "Geburtstag<event_yyyy>",
        editor.text_box()->toPlainText());
}

TEST_F(Dialogs, AMissingInsertTextFileIsReportedAndTheBirthdayTextStands) {
    write_main("");
    world.settings.text_filename = (world.folder / "fehlt.dat").string();
    RecordEdit editor(nullptr, world.context, state);
    ASSERT_EQ(1u, world.dialogs.messages.size());
    EXPECT_EQ("Einfüg Text Datei nicht gefunden oder Fehlerhaft\nBitte kontrollieren",
              world.dialogs.messages[0].text);
    EXPECT_EQ(MessageIcon::critical, world.dialogs.messages[0].icon);
    EXPECT_EQ(1u, editor.insert_texts().entries.size());
}

TEST_F(Dialogs, SaveRefusesAOnceRecordWithoutDateThenAppendsAndStoresThePresets) {
    write_main(kRecordA);
    state.current_record = 2;
    RecordEdit editor(nullptr, world.context, state);
    editor.mode_button(RecordMode::once)->click();
    editor.date_field()->setText("31.02.1999");
    editor.save();
    ASSERT_EQ(1u, world.dialogs.messages.size());
    EXPECT_EQ("Kein oder Falsches Datum bei einmaligem Termin", world.dialogs.messages[0].text);
    EXPECT_EQ(kRecordA, read_bytes(state.current_file));
    EXPECT_EQ(QDialog::Rejected, editor.result());

    editor.mode_button(RecordMode::yearly)->click();
    editor.date_field()->setText("1.4.99");
    editor.lead_time_field()->setCurrentText("14");
    editor.group_field()->setCurrentIndex(3);
    editor.text_box()->setPlainText("Termin");
    editor.save();
    EXPECT_EQ(kRecordA +
                  "\r\n<record>\r\n<date=01.04.1999>\r\n<active_before=14>\r\n"
                  "<group=Termine>\r\nTermin\r\n</record>\r\n",
              read_bytes(state.current_file));
    ASSERT_TRUE(editor.chosen_presets());
    EXPECT_EQ("14", editor.chosen_presets()->days_before);
    EXPECT_EQ(3, editor.chosen_presets()->pref_group);
    EXPECT_EQ(QDialog::Accepted, editor.result());
}

TEST_F(Dialogs, DatePickerShowsTheLeapDayAndCancelLeavesTheField) {
    write_main(kRecordA);
    state.current_record = 1;
    RecordEdit editor(nullptr, world.context, state);
    editor.date_field()->setText("29.2.2000");
    test::when_modal([](QWidget* modal) {
        auto* picker = qobject_cast<DatePicker*>(modal);
        ASSERT_NE(nullptr, picker);
        EXPECT_EQ(QDate(2000, 2, 29), picker->calendar()->selectedDate());
        test::click_button(modal, "Abbrechen");
    });
    editor.pick_date();
    EXPECT_EQ("29.2.2000", editor.date_field()->text());
    test::when_modal([](QWidget* modal) {
        qobject_cast<DatePicker*>(modal)->calendar()->setSelectedDate(QDate(2001, 1, 5));
        test::click_button(modal, "OK");
    });
    editor.pick_date();
    EXPECT_EQ("05.01.2001", editor.date_field()->text());
}

TEST(SmallDialogs, LeadOverrideIsReadFromTheStartOfTheField) {
    EXPECT_EQ(-1, parse_lead_override(""));
    EXPECT_EQ(-1, parse_lead_override("   "));
    EXPECT_EQ(0, parse_lead_override("0"));
    EXPECT_EQ(0, parse_lead_override("abc"));
    EXPECT_EQ(14, parse_lead_override(" 14 Tage"));
}

TEST_F(Dialogs, ListDeletesOnlyAChosenRowAndUndoRestores) {
    write_main(kRecordA + kRecordB + kRecordC);
    RecordList list(nullptr, world.context, {state.current_file.string()});
    EXPECT_EQ(3, list.table()->rowCount());
    EXPECT_FALSE(list.undo_button()->isEnabled());
    list.undo();
    ASSERT_EQ(1u, world.dialogs.messages.size());
    EXPECT_EQ("Keine Sicherung vorhanden", world.dialogs.messages[0].text);
    EXPECT_EQ(MessageIcon::information, world.dialogs.messages[0].icon);
    EXPECT_EQ(kRecordA + kRecordB + kRecordC, read_bytes(state.current_file));
    // No row chosen: Delete is off and deletes nothing.
    EXPECT_FALSE(list.delete_button()->isEnabled());
    list.delete_record();
    EXPECT_EQ(kRecordA + kRecordB + kRecordC, read_bytes(state.current_file));
    list.table()->selectRow(2);
    EXPECT_TRUE(list.delete_button()->isEnabled());
    list.delete_record();
    EXPECT_EQ(kRecordA + kRecordB, read_bytes(state.current_file));
    EXPECT_EQ(2, list.table()->rowCount());
    EXPECT_TRUE(list.undo_button()->isEnabled());
    list.undo();
    EXPECT_EQ(kRecordA + kRecordB + kRecordC, read_bytes(state.current_file));
    EXPECT_EQ(3, list.table()->rowCount());
}

TEST_F(Dialogs, ListAutoDeleteMovesAndReports) {
    write_main(kRecordB + kRecordA + kRecordB + kRecordC);
    RecordList list(nullptr, world.context, {state.current_file.string()});
    list.auto_delete();
    EXPECT_EQ(2, list.table()->rowCount());
    ASSERT_EQ(1u, world.dialogs.messages.size());
    EXPECT_EQ(" 2 gelöschte Datensätze in Datei deleted.rmd bewegt",
              world.dialogs.messages[0].text);
    EXPECT_EQ(MessageIcon::exclamation, world.dialogs.messages[0].icon);
    EXPECT_FALSE(list.undo_button()->isEnabled());
}

TEST_F(Dialogs, ListDateHeadingSortsInTheChosenOrderAndEditingKeepsIt) {
    write_main(kRecordC + kRecordA + kRecordB);
    RecordList list(nullptr, world.context, {state.current_file.string()});
    test::when_modal([](QWidget* modal) {
        for (QRadioButton* b : modal->findChildren<QRadioButton*>()) {
            if (b->text() == "Monat") b->setChecked(true);
        }
        test::click_button(modal, "OK");
    });
    list.sort_by_column(2);
    EXPECT_EQ("01.03.1999", list.table()->item(0, 2)->text());
    EXPECT_EQ("07.03.1970", list.table()->item(1, 2)->text());
    EXPECT_EQ("10.03.1999", list.table()->item(2, 2)->text());
    EXPECT_EQ("1", list.table()->item(0, 0)->text());
    // Editing a row: the list comes back sorted the same way.
    test::when_modal([](QWidget* modal) { test::click_button(modal, "Speichern"); });
    list.edit_row(2);
    EXPECT_EQ("01.03.1999", list.table()->item(0, 2)->text());
    EXPECT_EQ("10.03.1999", list.table()->item(2, 2)->text());
}

TEST_F(Dialogs, ListLinksAreCheckedAndClosingGathersThemAndStoresTheColumnWidths) {
    write_bytes(world.folder / "b.rmd", kRecordB);
    write_main(kRecordA + "<add_file=b.rmd>\r\n");
    RecordList list(nullptr, world.context, {state.current_file.string(), "b.rmd"});
    EXPECT_EQ("b.rmd", list.linked_files()->currentText());
    world.dialogs.file_names.push_back(QString::fromStdString(state.current_file.string()));
    list.add_link();
    world.dialogs.answers.push_back(MessageAnswer::cancel);
    list.remove_link();
    EXPECT_EQ(2u, list.file_list().size());
    list.remove_link();
    EXPECT_EQ(1u, list.file_list().size());
    EXPECT_EQ("keine", list.linked_files()->currentText());
    EXPECT_EQ(state.current_file, list.current_file());
    ASSERT_EQ(3u, world.dialogs.messages.size());
    EXPECT_EQ("Datei kann nicht mit sich selbst verbunden werden!", world.dialogs.messages[0].text);
    EXPECT_EQ("Verbindung mit b.rmd löschen?", world.dialogs.messages[1].text);
    EXPECT_EQ(MessageIcon::question, world.dialogs.messages[1].icon);

    const std::string c_file = (world.folder / "c.rmd").string();
    write_bytes(c_file, kRecordC);
    world.dialogs.file_names.push_back(QString::fromStdString(c_file));
    list.add_link();
    EXPECT_EQ(2u, list.file_list().size());
    EXPECT_EQ(c_file, list.current_file());
    list.accept();
    EXPECT_EQ("<add_file=" + c_file + ">\r\n" + kRecordA, read_bytes(state.current_file));
    ASSERT_TRUE(list.chosen_columns()[1].has_value());
    EXPECT_EQ(5680, *list.chosen_columns()[1]);
}

void answer_look_ahead(const QString& text, const QString& button, QString* shown = nullptr) {
    test::when_modal([text, button, shown](QWidget* modal) {
        auto* dialog = qobject_cast<GlobalActiveSet*>(modal);
        ASSERT_NE(nullptr, dialog);
        if (shown != nullptr) *shown = dialog->days_field()->text();
        dialog->days_field()->setText(text);
        test::click_button(modal, button);
    });
}

TEST(RecordCommands, MenuCommandsAndLookAheadRunAsModalCommands) {
    test::EditorWorld world;
    test::write_bytes(world.folder / "main.rmd", "<record>\r\nA\r\n</record>\r\n");
    test::RecordingHost host(world);
    QMenuBar bar;
    RecordCommands* commands = add_record_menu(&bar, host);
    QMenu* menu = bar.actions().at(0)->menu();
    bool paused_while_open = false;
    test::when_modal([&](QWidget* modal) {
        paused_while_open = host.timer_paused;
        EXPECT_EQ("Datensatzeditor", modal->windowTitle());
        qobject_cast<QDialog*>(modal)->reject();
    });
    menu->actions().at(0)->trigger();
    EXPECT_TRUE(paused_while_open);
    EXPECT_EQ(1, host.refreshes);
    test::when_modal([&](QWidget* modal) {
        EXPECT_EQ("Datensatz Liste", modal->windowTitle());
        qobject_cast<QDialog*>(modal)->accept();
    });
    menu->actions().at(1)->trigger();
    EXPECT_EQ(2, host.refreshes);

    // The look-ahead shows the data once with the days instead of refreshing, and
    // offers the last days again; "normal" leaves the override.
    EXPECT_EQ("next", commands->look_ahead_action()->objectName());
    answer_look_ahead("14", "OK");
    commands->look_ahead_action()->trigger();
    EXPECT_EQ(std::vector<int>{14}, host.lead_days);
    EXPECT_EQ(2, host.refreshes);
    QString shown;
    answer_look_ahead("0", "OK", &shown);
    commands->look_ahead();
    EXPECT_EQ("14", shown);
    EXPECT_EQ((std::vector<int>{14, 0}), host.lead_days);
    answer_look_ahead("", "OK", &shown);
    commands->look_ahead();
    EXPECT_EQ("", shown);
    answer_look_ahead("7", "normal");
    commands->look_ahead();
    EXPECT_EQ((std::vector<int>{14, 0}), host.lead_days);
    EXPECT_EQ(-1, commands->lead_override());
}

}  // namespace
}  // namespace merkwald
