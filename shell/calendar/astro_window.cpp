#include "shell/calendar/astro_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/date_text.h"
#include "engine/number.h"
#include "settings/program_folder.h"
#include "settings/qt_bridges.h"
#include "shell/widgets/date_field.h"
#include "shell/widgets/date_picker.h"
#include "shell/widgets/number_fields.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

// The output fields' names, in the order of kAstroLabels.
constexpr std::array<const char*, kAstroFields> kOutputNames = {
    "Text4", "Text5", "Text6", "Text7", "Text1", "Text2", "Text9", "Text10", "Text11", "Text12"};

QLineEdit* named_edit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

AstronomyWindow::AstronomyWindow(const Settings& settings, const QString& program_folder,
                                 Services services, QWidget* parent, DatePickerHook picker)
    : QDialog(parent), services_(services), picker_(std::move(picker)) {
    setObjectName(QStringLiteral("AstroForm"));
    setWindowTitle(QStringLiteral("Astronomische Berechnungen"));
    if (!picker_) {
        picker_ = [](QWidget* owner, const QDate& preset) {
            return merkwald::pick_date(owner, preset);
        };
    }
    compute_button_ = new QPushButton(QStringLiteral("&Berechnen"), this);
    compute_button_->setObjectName(QStringLiteral("Command1"));
    back_button_ = new QPushButton(QStringLiteral("&Zurück"), this);
    back_button_->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(compute_button_);
    buttons->addWidget(back_button_);
    auto* columns = new QHBoxLayout;
    columns->addWidget(build_inputs());
    columns->addWidget(build_outputs());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    const QDateTime now = services_.clock.now();
    date_edit_->set_date(to_day_serial(now.date()));
    hour_edit_->setText(now.time().toString(QStringLiteral("hh")));
    minute_edit_->setText(now.time().toString(QStringLiteral("mm")));
    summer_time_box_->setChecked(summer_time_on(settings, to_day_serial(now.date())));
    load_places(settings, program_folder);

    connect(place_combo_, &QComboBox::activated, this, &AstronomyWindow::choose_place);
    if (settings.daylight_saving_auto) {
        // Before the computation the date starts: the zone decides for each date.
        connect(date_edit_, &QLineEdit::textChanged, this, [this] {
            if (const auto day = date_edit_->date())
                summer_time_box_->setChecked(system_summer_time_hours(*day) > 0);
        });
    }
    connect_edits();
    connect(compute_button_, &QPushButton::clicked, this, &AstronomyWindow::compute);
    connect(calendar_button_, &QPushButton::clicked, this, &AstronomyWindow::pick_date);
    connect(back_button_, &QPushButton::clicked, this, &QDialog::accept);
    compute_button_->setDefault(true);
    centre_on_screen(*this);
    // The buttons were made first; the keyboard reaches them after the fields.
    setTabOrder(outputs_.back(), compute_button_);
    setTabOrder(compute_button_, back_button_);
    recompute_quietly();
    place_combo_->setFocus();
}

void AstronomyWindow::connect_edits() {
    connect(date_edit_, &QLineEdit::textChanged, this, &AstronomyWindow::recompute_quietly);
    std::vector<QLineEdit*> edits{gmt_offset_edit_, hour_edit_, minute_edit_};
    edits.insert(edits.end(), coordinates_.longitude.begin(), coordinates_.longitude.end());
    edits.insert(edits.end(), coordinates_.latitude.begin(), coordinates_.latitude.end());
    for (QLineEdit* edit : edits)
        connect(edit, &QLineEdit::textEdited, this, &AstronomyWindow::recompute_quietly);
    connect(summer_time_box_, &QCheckBox::toggled, this, &AstronomyWindow::recompute_quietly);
    accept_whole_numbers(*hour_edit_, 0, 23);
    accept_whole_numbers(*minute_edit_, 0, 59);
    accept_decimal_numbers(*gmt_offset_edit_, true);
}

QWidget* AstronomyWindow::build_inputs() {
    auto* box = new QGroupBox(QStringLiteral("Ort und Zeitpunkt"), this);
    auto* grid = new QGridLayout(box);
    place_combo_ = new QComboBox(box);
    place_combo_->setObjectName(QStringLiteral("Combo1"));
    place_combo_->setMinimumContentsLength(18);
    grid->addWidget(new QLabel(QStringLiteral("Ort:"), box), 0, 0);
    grid->addWidget(place_combo_, 0, 1);
    coordinates_ = add_coordinate_rows(*grid, 1, box);
    gmt_offset_edit_ = named_edit(box, "Text8");
    gmt_offset_edit_->setFixedWidth(
        gmt_offset_edit_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
    grid->addWidget(new QLabel(QStringLiteral("Unterschied zur GMT: (Zeitzone)"), box), 3, 0);
    grid->addWidget(gmt_offset_edit_, 3, 1);
    summer_time_box_ = new QCheckBox(QStringLiteral("Sommerzeit"), box);
    summer_time_box_->setObjectName(QStringLiteral("CheckSommer"));
    grid->addWidget(summer_time_box_, 4, 1);

    date_edit_ = new DateField(box);
    date_edit_->setObjectName(QStringLiteral("Text3"));
    date_edit_->setToolTip(QStringLiteral(
        "Sobald ein gültiges Datum eingegeben wird, werden die Daten neu berechnet"));
    calendar_button_ = new QPushButton(QStringLiteral("..."), box);
    calendar_button_->setObjectName(QStringLiteral("Command3"));
    calendar_button_->setToolTip(QStringLiteral("Datum per Kalender eingeben"));
    calendar_button_->setAccessibleName(calendar_button_->toolTip());
    calendar_button_->setFixedWidth(
        calendar_button_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    auto* date_row = new QHBoxLayout;
    date_row->addWidget(date_edit_);
    date_row->addWidget(calendar_button_);
    auto* date_label = new QLabel(QStringLiteral("Datum:"), box);
    date_label->setBuddy(date_edit_);
    grid->addWidget(date_label, 5, 0);
    grid->addLayout(date_row, 5, 1);

    hour_edit_ = named_edit(box, "Stunden_text");
    minute_edit_ = named_edit(box, "Minuten_text");
    for (QLineEdit* edit : {hour_edit_, minute_edit_})
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 14);
    auto* time_row = new QHBoxLayout;
    time_row->addWidget(hour_edit_);
    time_row->addWidget(new QLabel(QStringLiteral(":"), box));
    time_row->addWidget(minute_edit_);
    time_row->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("Zeit:"), box), 6, 0);
    grid->addLayout(time_row, 6, 1);
    grid->setRowStretch(7, 1);
    return box;
}

