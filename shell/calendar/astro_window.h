#pragma once
// The astronomy window: sun, twilight and moon for a place of the places file
// (or the home place), a day and a time of day.
//
// objectName -> member: `AstroForm` AstronomyWindow, `Combo1` place_combo,
// `Text8` gmt_offset_edit, `CheckSommer` summer_time_box, `Text3` date_edit,
// `Command3` calendar_button_, `Stunden_text` hour_edit, `Minuten_text`
// minute_edit, `Text4`...`Text12` outputs, `Command1` compute_button,
// `Command2` back_button_ (the coordinate fields: see shell/options/place_fields.h).

#include <QDate>
#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "calendar/astro.h"
#include "settings/settings.h"
#include "shell/options/place_fields.h"
#include "shell/platform/platform.h"
#include "shell/widgets/date_field.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace merkwald {

class AstronomyWindow final : public QDialog {
    Q_OBJECT
public:
    using DatePickerHook = std::function<std::optional<QDate>(QWidget*, const QDate&)>;

    AstronomyWindow(const Settings& settings, const QString& program_folder, Services services,
                    QWidget* parent = nullptr, DatePickerHook picker = {});

    // "Berechnen": a faulty date, hour or minute is named in a message box.
    void compute();
    // After an edit: the outputs follow when every field is valid; otherwise the
    // faulty field is marked and nothing interrupts the typing.
    void recompute_quietly();
    void choose_place(int index);
    // `Command3` "...".
    void pick_date();

    [[nodiscard]] QComboBox* place_combo() const { return place_combo_; }
    [[nodiscard]] const CoordinateEdits& coordinates() const { return coordinates_; }
    [[nodiscard]] QLineEdit* gmt_offset_edit() const { return gmt_offset_edit_; }
    [[nodiscard]] QCheckBox* summer_time_box() const { return summer_time_box_; }
    [[nodiscard]] DateField* date_edit() const { return date_edit_; }
    [[nodiscard]] QLineEdit* hour_edit() const { return hour_edit_; }
    [[nodiscard]] QLineEdit* minute_edit() const { return minute_edit_; }
    // In the order of kAstroLabels.
    [[nodiscard]] const std::array<QLineEdit*, kAstroFields>& outputs() const { return outputs_; }
    [[nodiscard]] QPushButton* compute_button() const { return compute_button_; }

private:
    QWidget* build_inputs();
    QWidget* build_outputs();
    void load_places(const Settings& settings, const QString& program_folder);
    [[nodiscard]] AstroInput input() const;
    // The outputs for an ok result; otherwise the field at fault, if any.
    QLineEdit* apply_result(const AstroResult& result);
    void connect_edits();

    Services services_;
    DatePickerHook picker_;
    std::vector<PlaceFields> places_;  // row 0 the home place
    QComboBox* place_combo_ = nullptr;
    CoordinateEdits coordinates_;
    QLineEdit* gmt_offset_edit_ = nullptr;
    QCheckBox* summer_time_box_ = nullptr;
    DateField* date_edit_ = nullptr;
    QPushButton* calendar_button_ = nullptr;
    QLineEdit* hour_edit_ = nullptr;
    QLineEdit* minute_edit_ = nullptr;
    std::array<QLineEdit*, kAstroFields> outputs_{};
    QPushButton* compute_button_ = nullptr;
    QPushButton* back_button_ = nullptr;
};

}  // namespace merkwald
