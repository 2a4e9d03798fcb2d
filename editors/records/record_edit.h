#pragma once
// The record editor "Datensatzeditor": one record of a reminder file as a
// form. The file work is done by record_file.h.

#include <QDialog>
#include <array>

#include "editing/insert_menu.h"
#include "editing/record_fields.h"
#include "editing/record_file.h"
#include "editors/editor_context.h"
#include "shell/widgets/date_field.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace merkwald {

// The caller's part: the presets into the settings, before it stores
// "DaysBefore" and "PrefGroup".
void apply_record_presets(Settings& settings, const RecordPresets& presets);

class RecordEdit final : public QDialog {
    Q_OBJECT
public:
    // The caller sets `state.current_file` and `state.current_record` first.
    RecordEdit(QWidget* parent, EditorContext& context, EditingState& state);

    // What the fields hold now.
    [[nodiscard]] RecordFields fields() const;
    [[nodiscard]] QRadioButton* mode_button(RecordMode mode) const;
    [[nodiscard]] DateField* date_field() const { return date_; }
    [[nodiscard]] QComboBox* lead_time_field() const { return lead_time_; }
    [[nodiscard]] QComboBox* period_field() const { return period_; }
    [[nodiscard]] QLineEdit* ordinal_field() const { return ordinal_; }
    [[nodiscard]] QComboBox* day_field() const { return day_; }
    [[nodiscard]] QComboBox* group_field() const { return group_; }
    [[nodiscard]] QPlainTextEdit* text_box() const { return text_; }
    [[nodiscard]] QPlainTextEdit* preview_box() const { return preview_; }
    [[nodiscard]] const InsertTexts& insert_texts() const { return insert_texts_; }
    // The pop-up menu "&Einfügen" of the record text.
    [[nodiscard]] QMenu* insert_menu();

    // Set by "Speichern" and "Anfügen": the caller keeps them after the dialog.
    [[nodiscard]] const std::optional<RecordPresets>& chosen_presets() const { return presets_; }

    void save();
    void append();
    void set_standard();
    void pick_date();
    void pick_color();
    void update_preview();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_fields();
    void build_text_boxes();
    QLayout* build_form();
    QLayout* build_buttons();
    void build_insert_menu();
    void add_insert_group(QMenu* menu, const InsertGroup& group);
    void show_fields(const RecordFields& fields);
    void select_mode(RecordMode mode);
    void show_color();
    void take_presets();
    // Shows a failed write; a refusal because the file changed is left to
    // after_outside_change.
    bool report(const WriteOutcome& outcome);
    [[nodiscard]] WriteOutcome write_appended(const RecordFields& written);
    // After a write refused because the file changed: the typed record stays
    // in the fields. When `replacing`, the record opened is found again by its
    // lines, so that the next Save replaces it where it stands now; when it is
    // gone or changed, or nothing was being replaced, the user may append the
    // typed record. True when it was appended.
    bool after_outside_change(const RecordFields& written, bool replacing);
    // The fields as written: a monthly record keeps its date for its placeholders.
    [[nodiscard]] RecordFields fields_to_write() const;
    [[nodiscard]] bool fields_valid();

    EditorContext& context_;
    EditingState& state_;
    DialogSink sink_;
    RememberedTexts memory_;
    std::optional<RecordMode> mode_;
    std::optional<RecordPresets> presets_;
    std::int32_t color_ = 0;
    InsertTexts insert_texts_;
    bool showing_ = false;
    bool previewing_ = false;
    RecordFields loaded_fields_;  // what the record held when loaded
    QString reported_date_;       // the invalid date last reported, shown once

    std::array<QRadioButton*, 5> modes_{};
    DateField* date_ = nullptr;
    QPushButton* calendar_button_ = nullptr;
    QComboBox* lead_time_ = nullptr;
    QComboBox* period_ = nullptr;
    QLineEdit* ordinal_ = nullptr;
    QComboBox* day_ = nullptr;
    QComboBox* group_ = nullptr;
    QLabel* color_label_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPlainTextEdit* preview_ = nullptr;
    QMenu* insert_menu_ = nullptr;
};

}  // namespace merkwald
