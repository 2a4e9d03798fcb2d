#pragma once
// The options dialog "Optionen": every setting on four pages. It edits a copy of
// the settings: check boxes, colour and font buttons hand the copy to the change
// handler at once (the running program takes them); "OK" takes the fields too
// and accepts, and the caller stores `chosen_settings()` with `store_options`;
// "Abbrechen" leaves the store alone.
//
// objectName -> member: `FormOptions` OptionsDialog, `TabStrip1` tab_strip;
// files: `Text1` data_file_edit, `Command2` data_file_button, `Text2`
// editor_edit, `Command3` editor_button, `Text3` text_file_edit, `Command1`
// text_file_button; sound: `CheckSound` play_sound_box, `TextSound`
// sound_file_edit, `Command4` sound_file_button; astronomy: `Combo4` place_combo,
// `Text8` gmt_offset_edit, `Text4` height_edit, `CheckSommer` summer_time_box;
// misc: `FarbeTextLabel`/`FarbeTextButton` text_colour_sample/_button,
// `FarbeBackLabel`/`FarbeBackButton` background_colour_sample/_button,
// `font_change_button` font_button, `CheckSpace` no_blank_lines_box,
// `CheckGroups` groups_off_box, `CheckMissed` missed_events_box, `CheckStandby`
// standby_box, `AutostartCheck` autostart_box, `CheckStartOnce` start_once_box,
// `Text5` interval_edit.

#include <QDialog>
#include <QFont>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "settings/settings.h"
#include "shell/options/place_fields.h"
#include "shell/platform/platform.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace merkwald {

class GeneralOptionsPage;

// The interval field's rule: the whole part of its number; below one minute
// (also no number at all) or beyond a number's range it is 60.
[[nodiscard]] std::int32_t interval_of_field(const QString& text);

// What the dialog shows.
struct OptionsInput {
    Settings settings;
    // The autostart entry's state; none: there is no entry and its boxes are off.
    std::optional<AutostartChoice> autostart;
    QString program_folder;
    Services services;
    QFont list_font;  // the font dialog's preset when no font is set
    // What the calendar feed must not overwrite besides the data file field's
    // file: the file list of the last refresh and the settings store's file.
    std::vector<std::filesystem::path> list_files;
    QString store_file;
};

// The caller's part of "OK": the settings, then the autostart entry when one is
// given. The start creates the key; a store that lost it since must not drop the
// values.
bool store_options(SettingsStore& store, const Settings& settings, const AutostartChoice& autostart,
                   AutostartEntry* entry);

class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(OptionsInput input, QWidget* parent = nullptr);

    // Called with the edited settings whenever a box, colour or font changes.
    void set_change_handler(std::function<void(const Settings&)> handler) {
        changed_ = std::move(handler);
    }
    // "OK": the fields into the edited settings; closes the dialog unless the
    // calendar feed names a file it must not write (then it says why and stays).
    void ok_clicked();
    void choose_place(int index);

    struct Files {
        QLineEdit *data_file_edit, *editor_edit, *text_file_edit;
        QPushButton *data_file_button, *editor_button, *text_file_button;
    };
    struct Sound {
        QCheckBox* play_sound_box;
        QLineEdit* sound_file_edit;
        QPushButton* sound_file_button;
    };
    struct Astronomy {
        QComboBox* place_combo;
        CoordinateEdits coordinates;
        QLineEdit *gmt_offset_edit, *height_edit;
        QCheckBox* summer_time_box;
    };
    struct Misc {
        QPushButton *text_colour_button, *background_colour_button, *font_button;
        QLabel *text_colour_sample, *background_colour_sample;
        QCheckBox *no_blank_lines_box, *groups_off_box, *missed_events_box, *standby_box;
        QCheckBox *autostart_box, *start_once_box;
        QLineEdit* interval_edit;
    };
    [[nodiscard]] QTabWidget* tab_strip() const { return tabs_; }
    [[nodiscard]] const Files& files() const { return files_; }
    [[nodiscard]] const Sound& sound() const { return sound_; }
    [[nodiscard]] const Astronomy& astronomy() const { return astronomy_; }
    [[nodiscard]] const Misc& misc() const { return misc_; }
    [[nodiscard]] QPushButton* ok_button() const { return ok_; }
    [[nodiscard]] QPushButton* cancel_button() const { return cancel_; }
    // What "OK" hands back.
    [[nodiscard]] const Settings& chosen_settings() const { return settings_; }
    [[nodiscard]] const AutostartChoice& chosen_autostart() const { return autostart_; }

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
    [[nodiscard]] bool take_feed();
    void report_change();

    Settings settings_;
    QString program_folder_;
    Services services_;
    QFont list_font_;
    std::vector<std::filesystem::path> list_files_;
    QString store_file_;
    GeneralOptionsPage* general_ = nullptr;
    bool has_autostart_ = false;
    std::function<void(const Settings&)> changed_;
    AutostartChoice autostart_;
    std::vector<PlaceFields> places_;  // row 0 the home place
    QTabWidget* tabs_ = nullptr;
    Files files_{};
    Sound sound_{};
    Astronomy astronomy_{};
    Misc misc_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace merkwald
