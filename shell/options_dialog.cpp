#include "shell/options_dialog.h"

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
#include "shell/program_folder.h"
#include "shell/window_helpers.h"

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

std::int32_t whole_field(const QLineEdit* field) {
    return to_int32(leading_value(utf8(field->text()))).value_or(0);
}

QString folder_of(const QString& file, const QString& fallback) {
    if (file.trimmed().isEmpty()) return fallback;
    const QFileInfo info(QDir(fallback), file.trimmed());
    return info.absoluteDir().exists() ? info.absolutePath() : fallback;
}

}  // namespace

std::int32_t interval_of_field(const QString& text) {
    const double whole = std::trunc(leading_value(utf8(text)));
    if (!(whole >= 1 && whole <= 2147483647.0)) return 60;
    return std::int32_t(whole);
}

FormOptions::FormOptions(OptionsContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(QStringLiteral("Optionen"));
    tab_strip1_ = new QTabWidget(this);
    tab_strip1_->setObjectName(QStringLiteral("TabStrip1"));
    const auto add_page = [this](QWidget* page, const char* caption, const char* key) {
        page->setObjectName(QString::fromLatin1(key));
        tab_strip1_->addTab(page, QString::fromUtf8(caption));
    };
    add_page(build_files_page(), "Dateien", "dateien");
    add_page(build_sound_page(), "Sound", "sound");
    add_page(build_astronomy_page(), "Astronomisches", "astronomisches");
    add_page(build_misc_page(), "Diverses", "diverses");
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    ok_->setObjectName(QStringLiteral("OK"));
    cancel_->setObjectName(QStringLiteral("Abbrechen"));
    ok_->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tab_strip1_, 1);
    layout->addWidget(buttons);
    fill();
    connect_controls();
    resize(sizeHint().expandedTo(QSize(520, 380)));
    centre_on_screen(*this);
}

void FormOptions::fill() {
    const Settings& s = context_.settings;
    files_.text1->setText(qstr(s.data_filename));
    files_.text2->setText(qstr(s.editor_filename));
    files_.text3->setText(qstr(s.text_filename));
    sound_.text_sound->setText(qstr(s.sound_file));
    set_sample(*misc_.farbe_text_label, to_qcolor(std::uint32_t(s.record_color)));
    set_sample(*misc_.farbe_back_label, to_qcolor(std::uint32_t(s.background_color)));
    fill_places();
    misc_.check_space->setChecked(s.supress_space);
    sound_.check_sound->setChecked(s.play_sound);
    misc_.check_missed->setChecked(s.missed_events);
    astro_.check_sommer->setChecked(s.daylight_saving);
    misc_.check_standby->setChecked(s.standby);
    misc_.check_groups->setChecked(!s.groups);
    if (context_.autostart) autostart_ = context_.autostart->current();
    misc_.autostart_check->setChecked(autostart_.enabled);
    misc_.check_start_once->setChecked(autostart_.enabled && autostart_.once);
    misc_.autostart_check->setEnabled(context_.autostart != nullptr);
    misc_.check_start_once->setEnabled(context_.autostart != nullptr);
    tab_strip1_->setCurrentIndex(0);
    misc_.text5->setText(QString::number(s.intervall));
}

void FormOptions::fill_places() {
    const PlaceFields home = home_place_fields(context_.settings);
    astro_.combo4->setEditText(home.name);
    astro_.coordinates.show(home);
    astro_.text8->setText(home.diff_to_gmt);
    astro_.text4->setText(home.height);
    const PlacesFile file = read_places(
        program_file_folder(context_.program_folder, qstr(kPlacesFileName)).toStdString());
    places_ = places_table(home, file);
    if (!file.ok) {
        context_.services.dialogs.message(this, qstr(kPlacesFileMessage), MessageIcon::critical);
    }
    // The list holds the file's places; the home place stands in the edit field.
    for (std::size_t i = 1; i < places_.size(); ++i) astro_.combo4->addItem(places_[i].name);
    astro_.combo4->setCurrentIndex(-1);
    astro_.combo4->setEditText(home.name);
}

