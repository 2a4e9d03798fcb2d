#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include "editors/convert_form.h"
#include "editors/entry_commands.h"
#include "editors/entry_form.h"
#include "editors/import_form.h"
#include "editors/new_file_form.h"
#include "editors/record_commands.h"
#include "editors/record_list.h"
#include "editors_test_support.h"

namespace merkwald {
namespace {

const std::vector<TextTemplate> kTemplates = {
    {"Erste", "", "hat Geburtstag"}, {"Zweite", "Es ist", "da"}, {"Dritte", "Karte an", "!"}};

void press_enter(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class EntryDialogs : public ::testing::Test {
protected:
    test::EditorWorld world;
    std::filesystem::path main = world.folder / "main.rmd";

    void SetUp() override { world.store.create_key(kMainKey, kKeyClass); }
};

TEST_F(EntryDialogs, EnterInEveryFieldSavesAndTheDialogStaysOpen) {
    BirthdayEntryForm form(nullptr, world.context, kTemplates, "main.rmd");
    form.show();
    QWidget* fields[] = {form.name_field(), form.date_field(), form.lead_time_field(),
                         form.template_field()};
    int saved = 0;
    for (QWidget* field : fields) {
        form.name_field()->setText(QStringLiteral("Anna"));
        form.date_field()->setText(QStringLiteral("5.3.1998"));
        press_enter(field);
        EXPECT_TRUE(form.name_field()->text().isEmpty()) << saved;
        EXPECT_TRUE(form.date_field()->text().isEmpty()) << saved;
        ++saved;
    }
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(4, test::count_of(read_bytes(main), "<date=05.03.1998>"));
    EXPECT_TRUE(world.dialogs.messages.empty());
}

TEST_F(EntryDialogs, MessagesKeepTheFieldsAndWriteNothing) {
    AppointmentEntryForm form(nullptr, world.context, kTemplates, "main.rmd");
    form.date_field()->setText(QStringLiteral("1.1.2000"));
    form.save();
    form.name_field()->setText(QStringLiteral("Zahnarzt"));
    form.date_field()->setText(QStringLiteral("32.1.2000"));
    form.save();
    form.file_field()->setText(QString::fromStdString((world.folder / "fehlt" / "x.rmd").string()));
    form.date_field()->setText(QStringLiteral("1.2.2000"));
    form.save();
    const std::vector<QString> texts = world.message_texts();
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ("Kein Text!", texts[0]);
    EXPECT_EQ("Kein oder Falsches Datum", texts[1]);
    EXPECT_EQ(MessageIcon::critical, world.dialogs.messages[2].icon);
    EXPECT_EQ("Zahnarzt", form.name_field()->text());
    EXPECT_EQ("1.2.2000", form.date_field()->text());
    EXPECT_FALSE(std::filesystem::exists(main));
}

TEST_F(EntryDialogs, ZurueckHandsBackThePresetsAndReopeningShowsThem) {
    world.settings.selected_text = -1;
    {
        BirthdayEntryForm form(nullptr, world.context, kTemplates, "main.rmd");
        EXPECT_EQ("21", form.lead_time_field()->currentText());
        EXPECT_EQ(0, form.template_field()->currentIndex());
        world.dialogs.colors.push_back(QColor(0, 0, 255));
        test::find_button(&form, "Farbe")->click();
        form.lead_time_field()->setEditText(QStringLiteral("3"));
        form.template_field()->setCurrentIndex(2);
        test::find_button(&form, "Zurück")->click();
        // What the caller does after the dialog, however it was closed.
        store_entry_presets(world.settings, world.store, form.kind(), form.chosen_presets());
    }
    EXPECT_EQ(std::optional<std::int32_t>(2), world.settings.selected_text);
    EXPECT_EQ(255 * 65536, world.settings.birthday_color);
    BirthdayEntryForm again(nullptr, world.context, kTemplates, "main.rmd");
    EXPECT_EQ("3", again.lead_time_field()->currentText());
    EXPECT_EQ("Dritte", again.template_field()->currentText());
    EXPECT_EQ(255 * 65536, again.color());
    StoreValue value;
    ASSERT_TRUE(world.store.query_value(kMainKey, "BirthdayColor", value));
    EXPECT_EQ(StoreValue(std::int32_t(255 * 65536)), value);
}

TEST_F(EntryDialogs, ImportShowsMessageAndStatus) {
    write_bytes(world.folder / "geb.csv", "A,1.1.1990\nB,2.2.1990\nC,kein Datum\nD,1.1.1990\n");
    BirthdayImportForm form(nullptr, world.context, kTemplates, "main.rmd");
    form.import_file_field()->setText(QStringLiteral("geb.csv"));
    test::find_button(&form, "Import")->click();
    EXPECT_EQ((std::vector<QString>{"Falsches Datum in Importdatei!\nZeile 3 der Importdatei."}),
              world.message_texts());
    EXPECT_EQ("Fehler beim Import!  2 Datensätze importiert", form.status_line()->text());

    form.import_file_field()->setText(QStringLiteral("fehlt.csv"));
    form.run_import();
    EXPECT_TRUE(world.dialogs.messages.back().text.startsWith("Fehler beim Import\nDie Datei "));
    EXPECT_TRUE(world.dialogs.messages.back().text.contains("fehlt.csv"));
}

TEST_F(EntryDialogs, ConverterAsksBeforeOverwritingAndSuccessCloses) {
    write_bytes(world.folder / "alt.rmd", "<color=blue>\r\n");
    write_bytes(world.folder / "neu.rmd", "bleibt\r\n");
    ConvertForm form(nullptr, world.context);
    form.input_field()->setText(QStringLiteral("alt.rmd"));
    form.output_field()->setText(QStringLiteral("neu.rmd"));
    world.dialogs.answers.push_back(MessageAnswer::cancel);
    form.convert();
    EXPECT_EQ("bleibt\r\n", read_bytes(world.folder / "neu.rmd"));
    form.show();
    form.convert();
    EXPECT_EQ("<color=8388608>\r\n", read_bytes(world.folder / "neu.rmd"));
    const QString ask = QStringLiteral("Zieldatei wird überschrieben!");
    EXPECT_EQ((std::vector<QString>{ask, ask, "Datei erfolgreich konvertiert!"}),
              world.message_texts());
    EXPECT_EQ(MessageIcon::information, world.dialogs.messages.back().icon);
    EXPECT_EQ(QDialog::Accepted, form.result());
}

TEST_F(EntryDialogs, NewFileOpensTheRecordListOnTheNewFileList) {
    std::vector<std::string> created;
    NewFileForm form(nullptr, world.context,
                     [&created](const std::vector<std::string>& files) { created = files; });
    form.create();
    EXPECT_EQ("Kein Dateiname!", world.dialogs.messages.back().text);

    world.dialogs.file_names = {QStringLiteral("/daten/a.rmd"), QStringLiteral("/daten/b.rmd"),
                                QStringLiteral("/daten/c.rmd")};
    for (int i = 0; i < 3; ++i) form.add_linked_file();
    form.linked_files()->setCurrentRow(1);
    form.remove_linked_file();
    form.file_field()->setText(QStringLiteral("neu"));
    std::vector<std::string> listed;
    test::when_modal([&listed](QWidget* modal) {
        auto* list = qobject_cast<RecordList*>(modal);
        ASSERT_NE(nullptr, list);
        listed = list->file_list();
        list->reject();
    });
    form.create();
    const std::string path = (world.folder / "neu.rmd").string();
    const std::vector<std::string> expected{path, "/daten/a.rmd", "/daten/c.rmd"};
    EXPECT_EQ(expected, created);
    EXPECT_EQ(expected, listed);
}

TEST_F(EntryDialogs, NewFileOverwriteCancelledAndCreateFailure) {
    write_bytes(world.folder / "da.rmd", "alt\r\n");
    bool told = false;
    NewFileForm form(nullptr, world.context,
                     [&told](const std::vector<std::string>&) { told = true; });
    form.file_field()->setText(QStringLiteral("da.rmd"));
    world.dialogs.answers.push_back(MessageAnswer::cancel);
    form.create();
    EXPECT_EQ("Datei ist bereits vorhanden!\nÜberschreiben?", world.dialogs.messages.back().text);
    EXPECT_EQ(MessageButtons::ok_cancel, world.dialogs.messages.back().buttons);
    EXPECT_EQ("alt\r\n", read_bytes(world.folder / "da.rmd"));

    form.file_field()->setText(QStringLiteral("fehlt/neu"));
    form.create();
    EXPECT_TRUE(
        world.dialogs.messages.back().text.startsWith("Datei konnte nicht angelegt werden\n"));
    EXPECT_FALSE(told);
}

TEST_F(EntryDialogs, CommandsFollowTheModalRuleAndTheTemplates) {
    test::RecordingHost host(world);
    EntryCommands commands(host, nullptr);
    QMenu file_menu, records_menu, tools_menu;
    add_entry_actions(commands, &file_menu, &records_menu, &tools_menu);

    write_bytes(world.folder / "term_text.dat", "*\r\nT\r\nvor\r\nnach\r\n");
    commands.load_templates();
    EXPECT_EQ(
        (std::vector<QString>{
            "geb_text.dat nicht gefunden!\nGeburtstage eingeben und importieren deaktiviert!"}),
        world.message_texts());
    EXPECT_FALSE(commands.birthday_action()->isEnabled());
    EXPECT_FALSE(commands.import_action()->isEnabled());
    EXPECT_TRUE(commands.appointment_action()->isEnabled());

    bool paused = false;
    test::when_modal([&](QWidget* modal) {
        paused = host.timer_paused;
        EXPECT_EQ("Termin eingeben", modal->windowTitle());
        EXPECT_EQ("main.rmd", modal->findChild<QLineEdit*>(QStringLiteral("DateiText"))->text());
        qobject_cast<QDialog*>(modal)->reject();
    });
    records_menu.actions().at(2)->trigger();
    EXPECT_TRUE(paused);
    EXPECT_EQ(1, host.refreshes);

    paused = true;
    test::when_modal([&](QWidget* modal) {
        paused = host.timer_paused;
        qobject_cast<QDialog*>(modal)->reject();
    });
    tools_menu.actions().at(0)->trigger();
    EXPECT_FALSE(paused);
    EXPECT_EQ(2, host.refreshes);
}

}  // namespace
}  // namespace merkwald
