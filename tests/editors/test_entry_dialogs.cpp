// The entry, import, converter and new-file dialogs, the menus' modal rule, and
// every editing dialog walked with the keyboard.

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "../support/keyboard_walk.h"
#include "editors/entry/entry_commands.h"
#include "editors/entry/entry_form.h"
#include "editors/files/convert_form.h"
#include "editors/files/import_form.h"
#include "editors/files/new_file_form.h"
#include "editors/files/vcard_import_form.h"
#include "editors/records/record_edit.h"
#include "editors/records/record_list.h"
#include "editors/records/small_dialogs.h"
#include "editors_test_support.h"

namespace merkwald {
namespace {

const std::vector<TextTemplate> kTemplates = {
    {"Erste", "", "hat Geburtstag"}, {"Zweite", "Es ist", "da"}, {"Dritte", "Karte an", "!"}};

class EntryDialogs : public ::testing::Test {
protected:
    test::EditorWorld world;
    std::filesystem::path main = world.folder / "main.rmd";

    void SetUp() override { world.store.create_key(kMainKey, kKeyClass); }
};

// The date field takes the program's date forms as typed; the record gets the
// date written in full. A refused field keeps what was typed and writes nothing.
TEST_F(EntryDialogs, EveryTypedDateFormIsWrittenInFullAndARefusalWritesNothing) {
    AppointmentEntryForm form(nullptr, world.context, kTemplates, "main.rmd");
    const char* const typed_forms[] = {"1.4.2027", "01.04.27", "2027-04-01", "01042027", "010427"};
    for (const char* typed : typed_forms) {
        SCOPED_TRACE(typed);
        form.name_field()->setText(QStringLiteral("Zahnarzt"));
        test::retype(*form.date_field(), QString::fromLatin1(typed));
        form.save();
    }
    const std::string written = read_bytes(main);
    EXPECT_EQ(test::count_of(written, "<date=01.04.2027>"), int(std::size(typed_forms)));

    form.name_field()->clear();
    form.save();
    form.name_field()->setText(QStringLiteral("Zahnarzt"));
    test::retype(*form.date_field(), QStringLiteral("31.04.2027"));
    form.save();
    form.file_field()->setText(QString::fromStdString((world.folder / "fehlt" / "x.rmd").string()));
    form.date_field()->setText(QStringLiteral("1.2.2000"));
    form.save();
    const auto& shown = world.dialogs.messages;
    ASSERT_EQ(3u, shown.size());
    EXPECT_EQ("Kein Text!", shown[0].text);
    EXPECT_EQ("Kein oder Falsches Datum", shown[1].text);
    EXPECT_EQ("1.2.2000", form.date_field()->text());
    EXPECT_EQ(read_bytes(main), written);
}

TEST_F(EntryDialogs, ImportNamesTheFailingLine) {
    write_bytes(world.folder / "geb.csv", "A,1.1.1990\nB,2.2.1990\nC,kein Datum\nD,1.1.1990\n");
    BirthdayImportForm form(nullptr, world.context, kTemplates, "main.rmd");
    form.import_file_field()->setText(QStringLiteral("geb.csv"));
    test::click_button(&form, "Import");
    ASSERT_EQ(1u, world.dialogs.messages.size());
    EXPECT_EQ("Falsches Datum in Importdatei!\nZeile 3 der Importdatei.",
              world.dialogs.messages[0].text);
    EXPECT_EQ("Fehler beim Import!  2 Datensätze importiert", form.status_line()->text());
    // A second run: while its box is open the line shows its own end, not the first's.
    write_bytes(world.folder / "geb.csv", "E,1.1.1990\nF,kein Datum\n");
    QString while_open;
    world.dialogs.while_open = [&](const auto&) { while_open = form.status_line()->text(); };
    test::click_button(&form, "Import");
    EXPECT_EQ("Fehler beim Import!  1 Datensätze importiert", while_open);
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
    EXPECT_EQ(QDialog::Accepted, form.result());
}

TEST_F(EntryDialogs, NewFileAsksBeforeOverwritingAndOpensTheListOnTheNewFiles) {
    write_bytes(world.folder / "neu.rmd", "alt\r\n");
    std::vector<std::string> created;
    NewFileForm form(nullptr, world.context,
                     [&created](const std::vector<std::string>& files) { created = files; });
    form.file_field()->setText(QStringLiteral("neu"));
    world.dialogs.answers.push_back(MessageAnswer::cancel);
    form.create();
    EXPECT_EQ("alt\r\n", read_bytes(world.folder / "neu.rmd"));

    world.dialogs.file_names = {QStringLiteral("/daten/a.rmd")};
    form.add_linked_file();
    std::vector<std::string> listed;
    test::when_modal([&listed](QWidget* modal) {
        auto* list = qobject_cast<RecordList*>(modal);
        ASSERT_NE(nullptr, list);
        listed = list->file_list();
        list->reject();
    });
    form.create();
    const std::vector<std::string> expected{(world.folder / "neu.rmd").string(), "/daten/a.rmd"};
    EXPECT_EQ(expected, created);
    EXPECT_EQ(expected, listed);
}

// A window opened from a menu runs as a modal command: the timer waits while it
// is open and the list is read again after it.
TEST_F(EntryDialogs, MenuCommandsRunModalAndFollowTheTemplates) {
    write_bytes(main, record("<date=01.01.1990>|Anna"));
    test::RecordingHost host(world);
    EntryCommands commands(host, nullptr);
    QMenu file_menu, records_menu, tools_menu;
    add_entry_actions(commands, &file_menu, &records_menu, &tools_menu);
    QMenuBar bar;
    add_record_menu(&bar, host);
    write_bytes(world.folder / "term_text.dat", "*\r\nT\r\nvor\r\nnach\r\n");
    commands.load_templates();
    EXPECT_FALSE(commands.birthday_action()->isEnabled());
    EXPECT_FALSE(commands.import_action()->isEnabled());
    EXPECT_TRUE(commands.appointment_action()->isEnabled());

    for (QAction* action :
         {records_menu.actions().at(2), bar.actions().at(0)->menu()->actions().at(0)}) {
        bool paused = false;
        test::when_modal([&](QWidget* modal) {
            paused = host.timer_paused;
            qobject_cast<QDialog*>(modal)->reject();
        });
        action->trigger();
        EXPECT_TRUE(paused) << action->text().toStdString();
    }
    EXPECT_EQ(2, host.refreshes);
}

// Walked with the keyboard and heard through a screen reader: Tab goes in
// reading order and reaches every control, Return presses the one default
// button, Escape cancels, and every control has a name. The address book's
// preview: its table, the template, then the buttons. The record list: its grid
// first (Tab leaves it), the file row, the record buttons ("Löschen" and
// "Rückgängig" wait for a chosen row), OK last and default.
TEST_F(EntryDialogs, KeyboardReadingOrderEveryControlOneDefaultEscapeAndNames) {
    write_bytes(main, record("<date=01.01.1990>|<active_before=7>|<group=Geburtstage>|Anna"));
    EditingState state;
    state.current_file = main;
    state.current_record = 1;
    EditorContext& c = world.context;
    const VcardBook book =
        parse_vcards("BEGIN:VCARD\r\nFN:Bernd\r\nBDAY:1980-05-17\r\nEND:VCARD\r\n");
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<BirthdayEntryForm>(nullptr, c, kTemplates, "main.rmd"));
    dialogs.push_back(std::make_unique<BirthdayImportForm>(nullptr, c, kTemplates, "main.rmd"));
    dialogs.push_back(std::make_unique<ConvertForm>(nullptr, c));
    dialogs.push_back(std::make_unique<NewFileForm>(nullptr, c, [](const auto&) {}));
    dialogs.push_back(std::make_unique<RecordEdit>(nullptr, c, state));
    dialogs.push_back(std::make_unique<SelectDateSort>(nullptr));
    dialogs.push_back(std::make_unique<GlobalActiveSet>(nullptr, 7));
    dialogs.push_back(std::make_unique<VcardImportForm>(nullptr, c, kTemplates, main, book));
    dialogs.push_back(std::make_unique<RecordList>(nullptr, c, std::vector{main.string()}));
    const std::pair<const char*, const char*> walks[] = {
        {"NameText | DatumText | Command1 | VorlaufCombo | FormatCombo | DateiText | GebBrowse | "
         "Farbe wählen | GebOK | GebAbbruch",
         "GebOK"},
        {"ImportDatei | Import - Datei suchen | DateiText | Merkwald - Datei suchen | "
         "Name, Datum | FormatCombo | VorlaufCombo | Farbe | Import | Zurück",
         "Import"},
        {"indatei | Zu konvertierende Datei suchen | outdatei | Zieldatei suchen | Konvertieren | "
         "Abbrechen",
         "Konvertieren"},
        {"DateiText | FileBrowse | List1 | ZusatzBrowse | ZusatzRemove | OKButton | AbbruchButton",
         "OKButton"},
        {"Option1 | Text3 | Command1 | Combo2 | Combo5 | Farbe wählen | RTBox1 | TextVorschau | "
         "Standard | Speichern | Anfügen | Abbrechen",
         "Speichern"},
        {"Tag | Abwärts | OK", "OK"},
        {"QLineEdit | OK | normal", "OK"},
        {"VcardTable | VcardTemplate | VcardImportButton | Abbrechen", "VcardImportButton"},
        {"Tabelle | Text1 | Hauptdatei anzeigen | Anzeige | DateiCombo | "
         "Verbundene Datei anzeigen | Hinzufügen | Trennen | Neu | Auto Löschen | Öffnen | "
         "Speichern unter | OK",
         "OK"},
    };
    ASSERT_EQ(std::size(walks), dialogs.size());
    for (std::size_t i = 0; i < dialogs.size(); ++i) {
        SCOPED_TRACE(dialogs[i]->metaObject()->className());
        const auto& [order, default_button] = walks[i];
        test::expect_keyboard_walk(*dialogs[i], nullptr, order, QString::fromUtf8(default_button));
    }
}

}  // namespace
}  // namespace merkwald