void FormOptions::connect_controls() {
    connect(ok_, &QPushButton::clicked, this, &FormOptions::ok_clicked);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(astro_.combo4, &QComboBox::activated, this,
            [this](int index) { choose_place(index + 1); });
    Settings& s = context_.settings;
    const auto flag = [this](QCheckBox* box, bool& setting, bool inverted = false) {
        connect(box, &QCheckBox::toggled, this,
                [&setting, inverted](bool on) { setting = inverted ? !on : on; });
    };
    flag(misc_.check_space, s.supress_space);
    flag(sound_.check_sound, s.play_sound);
    flag(misc_.check_missed, s.missed_events);
    flag(astro_.check_sommer, s.daylight_saving);
    flag(misc_.check_groups, s.groups, true);
    connect(misc_.check_standby, &QCheckBox::toggled, this, [this](bool on) {
        context_.settings.standby = on;
        if (context_.set_standby) context_.set_standby(on);
    });
    connect(misc_.autostart_check, &QCheckBox::toggled, this,
            [this](bool on) { autostart_.enabled = on; });
    connect(misc_.check_start_once, &QCheckBox::toggled, this,
            [this](bool on) { autostart_.once = on; });
    connect(misc_.farbe_text_button, &QPushButton::clicked, this,
            [this] { pick_colour(misc_.farbe_text_label, context_.settings.record_color); });
    connect(misc_.farbe_back_button, &QPushButton::clicked, this,
            [this] { pick_colour(misc_.farbe_back_label, context_.settings.background_color); });
    connect(misc_.font_change_button, &QPushButton::clicked, this, &FormOptions::pick_font);
    const QString folder = context_.program_folder;
    connect(files_.command2, &QPushButton::clicked, this,
            [this, folder] { browse(files_.text1, kDataFilter, 2, folder); });
#ifdef Q_OS_WIN
    const QString programs = QStringLiteral("c:\\");
#else
    const QString programs = QStringLiteral("/usr/bin");
#endif
    connect(files_.command3, &QPushButton::clicked, this,
            [this, programs] { browse(files_.text2, kEditorFilter, 1, programs); });
    connect(files_.command1, &QPushButton::clicked, this, [this, folder] {
        browse(files_.text3, kTextFilter, 2, folder);
        context_.settings.text_filename = utf8(files_.text3->text());
    });
    connect(sound_.command4, &QPushButton::clicked, this,
            [this, folder] { browse(sound_.text_sound, kSoundFilter, 1, folder); });
}

void FormOptions::browse(QLineEdit* field, const char* filter, int preset, const QString& folder) {
    const QString start = folder_of(field->text(), folder);
    const QString chosen = context_.services.dialogs.open_file_name(
        this, QStringLiteral("Datei auswählen"), start, qt_filter(filter, preset));
    if (!chosen.isEmpty()) field->setText(QDir::toNativeSeparators(chosen));
}

void FormOptions::pick_colour(QLabel* sample, std::int32_t& setting) {
    const auto chosen = context_.services.dialogs.color(this, sample_colour(*sample));
    if (!chosen) return;
    set_sample(*sample, *chosen);
    setting = std::int32_t(to_color_number(*chosen));
}

void FormOptions::pick_font() {
    Settings& s = context_.settings;
    QFont preset = context_.list_font;
    if (!s.font_name.empty()) {
        preset.setFamily(qstr(s.font_name));
        if (s.font_size && *s.font_size > 0) preset.setPointSizeF(*s.font_size);
        preset.setBold(s.font_bold);
        preset.setItalic(s.font_italic);
    }
    const auto chosen = context_.services.dialogs.font(this, preset);
    if (!chosen) return;
    s.font_name = utf8(chosen->family());
    s.font_size = chosen->pointSizeF() > 0 ? std::optional<double>(chosen->pointSizeF())
                                           : std::nullopt;
    s.font_bold = chosen->bold();
    s.font_italic = chosen->italic();
}

void FormOptions::choose_place(int index) {
    if (index < 1 || std::size_t(index) >= places_.size()) return;
    const PlaceFields& place = places_[std::size_t(index)];
    astro_.coordinates.show(place);
    astro_.text8->setText(place.diff_to_gmt);
    places_.front().height = place.height;
    astro_.text4->setText(place.height);
}

void FormOptions::take_place_fields() {
    Settings& s = context_.settings;
    const CoordinateEdits& c = astro_.coordinates;
    s.location = utf8(astro_.combo4->currentText().trimmed());
    s.longitude_degree = whole_field(c.longitude[0]);
    s.longitude_minute = whole_field(c.longitude[1]);
    s.longitude_second = whole_field(c.longitude[2]);
    s.longitude_direction = utf8(c.longitude[3]->text().trimmed());
    s.latitude_degree = whole_field(c.latitude[0]);
    s.latitude_minute = whole_field(c.latitude[1]);
    s.latitude_second = whole_field(c.latitude[2]);
    s.latitude_direction = utf8(c.latitude[3]->text().trimmed());
    s.diff_to_gmt = utf8(astro_.text8->text().trimmed());
    s.nn = leading_value(utf8(astro_.text4->text()));
}

void FormOptions::ok_clicked() {
    Settings& s = context_.settings;
    s.data_filename = utf8(files_.text1->text().trimmed());
    s.editor_filename = utf8(files_.text2->text().trimmed());
    s.text_filename = utf8(files_.text3->text().trimmed());
    s.sound_file = utf8(sound_.text_sound->text().trimmed());
    s.record_color = std::int32_t(to_color_number(sample_colour(*misc_.farbe_text_label)));
    s.background_color = std::int32_t(to_color_number(sample_colour(*misc_.farbe_back_label)));
    take_place_fields();
    s.intervall = interval_of_field(misc_.text5->text());
    misc_.text5->setText(QString::number(s.intervall));
    // The start creates the key; a store that lost it since must not drop the values.
    context_.store.create_key(kMainKey, kKeyClass);
    write_registry(context_.store, s, autostart_, context_.autostart);
    accept();
}

}  // namespace merkwald