QWidget* AstronomyWindow::build_outputs() {
    auto* box = new QGroupBox(QStringLiteral("Sonne und Mond"), this);
    auto* grid = new QGridLayout(box);
    for (std::size_t i = 0; i < kAstroFields; ++i) {
        outputs_[i] = named_edit(box, kOutputNames[i]);
        outputs_[i]->setReadOnly(true);
        outputs_[i]->setMinimumWidth(
            outputs_[i]->fontMetrics().horizontalAdvance(QStringLiteral("durchgehend dunkel__")));
        grid->addWidget(new QLabel(to_qstring(kAstroLabels[i]), box), int(i), 0);
        grid->addWidget(outputs_[i], int(i), 1);
    }
    grid->setRowStretch(kAstroFields, 1);
    return box;
}

void AstronomyWindow::load_places(const Settings& settings, const QString& program_folder) {
    const PlacesFile file =
        read_places(to_path(program_file_folder(program_folder, to_qstring(kPlacesFileName))));
    places_ = places_table(home_place_fields(settings), file);
    for (const PlaceFields& place : places_) place_combo_->addItem(place.name);
    place_combo_->setCurrentIndex(0);
    coordinates_.show(places_.front());
    gmt_offset_edit_->setText(places_.front().diff_to_gmt);
    if (!file.ok) {
        services_.dialogs.message(this, to_qstring(kPlacesFileMessage), MessageIcon::critical);
    }
}

void AstronomyWindow::choose_place(int index) {
    if (index < 0 || std::size_t(index) >= places_.size()) return;
    coordinates_.show(places_[std::size_t(index)]);
    gmt_offset_edit_->setText(places_[std::size_t(index)].diff_to_gmt);
    recompute_quietly();
}

void AstronomyWindow::pick_date() {
    const auto typed = date_edit_->date();
    const QDate preset = typed ? to_qdate(*typed) : services_.clock.now().date();
    if (const auto chosen = picker_(this, preset)) {
        date_edit_->set_date(to_day_serial(*chosen));
    }
}

AstroInput AstronomyWindow::input() const {
    AstroInput in;
    const auto value = [](const QLineEdit* edit) { return leading_value(to_utf8(edit->text())); };
    Coordinates c = coordinates_.values();
    in.longitude_degree = c.longitude[0];
    in.longitude_minute = c.longitude[1];
    in.longitude_second = c.longitude[2];
    in.longitude_direction = std::move(c.longitude_direction);
    in.latitude_degree = c.latitude[0];
    in.latitude_minute = c.latitude[1];
    in.latitude_second = c.latitude[2];
    in.latitude_direction = std::move(c.latitude_direction);
    in.zone_hours = value(gmt_offset_edit_);
    in.summer_time = summer_time_box_->isChecked();
    in.date = date_edit_->date();
    in.hour = field_number(hour_edit_->text());
    in.minute = field_number(minute_edit_->text());
    return in;
}

QLineEdit* AstronomyWindow::apply_result(const AstroResult& result) {
    for (QLineEdit* edit : {static_cast<QLineEdit*>(date_edit_), hour_edit_, minute_edit_})
        mark_invalid(*edit, false);
    switch (result.status) {
        case AstroStatus::ok:
            for (std::size_t i = 0; i < kAstroFields; ++i)
                outputs_[i]->setText(to_qstring(result.texts[i]));
            return nullptr;
        case AstroStatus::bad_date:
            return date_edit_;
        case AstroStatus::bad_hour:
            return hour_edit_;
        case AstroStatus::bad_minute:
            return minute_edit_;
        case AstroStatus::out_of_range:
        case AstroStatus::failed:
            break;
    }
    const auto hour = field_number(hour_edit_->text());
    return hour ? minute_edit_ : hour_edit_;
}

void AstronomyWindow::recompute_quietly() {
    const AstroResult result = compute_astro(input());
    if (result.status == AstroStatus::out_of_range) return;
    if (QLineEdit* faulty = apply_result(result)) mark_invalid(*faulty, true);
}

void AstronomyWindow::compute() {
    const AstroResult result = compute_astro(input());
    QLineEdit* faulty = apply_result(result);
    const std::string_view message = astro_message(result.status);
    if (faulty == nullptr || message.empty()) {
        if (faulty) mark_invalid(*faulty, true);
        return;
    }
    services_.dialogs.message(this, to_qstring(message), MessageIcon::critical);
    faulty->setFocus();
    faulty->selectAll();
}

}  // namespace merkwald
