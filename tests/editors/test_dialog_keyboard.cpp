// The editing dialogs walked with the keyboard and heard through a screen
// reader: Tab goes in reading order and reaches every control, Return presses
// the one default button, Escape cancels, and every control has a name.

#include <gtest/gtest.h>

#include <QDialog>
#include <memory>
#include <tuple>

#include "../support/keyboard_walk.h"
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

const std::vector<TextTemplate> kTemplates = {{"Erste", "", "hat Geburtstag"},
                                              {"Zweite", "Es ist", "da"}};

class DialogKeyboard : public ::testing::Test {
protected:
    test::EditorWorld world;
    EditingState state;

    DialogKeyboard() {
        write_bytes(world.folder / "main.rmd",
                    record("<date=01.01.1990>|<active_before=7>|<group=Geburtstage>|Anna"));
        state.current_file = world.folder / "main.rmd";
        state.current_record = 1;
    }

    std::unique_ptr<QDialog> open(const std::string& name) {
        EditorContext& c = world.context;
        if (name == "GebForm")
            return std::make_unique<BirthdayEntryForm>(nullptr, c, kTemplates, "main.rmd");
        if (name == "TerminForm")
            return std::make_unique<AppointmentEntryForm>(nullptr, c, kTemplates, "main.rmd");
        if (name == "Importform")
            return std::make_unique<BirthdayImportForm>(nullptr, c, kTemplates, "main.rmd");
        if (name == "ConvertForm") return std::make_unique<ConvertForm>(nullptr, c);
        if (name == "FileNew")
            return std::make_unique<NewFileForm>(nullptr, c,
                                                 [](const std::vector<std::string>&) {});
        if (name == "RecordEdit") return std::make_unique<RecordEdit>(nullptr, c, state);
        if (name == "RecordList")
            return std::make_unique<RecordList>(
                nullptr, c, std::vector<std::string>{(world.folder / "main.rmd").string()});
        if (name == "SelectDateSort") return std::make_unique<SelectDateSort>(nullptr);
        if (name == "VcardImport")
            return std::make_unique<VcardImportForm>(
                nullptr, c, kTemplates, world.folder / "main.rmd",
                parse_vcards("BEGIN:VCARD\r\nFN:Bernd\r\nBDAY:1980-05-17\r\nEND:VCARD\r\n"));
        return std::make_unique<GlobalActiveSet>(nullptr, 7);
    }
};

// The address book's preview: its table, the template, then the buttons. The
// record list: its grid first (Tab leaves it), the file row, the record buttons
// ("Löschen" and "Rückgängig" wait for a chosen row), OK last and default.
TEST_F(DialogKeyboard, ReadingOrderEveryControlOneDefaultEscapeAndNames) {
    const char* const entry_form =
        "NameText | DatumText | Command1 | VorlaufCombo | FormatCombo | DateiText | GebBrowse | "
        "Farbe wählen | GebOK | GebAbbruch";
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"GebForm", entry_form, "GebOK"},
        {"TerminForm", entry_form, "GebOK"},
        {"Importform",
         "ImportDatei | Import - Datei suchen | DateiText | Merkwald - Datei suchen | "
         "Name, Datum | FormatCombo | VorlaufCombo | Farbe | Import | Zurück",
         "Import"},
        {"ConvertForm",
         "indatei | Zu konvertierende Datei suchen | outdatei | Zieldatei suchen | Konvertieren | "
         "Abbrechen",
         "Konvertieren"},
        {"FileNew",
         "DateiText | FileBrowse | List1 | ZusatzBrowse | ZusatzRemove | OKButton | AbbruchButton",
         "OKButton"},
        {"RecordEdit",
         "Option1 | Text3 | Command1 | Combo2 | Combo5 | Farbe wählen | RTBox1 | TextVorschau | "
         "Standard | Speichern | Anfügen | Abbrechen",
         "Speichern"},
        {"SelectDateSort", "Tag | Abwärts | OK", "OK"},
        {"GlobalActiveSet", "QLineEdit | OK | normal", "OK"},
        {"VcardImport", "VcardTable | VcardTemplate | VcardImportButton | Abbrechen",
         "VcardImportButton"},
        {"RecordList",
         "Tabelle | Text1 | Hauptdatei anzeigen | Anzeige | DateiCombo | "
         "Verbundene Datei anzeigen | Hinzufügen | Trennen | Neu | Auto Löschen | Öffnen | "
         "Speichern unter | OK",
         "OK"},
    };
    for (const auto& [name, order, default_button] : rows) {
        SCOPED_TRACE(name);
        auto dialog = open(name);
        test::expect_keyboard_walk(*dialog, nullptr, order, QString::fromUtf8(default_button));
    }
}

}  // namespace
}  // namespace merkwald
