#include "shell/options/options_dialog.h"
#include "shell/options/options_general.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "engine/number.h"
#include "settings/program_folder.h"
#include "settings/qt_bridges.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

constexpr char kDataFilter[] =
    "Alle Dateien (*.*)|*.*|Merkwald Dateien (*.rmd)|*.rmd|Text Dateien (*.txt)|*.txt";
constexpr char kEditorFilter[] = "All Files (*.*)|*.*|exe-Files (*.exe)|*.exe";
constexpr char kTextFilter[] = "All Files (*.*)|*.*|dat-Files (*.dat)|*.dat";
constexpr char kSoundFilter[] = "wav-Files (*.wav)|*.wav";

void set_sample(QLabel& sample, const QColor& colour) {
    QPalette palette = sample.palette();
    palette.setColor(QPalette::Window, colour);
    sample.setPalette(palette);
}

QColor sample_colour(const QLabel& sample) { return sample.palette().color(QPalette::Window); }

QString folder_of(const QString& file, const QString& fallback) {
    if (file.trimmed().isEmpty()) return fallback;
    const QFileInfo info(QDir(fallback), file.trimmed());
    return info.absoluteDir().exists() ? info.absolutePath() : fallback;
}

}  // namespace

std::int32_t interval_of_field(const QString& text) {
    const double whole = std::trunc(leading_value(to_utf8(text)));
    if (!(whole >= 1 && whole <= 2147483647.0)) return 60;
    return std::int32_t(whole);
}

bool store_options(SettingsStore& store, const Settings& settings, const AutostartChoice& autostart,
                   AutostartEntry* entry) {
    store.create_key(kMainKey, kKeyClass);
    return write_registry(store, settings, autostart, entry);
}

OptionsDialog::OptionsDialog(OptionsInput input, QWidget* parent)
    : QDialog(parent),
      settings_(std::move(input.settings)),
      program_folder_(std::move(input.program_folder)),
      services_(input.services),
      list_font_(std::move(input.list_font)),
      list_files_(std::move(input.list_files)),
      store_file_(std::move(input.store_file)),
      has_autostart_(input.autostart.has_value()),
      autostart_(input.autostart.value_or(AutostartChoice{})) {
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(QStringLiteral("Optionen"));
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("TabStrip1"));
    const auto add_page = [this](QWidget* page, const char* caption, const char* key) {
        page->setObjectName(QString::fromLatin1(key));
        tabs_->addTab(page, QString::fromUtf8(caption));
    };
    add_page(build_files_page(), "Dateien", "dateien");
    add_page(build_sound_page(), "Sound", "sound");
    add_page(build_astronomy_page(), "Astronomisches", "astronomisches");
    add_page(build_misc_page(), "Diverses", "diverses");
    general_ = new GeneralOptionsPage(settings_, services_);
    add_page(general_, "Allgemein", "allgemein");
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    ok_->setObjectName(QStringLiteral("OK"));
    cancel_->setObjectName(QStringLiteral("Abbrechen"));
    ok_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
    fill();
    connect_controls();
    keep_default_button(*this, *ok_);
    resize(sizeHint().expandedTo(QSize(520, 380)));
    centre_on_screen(*this);
    files_.data_file_edit->setFocus();
}

void OptionsDialog::fill() {
    const Settings& s = settings_;
    files_.data_file_edit->setText(to_qstring(s.data_filename));
    files_.editor_edit->setText(to_qstring(s.editor_filename));
    files_.text_file_edit->setText(to_qstring(s.text_filename));
    sound_.sound_file_edit->setText(to_qstring(s.sound_file));
    set_sample(*misc_.text_colour_sample, to_qcolor(std::uint32_t(s.record_color)));
    set_sample(*misc_.background_colour_sample, to_qcolor(std::uint32_t(s.background_color)));
    fill_places();
    misc_.no_blank_lines_box->setChecked(s.suppress_space);
    sound_.play_sound_box->setChecked(s.play_sound);
    misc_.missed_events_box->setChecked(s.missed_events);
    astronomy_.summer_time_box->setChecked(s.daylight_saving);
    misc_.standby_box->setChecked(s.standby);
    misc_.groups_off_box->setChecked(!s.groups);
    misc_.autostart_box->setChecked(autostart_.enabled);
    misc_.start_once_box->setChecked(autostart_.enabled && autostart_.once);
    misc_.autostart_box->setEnabled(has_autostart_);
    misc_.start_once_box->setEnabled(has_autostart_ && autostart_.enabled);
    tabs_->setCurrentIndex(0);
    misc_.interval_edit->setText(QString::number(s.reread_interval));
}

