#pragma once
// `FormOptions` ("Optionen"): every setting on four pages. Check boxes, colour and
// font buttons act on the running program at once; "OK" takes the fields and
// stores everything with `write_registry`; "Abbrechen" stores nothing.

#include <QDialog>
#include <QFont>
#include <functional>
#include <vector>

#include "shell/place_fields.h"
#include "shell/platform.h"
#include "shell/settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace merkwald {

// The interval field's rule: the whole part of its number; below one minute
// (also no number at all) or beyond a number's range it is 60.
[[nodiscard]] std::int32_t interval_of_field(const QString& text);

struct OptionsContext {
    Settings& settings;  // the running program's record
    SettingsStore& store;
    AutostartEntry* autostart = nullptr;  // none: the autostart boxes change nothing
    QString program_folder;
    Services services;
    QFont list_font;  // the font dialog's preset when no font is set
    // The main window's standby flag and the caption of its close button.
    std::function<void(bool)> set_standby;
};

class FormOptions final : public QDialog {
    Q_OBJECT
public:
    explicit FormOptions(OptionsContext context, QWidget* parent = nullptr);

    // "OK": the fields into the settings, then `write_registry`; closes the dialog.
    void ok_clicked();
    void choose_place(int index);

    struct Files {
        QLineEdit *text1, *text2, *text3;
        QPushButton *command2, *command3, *command1;
    };
    struct Sound {
        QCheckBox* check_sound;
        QLineEdit* text_sound;
        QPushButton* command4;
    };
    struct Astronomy {
        QComboBox* combo4;
        CoordinateEdits coordinates;
        QLineEdit *text8, *text4;
        QCheckBox* check_sommer;
    };
    struct Misc {
        QPushButton *farbe_text_button, *farbe_back_button, *font_change_button;
        QLabel *farbe_text_label, *farbe_back_label;
        QCheckBox *check_space, *check_groups, *check_missed, *check_standby;
        QCheckBox *autostart_check, *check_start_once;
        QLineEdit* text5;
    };
    [[nodiscard]] QTabWidget* tab_strip() const { return tab_strip1_; }
    [[nodiscard]] const Files& files() const { return files_; }
    [[nodiscard]] const Sound& sound() const { return sound_; }
    [[nodiscard]] const Astronomy& astronomy() const { return astro_; }
    [[nodiscard]] const Misc& misc() const { return misc_; }
    [[nodiscard]] QPushButton* ok_button() const { return ok_; }
    [[nodiscard]] QPushButton* cancel_button() const { return cancel_; }
    [[nodiscard]] const AutostartChoice& autostart_choice() const { return autostart_; }

private:
    QWidget* build_files_page();
    QWidget* build_sound_page();
    QWidget* build_astronomy_page();
    QWidget* build_misc_page();
    QWidget* build_misc_checks(QWidget* page);
    void fill();
    void fill_places();
    void connect_controls();
    void browse(QLineEdit* field, const char* filter, int preset, const QString& folder);
    void pick_colour(QLabel* sample, std::int32_t& setting);
    void pick_font();
    void take_place_fields();

    OptionsContext context_;
    AutostartChoice autostart_;
    std::vector<PlaceFields> places_;  // row 0 the home place
    QTabWidget* tab_strip1_ = nullptr;
    Files files_{};
    Sound sound_{};
    Astronomy astro_{};
    Misc misc_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace merkwald
