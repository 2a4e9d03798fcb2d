#pragma once
// The quick-entry dialogs BirthdayEntryForm (`GebForm`, "Geburtstag eingeben")
// and AppointmentEntryForm (`TerminForm`, "Termin eingeben"): each Save appends
// one record built from a text template around the typed name, and the dialog
// stays open for the next entry.

#include <QDialog>
#include <string>
#include <vector>

#include "editing/entry_records.h"
#include "editing/templates.h"
#include "editors/editor_context.h"
#include "shell/widgets/date_field.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace merkwald {

class EntryForm : public QDialog {
    Q_OBJECT
public:
    // `target_file`: file list entry 1, the preset of the target file field.
    EntryForm(QWidget* parent, EditorContext& context, EntryKind kind,
              std::vector<TextTemplate> templates, const std::string& target_file);

    [[nodiscard]] QLineEdit* name_field() const { return name_; }
    [[nodiscard]] DateField* date_field() const { return date_; }
    [[nodiscard]] QComboBox* lead_time_field() const { return lead_time_; }
    [[nodiscard]] QComboBox* template_field() const { return format_; }
    [[nodiscard]] QLineEdit* file_field() const { return file_; }
    [[nodiscard]] QPushButton* save_button() const { return save_; }
    [[nodiscard]] std::int32_t color() const { return color_; }

    // "Speichern" (`GebOK`), also the Enter key anywhere in the dialog.
    void save();
    // The calendar button `Command1`.
    void pick_date();
    void pick_color();
    // `GebBrowse`.
    void browse();

    // The presets for the next entry as the fields hold them; the caller keeps
    // them after every way of closing.
    [[nodiscard]] EntryKind kind() const { return kind_; }
    [[nodiscard]] EntryPresets chosen_presets() const;

private:
    QLayout* build_fields(const EntryPresets& presets, const std::string& target_file);
    QLayout* build_buttons();
    void message(std::string_view text, MessageIcon icon = MessageIcon::critical);

    EditorContext& context_;
    EntryKind kind_;
    std::vector<TextTemplate> templates_;
    std::int32_t color_ = 0;

    QLineEdit* name_ = nullptr;
    DateField* date_ = nullptr;
    QComboBox* lead_time_ = nullptr;
    QComboBox* format_ = nullptr;
    QLineEdit* file_ = nullptr;
    QLabel* swatch_ = nullptr;
    QPushButton* save_ = nullptr;
};

class BirthdayEntryForm final : public EntryForm {
    Q_OBJECT
public:
    BirthdayEntryForm(QWidget* parent, EditorContext& context, std::vector<TextTemplate> templates,
                      const std::string& target_file)
        : EntryForm(parent, context, EntryKind::birthday, std::move(templates), target_file) {}
};

class AppointmentEntryForm final : public EntryForm {
    Q_OBJECT
public:
    AppointmentEntryForm(QWidget* parent, EditorContext& context,
                         std::vector<TextTemplate> templates, const std::string& target_file)
        : EntryForm(parent, context, EntryKind::appointment, std::move(templates), target_file) {}
};

}  // namespace merkwald
