#pragma once
// BirthdayImportForm (`Importform`, "Geburtstage Importieren"): birthdays from
// a comma-separated file, one record per entry, built like the birthday dialog's records.

#include <QDialog>
#include <string>
#include <vector>

#include "editing/birthday_import.h"
#include "editors/editor_context.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace merkwald {

class BirthdayImportForm final : public QDialog {
    Q_OBJECT
public:
    BirthdayImportForm(QWidget* parent, EditorContext& context, std::vector<TextTemplate> templates,
                       const std::string& target_file);

    [[nodiscard]] QLineEdit* import_file_field() const { return source_; }
    [[nodiscard]] QLineEdit* target_file_field() const { return target_; }
    [[nodiscard]] QRadioButton* two_names_option() const { return two_names_; }
    [[nodiscard]] QComboBox* lead_time_field() const { return lead_time_; }
    [[nodiscard]] QComboBox* template_field() const { return format_; }
    [[nodiscard]] QLabel* status_line() const { return status_; }
    [[nodiscard]] std::int32_t color() const { return color_; }

    // "Import": the whole import file once.
    void run_import();
    void browse_import_file();
    void browse_target_file();
    void pick_color();

    // The presets for the next entry as the fields hold them; the caller keeps
    // them after every way of closing.
    [[nodiscard]] static constexpr EntryKind kind() { return EntryKind::birthday; }
    [[nodiscard]] EntryPresets chosen_presets() const;

private:
    void build_files(QGridLayout* grid, const std::string& target_file);
    void build_options(QGridLayout* grid, const EntryPresets& presets);
    QLayout* build_buttons();
    void message(const std::string& text);

    EditorContext& context_;
    std::vector<TextTemplate> templates_;
    std::int32_t color_ = 0;

    QLineEdit* source_ = nullptr;
    QLineEdit* target_ = nullptr;
    QRadioButton* name_date_ = nullptr;
    QRadioButton* two_names_ = nullptr;
    QComboBox* lead_time_ = nullptr;
    QComboBox* format_ = nullptr;
    QLabel* swatch_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace merkwald
