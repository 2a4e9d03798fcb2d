#include "shell/astro_window.h"

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
#include "shell/date_picker.h"
#include "shell/program_folder.h"
#include "shell/window_helpers.h"

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

QDate to_qdate(DaySerial serial) {
    const Ymd d = ymd_of(serial);
    return QDate(d.year, d.month, d.day);
}

}  // namespace

AstroForm::AstroForm(const Settings& settings, const QString& program_folder, Services services,
                     QWidget* parent, DatePickerHook picker)
    : QDialog(parent), services_(services), picker_(std::move(picker)) {
    setObjectName(QStringLiteral("AstroForm"));
    setWindowTitle(QStringLiteral("Astronomische Berechnungen"));
    if (!picker_) picker_ = &merkwald::pick_date;
    command1_ = new QPushButton(QStringLiteral("&Berechnen"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(QStringLiteral("&Zurück"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    auto* columns = new QHBoxLayout;
    columns->addWidget(build_inputs());
    columns->addWidget(build_outputs());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    const QDateTime now = services_.clock.now();
    text3_->setText(now.date().toString(QStringLiteral("dd.MM.yyyy")));
    hours_->setText(now.time().toString(QStringLiteral("hh")));
    minutes_->setText(now.time().toString(QStringLiteral("mm")));
    check_sommer_->setChecked(settings.daylight_saving);
    load_places(settings, program_folder);

    connect(combo1_, &QComboBox::activated, this, &AstroForm::choose_place);
    connect(text3_, &QLineEdit::textChanged, this, &AstroForm::date_edited);
    connect(command1_, &QPushButton::clicked, this, &AstroForm::compute);
    connect(command3_, &QPushButton::clicked, this, &AstroForm::pick_date);
    connect(command2_, &QPushButton::clicked, this, &QDialog::accept);
    command1_->setDefault(true);
    centre_on_screen(*this);
    compute();
}

QWidget* AstroForm::build_inputs() {
    auto* box = new QGroupBox(QStringLiteral("Ort und Zeitpunkt"), this);
    auto* grid = new QGridLayout(box);
    combo1_ = new QComboBox(box);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setMinimumContentsLength(18);
    grid->addWidget(new QLabel(QStringLiteral("Ort:"), box), 0, 0);
    grid->addWidget(combo1_, 0, 1);
    coordinates_ = add_coordinate_rows(*grid, 1, box);
    text8_ = named_edit(box, "Text8");
    text8_->setFixedWidth(text8_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 14);
    grid->addWidget(new QLabel(QStringLiteral("Unterschied zur GMT: (Zeitzone)"), box), 3, 0);
    grid->addWidget(text8_, 3, 1);
    check_sommer_ = new QCheckBox(QStringLiteral("Sommerzeit"), box);
    check_sommer_->setObjectName(QStringLiteral("CheckSommer"));
    grid->addWidget(check_sommer_, 4, 1);

    text3_ = named_edit(box, "Text3");
    text3_->setToolTip(QStringLiteral(
        "Sobald ein gültiges Datum eingegeben wird, werden die Daten neu berechnet"));
    command3_ = new QPushButton(QStringLiteral("..."), box);
    command3_->setObjectName(QStringLiteral("Command3"));
    command3_->setToolTip(QStringLiteral("Datum per Kalender eingeben"));
    command3_->setFixedWidth(command3_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    auto* date_row = new QHBoxLayout;
    date_row->addWidget(text3_);
    date_row->addWidget(command3_);
    grid->addWidget(new QLabel(QStringLiteral("Datum:"), box), 5, 0);
    grid->addLayout(date_row, 5, 1);

    hours_ = named_edit(box, "Stunden_text");
    minutes_ = named_edit(box, "Minuten_text");
    for (QLineEdit* edit : {hours_, minutes_})
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 14);
    auto* time_row = new QHBoxLayout;
    time_row->addWidget(hours_);
    time_row->addWidget(new QLabel(QStringLiteral(":"), box));
    time_row->addWidget(minutes_);
    time_row->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("Zeit:"), box), 6, 0);
    grid->addLayout(time_row, 6, 1);
    grid->setRowStretch(7, 1);
    return box;
}

QWidget* AstroForm::build_outputs() {
    auto* box = new QGroupBox(QStringLiteral("Sonne und Mond"), this);
    auto* grid = new QGridLayout(box);
    for (std::size_t i = 0; i < kAstroFields; ++i) {
        outputs_[i] = named_edit(box, kOutputNames[i]);
        outputs_[i]->setReadOnly(true);
        outputs_[i]->setMinimumWidth(
            outputs_[i]->fontMetrics().horizontalAdvance(QStringLiteral("abn. Halbmond__")));
        grid->addWidget(new QLabel(qstr(kAstroLabels[i]), box), int(i), 0);
        grid->addWidget(outputs_[i], int(i), 1);
    }
    grid->setRowStretch(kAstroFields, 1);
    return box;
}

void AstroForm::load_places(const Settings& settings, const QString& program_folder) {
    const PlacesFile file =
        read_places(program_file_folder(program_folder, qstr(kPlacesFileName)).toStdString());
    places_ = places_table(home_place_fields(settings), file);
    for (const PlaceFields& place : places_) combo1_->addItem(place.name);
    combo1_->setCurrentIndex(0);
    coordinates_.show(places_.front());
    text8_->setText(places_.front().diff_to_gmt);
    if (!file.ok) {
        services_.dialogs.message(this, qstr(kPlacesFileMessage), MessageIcon::critical);
    }
}

void AstroForm::choose_place(int index) {
    if (index < 0 || std::size_t(index) >= places_.size()) return;
    coordinates_.show(places_[std::size_t(index)]);
    text8_->setText(places_[std::size_t(index)].diff_to_gmt);
    compute();
}

void AstroForm::date_edited(const QString& text) {
    if (parse_date(utf8(text))) compute();
}

void AstroForm::pick_date() {
    const auto typed = parse_date(utf8(text3_->text()));
    const QDate preset =
        typed ? to_qdate(*typed) : services_.clock.now().date();
    if (const auto chosen = picker_(this, preset)) {
        text3_->setText(chosen->toString(QStringLiteral("dd.MM.yyyy")));
    }
}

AstroInput AstroForm::input() const {
    AstroInput in;
    const auto value = [](const QLineEdit* edit) { return leading_value(utf8(edit->text())); };
    in.longitude_degree = value(coordinates_.longitude[0]);
    in.longitude_minute = value(coordinates_.longitude[1]);
    in.longitude_second = value(coordinates_.longitude[2]);
    in.longitude_direction = utf8(coordinates_.longitude[3]->text().trimmed());
    in.latitude_degree = value(coordinates_.latitude[0]);
    in.latitude_minute = value(coordinates_.latitude[1]);
    in.latitude_second = value(coordinates_.latitude[2]);
    in.latitude_direction = utf8(coordinates_.latitude[3]->text().trimmed());
    in.zone_hours = value(text8_);
    in.summer_time = check_sommer_->isChecked();
    in.date = parse_date(utf8(text3_->text()));
    in.hour = field_number(hours_->text());
    in.minute = field_number(minutes_->text());
    return in;
}

void AstroForm::compute() {
    const AstroResult result = compute_astro(input());
    switch (result.status) {
        case AstroStatus::ok:
            for (std::size_t i = 0; i < kAstroFields; ++i) outputs_[i]->setText(qstr(result.texts[i]));
            return;
        case AstroStatus::bad_date:
        case AstroStatus::bad_hour:
        case AstroStatus::bad_minute: {
            QLineEdit* faulty = result.status == AstroStatus::bad_date   ? text3_
                                : result.status == AstroStatus::bad_hour ? hours_
                                                                         : minutes_;
            services_.dialogs.message(this, qstr(astro_message(result.status)),
                                      MessageIcon::critical);
            faulty->setFocus();
            faulty->selectAll();
            return;
        }
        case AstroStatus::out_of_range:
        case AstroStatus::failed:
            return;
    }
}

}  // namespace merkwald