void OptionsDialog::fill_places() {
    const PlaceFields home = home_place_fields(settings_);
    astronomy_.place_combo->setEditText(home.name);
    astronomy_.coordinates.show(home);
    astronomy_.gmt_offset_edit->setText(home.diff_to_gmt);
    astronomy_.height_edit->setText(home.height);
    const PlacesFile file =
        read_places(to_path(program_file_folder(program_folder_, to_qstring(kPlacesFileName))));
    places_ = places_table(home, file);
    if (!file.ok) {
        services_.dialogs.message(this, to_qstring(kPlacesFileMessage), MessageIcon::critical);
    }
    // The list holds the file's places; the home place stands in the edit field.
    for (std::size_t i = 1; i < places_.size(); ++i)
        astronomy_.place_combo->addItem(places_[i].name);
    astronomy_.place_combo->setCurrentIndex(-1);
    astronomy_.place_combo->setEditText(home.name);
}

void OptionsDialog::connect_controls() {
    connect(ok_, &QPushButton::clicked, this, &OptionsDialog::ok_clicked);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(astronomy_.place_combo, &QComboBox::activated, this,
            [this](int index) { choose_place(index + 1); });
    Settings& s = settings_;
    const auto flag = [this](QCheckBox* box, bool& setting, bool inverted = false) {
        connect(box, &QCheckBox::toggled, this, [this, &setting, inverted](bool on) {
            setting = inverted ? !on : on;
            report_change();
        });
    };
    flag(misc_.no_blank_lines_box, s.suppress_space);
    flag(sound_.play_sound_box, s.play_sound);
    flag(misc_.missed_events_box, s.missed_events);
    flag(astronomy_.summer_time_box, s.daylight_saving);
    flag(misc_.groups_off_box, s.groups, true);
    flag(misc_.standby_box, s.standby);
    connect(misc_.autostart_box, &QCheckBox::toggled, this, [this](bool on) {
        autostart_.enabled = on;
        // Starting once a day means nothing while the program does not start.
        misc_.start_once_box->setEnabled(has_autostart_ && on);
    });
    connect(misc_.start_once_box, &QCheckBox::toggled, this,
            [this](bool on) { autostart_.once = on; });
    connect(misc_.text_colour_button, &QPushButton::clicked, this,
            [this] { pick_colour(misc_.text_colour_sample, settings_.record_color); });
    connect(misc_.background_colour_button, &QPushButton::clicked, this,
            [this] { pick_colour(misc_.background_colour_sample, settings_.background_color); });
    connect(misc_.font_button, &QPushButton::clicked, this, &OptionsDialog::pick_font);
    const QString folder = program_folder_;
    connect(files_.data_file_button, &QPushButton::clicked, this,
            [this, folder] { browse(files_.data_file_edit, kDataFilter, 2, folder); });
#ifdef Q_OS_WIN
    const QString programs = QStringLiteral("c:\\");
#else
    const QString programs = QStringLiteral("/usr/bin");
#endif
    connect(files_.editor_button, &QPushButton::clicked, this,
            [this, programs] { browse(files_.editor_edit, kEditorFilter, 1, programs); });
    connect(files_.text_file_button, &QPushButton::clicked, this, [this, folder] {
        browse(files_.text_file_edit, kTextFilter, 2, folder);
        settings_.text_filename = to_utf8(files_.text_file_edit->text());
        report_change();
    });
    connect(sound_.sound_file_button, &QPushButton::clicked, this,
            [this, folder] { browse(sound_.sound_file_edit, kSoundFilter, 1, folder); });
}

void OptionsDialog::browse(QLineEdit* field, const char* filter, int preset,
                           const QString& folder) {
    const QString start = folder_of(field->text(), folder);
    const QString chosen = services_.dialogs.open_file_name(this, QStringLiteral("Datei auswählen"),
                                                            start, qt_filter(filter, preset));
    if (!chosen.isEmpty()) field->setText(QDir::toNativeSeparators(chosen));
}

