#pragma once
// "Geburtstage aus Adressbuch importieren": the people of an address book with
// a birthday, one row each with a check box; people already in the target file
// come unchecked. "Importieren" appends the checked ones with the chosen
// birthday template.
//
// objectName -> member: `VcardImport` VcardImportForm, `VcardTable` table,
// `VcardTemplate` template_field, `VcardStatus` status_line, `VcardImportButton`
// import_button.

#include <QDialog>
#include <filesystem>
#include <vector>

#include "editing/vcard_import.h"
#include "editors/editor_context.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace merkwald {

// The table's columns.
enum VcardColumn { kVcardTake = 0, kVcardName, kVcardBirthday, kVcardAge };

class VcardImportForm final : public QDialog {
    Q_OBJECT
public:
    VcardImportForm(QWidget* parent, EditorContext& context, std::vector<TextTemplate> templates,
                    std::filesystem::path target, const VcardBook& book);

    [[nodiscard]] QTableWidget* table() const { return table_; }
    [[nodiscard]] QComboBox* template_field() const { return template_; }
    [[nodiscard]] QLabel* status_line() const { return status_; }
    [[nodiscard]] QPushButton* import_button() const { return import_; }
    // What the last import wrote.
    [[nodiscard]] int written() const { return written_; }

    // "Importieren": the checked people into the target file; closes on success.
    void run_import();

    [[nodiscard]] EntryPresets chosen_presets() const;

private:
    void fill(const VcardBook& book, std::string_view target_text);

    EditorContext& context_;
    std::vector<TextTemplate> templates_;
    std::filesystem::path target_;
    EntryPresets presets_;
    std::vector<VcardPerson> people_;  // the table's rows
    int written_ = 0;
    QTableWidget* table_;
    QComboBox* template_;
    QLabel* status_;
    QPushButton* import_;
};

// The command: asks for the address book, reads it, shows the form; `presets`
// takes what the form was left with.
void import_address_book(QWidget* parent, EditorContext& context,
                         const std::vector<TextTemplate>& templates,
                         const std::filesystem::path& target, EntryPresets& presets);

}  // namespace merkwald
