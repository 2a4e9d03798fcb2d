#pragma once
// `AstroForm`: sun, twilight and moon for a place of the places file (or the
// home place), a day and a time of day.

#include <QDate>
#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "calendar/astro.h"
#include "shell/place_fields.h"
#include "shell/platform.h"
#include "shell/settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace merkwald {

class AstroForm final : public QDialog {
    Q_OBJECT
public:
    using DatePickerHook = std::function<std::optional<QDate>(QWidget*, const QDate&)>;

    AstroForm(const Settings& settings, const QString& program_folder, Services services,
              QWidget* parent = nullptr, DatePickerHook picker = {});

    // `Command1` "Berechnen".
    void compute();
    void choose_place(int index);
    // `Command3` "...".
    void pick_date();

    [[nodiscard]] QComboBox* combo1() const { return combo1_; }
    [[nodiscard]] const CoordinateEdits& coordinates() const { return coordinates_; }
    [[nodiscard]] QLineEdit* text8() const { return text8_; }
    [[nodiscard]] QCheckBox* check_sommer() const { return check_sommer_; }
    [[nodiscard]] QLineEdit* text3() const { return text3_; }
    [[nodiscard]] QLineEdit* hours() const { return hours_; }
    [[nodiscard]] QLineEdit* minutes() const { return minutes_; }
    // In the order of kAstroLabels.
    [[nodiscard]] const std::array<QLineEdit*, kAstroFields>& outputs() const { return outputs_; }
    [[nodiscard]] QPushButton* compute_button() const { return command1_; }

private:
    QWidget* build_inputs();
    QWidget* build_outputs();
    void load_places(const Settings& settings, const QString& program_folder);
    void date_edited(const QString& text);
    [[nodiscard]] AstroInput input() const;

    Services services_;
    DatePickerHook picker_;
    std::vector<PlaceFields> places_;  // row 0 the home place
    QComboBox* combo1_ = nullptr;
    CoordinateEdits coordinates_;
    QLineEdit* text8_ = nullptr;
    QCheckBox* check_sommer_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QPushButton* command3_ = nullptr;
    QLineEdit* hours_ = nullptr;
    QLineEdit* minutes_ = nullptr;
    std::array<QLineEdit*, kAstroFields> outputs_{};
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

}  // namespace merkwald