void OptionsDialog::pick_colour(QLabel* sample, std::int32_t& setting) {
    const auto chosen = services_.dialogs.color(this, sample_colour(*sample));
    if (!chosen) return;
    set_sample(*sample, *chosen);
    setting = std::int32_t(to_color_number(*chosen));
    report_change();
}

void OptionsDialog::pick_font() {
    Settings& s = settings_;
    QFont preset = list_font_;
    if (!s.font_name.empty()) {
        preset.setFamily(to_qstring(s.font_name));
        if (s.font_size && *s.font_size > 0) preset.setPointSizeF(*s.font_size);
        preset.setBold(s.font_bold);
        preset.setItalic(s.font_italic);
    }
    const auto chosen = services_.dialogs.font(this, preset);
    if (!chosen) return;
    s.font_name = to_utf8(chosen->family());
    s.font_size =
        chosen->pointSizeF() > 0 ? std::optional<double>(chosen->pointSizeF()) : std::nullopt;
    s.font_bold = chosen->bold();
    s.font_italic = chosen->italic();
    report_change();
}

void OptionsDialog::report_change() {
    if (changed_) changed_(settings_);
}

void OptionsDialog::choose_place(int index) {
    if (index < 1 || std::size_t(index) >= places_.size()) return;
    const PlaceFields& place = places_[std::size_t(index)];
    astronomy_.coordinates.show(place);
    astronomy_.gmt_offset_edit->setText(place.diff_to_gmt);
    places_.front().height = place.height;
    astronomy_.height_edit->setText(place.height);
}

void OptionsDialog::take_place_fields() {
    Settings& s = settings_;
    Coordinates c = astronomy_.coordinates.values();
    // The settings keep whole numbers; a field beyond their range counts as 0.
    const auto whole = [](double value) { return to_int32(value).value_or(0); };
    s.location = to_utf8(astronomy_.place_combo->currentText().trimmed());
    s.longitude_degree = whole(c.longitude[0]);
    s.longitude_minute = whole(c.longitude[1]);
    s.longitude_second = whole(c.longitude[2]);
    s.longitude_direction = std::move(c.longitude_direction);
    s.latitude_degree = whole(c.latitude[0]);
    s.latitude_minute = whole(c.latitude[1]);
    s.latitude_second = whole(c.latitude[2]);
    s.latitude_direction = std::move(c.latitude_direction);
    s.diff_to_gmt = to_utf8(astronomy_.gmt_offset_edit->text().trimmed());
    s.height = leading_value(to_utf8(astronomy_.height_edit->text()));
}

void OptionsDialog::ok_clicked() {
    Settings& s = settings_;
    s.data_filename = to_utf8(files_.data_file_edit->text().trimmed());
    s.editor_filename = to_utf8(files_.editor_edit->text().trimmed());
    s.text_filename = to_utf8(files_.text_file_edit->text().trimmed());
    s.sound_file = to_utf8(sound_.sound_file_edit->text().trimmed());
    s.record_color = std::int32_t(to_color_number(sample_colour(*misc_.text_colour_sample)));
    s.background_color =
        std::int32_t(to_color_number(sample_colour(*misc_.background_colour_sample)));
    take_place_fields();
    s.reread_interval = interval_of_field(misc_.interval_edit->text());
    misc_.interval_edit->setText(QString::number(s.reread_interval));
    if (take_feed()) accept();
}

bool OptionsDialog::take_feed() {
    FeedGuard guard;
    guard.program_folder = to_path(program_folder_);
    guard.reminder_files = list_files_;
    if (!settings_.data_filename.empty())
        guard.reminder_files.push_back(
            resolve_file_name(guard.program_folder, settings_.data_filename));
    if (!store_file_.isEmpty()) guard.settings_file = to_path(store_file_);
    const std::optional<QString> refused = general_->take_feed(guard);
    if (!refused) return true;
    services_.dialogs.message(this, *refused, MessageIcon::exclamation);
    tabs_->setCurrentWidget(general_);
    general_->feed_edit()->setFocus();
    return false;
}

}  // namespace merkwald
