#include "editors/files/import_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editors/entry_widgets.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

BirthdayImportForm::BirthdayImportForm(QWidget* parent, EditorContext& context,
                                       std::vector<TextTemplate> templates,
                                       const std::string& target_file)
    : QDialog(parent), context_(context), templates_(std::move(templates)) {
    setObjectName(QStringLiteral("Importform"));
    setWindowTitle(QStringLiteral("Geburtstage Importieren"));
    const EntryPresets presets =
        entry_presets(context_.settings, EntryKind::birthday, static_cast<int>(templates_.size()));
    color_ = presets.color;
    auto* grid = new QGridLayout;
    build_files(grid, target_file);
    build_options(grid, presets);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("StatusLine"));
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setFrameShadow(QFrame::Sunken);
    status_->setMinimumHeight(status_->fontMetrics().height() + 8);
    layout->addWidget(status_);
    layout->addLayout(build_buttons());
    show_color(swatch_, color_);
    keep_default_button(*this, *findChild<QPushButton*>(QStringLiteral("Import")));
}

void BirthdayImportForm::build_files(QGridLayout* grid, const std::string& target_file) {
    source_ = new QLineEdit;
    source_->setObjectName(QStringLiteral("ImportDatei"));
    source_->setMinimumWidth(320);
    target_ = new QLineEdit(to_qstring(target_file));
    target_->setObjectName(QStringLiteral("DateiText"));
    QPushButton* source_button = plain_button(QStringLiteral("Datei suchen..."));
    source_button->setAccessibleName(QStringLiteral("Import - Datei suchen"));
    connect(source_button, &QPushButton::clicked, this, &BirthdayImportForm::browse_import_file);
    QPushButton* target_button = plain_button(QStringLiteral("Datei suchen..."));
    target_button->setAccessibleName(QStringLiteral("Merkwald - Datei suchen"));
    connect(target_button, &QPushButton::clicked, this, &BirthdayImportForm::browse_target_file);
    auto* source_label = new QLabel(QStringLiteral("Import - Datei"));
    source_label->setBuddy(source_);
    grid->addWidget(source_label, 0, 0);
    grid->addWidget(source_, 0, 1);
    grid->addWidget(source_button, 0, 2);
    auto* target_label = new QLabel(QStringLiteral("Merkwald - Datei"));
    target_label->setBuddy(target_);
    grid->addWidget(target_label, 1, 0);
    grid->addWidget(target_, 1, 1);
    grid->addWidget(target_button, 1, 2);
}

void BirthdayImportForm::build_options(QGridLayout* grid, const EntryPresets& presets) {
    auto* format_box = new QGroupBox(QStringLiteral("Import Dateiformat"));
    name_date_ = new QRadioButton(QStringLiteral("Name, Datum"));
    two_names_ = new QRadioButton(QStringLiteral("Name1, Name2, Datum"));
    name_date_->setChecked(true);
    auto* format_row = new QHBoxLayout(format_box);
    format_row->addWidget(name_date_);
    format_row->addWidget(two_names_);
    format_row->addStretch();

    format_ = template_combo(templates_, presets.template_position);
    auto* format_label = new QLabel(QStringLiteral("Datensatz Format"));
    const QString tip =
        QStringLiteral("Gibt das Format an in dem die Geburtstage später erscheinen");
    format_label->setToolTip(tip);
    format_label->setBuddy(format_);
    format_->setToolTip(tip);
    lead_time_ = lead_time_combo({"0", "1", "7", "14", "21", "28"}, presets.lead_time);
    swatch_ = color_swatch();
    QPushButton* color_button = plain_button(QStringLiteral("Farbe"));
    connect(color_button, &QPushButton::clicked, this, &BirthdayImportForm::pick_color);

    grid->addWidget(format_box, 2, 0, 1, 3);
    grid->addWidget(format_label, 3, 0);
    grid->addWidget(format_, 3, 1, 1, 2);
    auto* lead_label = new QLabel(QStringLiteral("Vorlauf:"));
    lead_label->setBuddy(lead_time_);
    grid->addWidget(lead_label, 4, 0);
    auto* row = new QHBoxLayout;
    row->addWidget(lead_time_);
    row->addStretch();
    row->addWidget(color_button);
    row->addWidget(swatch_);
    grid->addLayout(row, 4, 1, 1, 2);
}

QLayout* BirthdayImportForm::build_buttons() {
    auto* import_button = new QPushButton(QStringLiteral("Import"));
    import_button->setObjectName(QStringLiteral("Import"));
    import_button->setDefault(true);
    connect(import_button, &QPushButton::clicked, this, &BirthdayImportForm::run_import);
    QPushButton* back = plain_button(QStringLiteral("Zurück"));
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(import_button);
    row->addWidget(back);
    return row;
}

void BirthdayImportForm::message(const std::string& text) {
    context_.services.dialogs.message(this, to_qstring(text), MessageIcon::critical);
}

void BirthdayImportForm::run_import() {
    const RecordStyle style{color_, context_.settings.record_color,
                            to_utf8(lead_time_->currentText().trimmed())};
    const ImportFormat format =
        two_names_->isChecked() ? ImportFormat::two_names_date : ImportFormat::name_date;
    const std::filesystem::path target = context_.resolve(to_utf8(target_->text().trimmed()));
    // Nothing of an earlier run stays on the line while this one reads or reports.
    status_->clear();
    ImportOutcome outcome;
    (void)write_asking_utf8(context_.services.dialogs, this, target, [&](Utf8Change utf8) {
        outcome = import_birthdays(
            context_.resolve(to_utf8(source_->text().trimmed())), target, format,
            template_at(templates_, format_->currentIndex()), style, context_.engine.today,
            [this](int entries) { status_->setText(to_qstring(import_progress_text(entries))); },
            utf8);
        return outcome.write;
    });
    // The line tells this run's end before its message box opens.
    status_->setText(to_qstring(import_status_text(outcome)));
    if (outcome.end != ImportEnd::done && !outcome.write.is(WriteFailure::needs_utf8)) {
        message(import_problem_text(outcome));
    }
}

void BirthdayImportForm::browse_import_file() {
    const QString chosen = context_.services.dialogs.open_file_name(
        this, QStringLiteral("Import - Datei"), path_text(context_.program_folder), kCsvFilesFirst);
    if (!chosen.isEmpty()) source_->setText(chosen);
}

void BirthdayImportForm::browse_target_file() {
    const QString chosen = context_.services.dialogs.open_file_name(
        this, QStringLiteral("Merkwald - Datei"), path_text(context_.program_folder),
        kReminderFilesFilter);
    if (!chosen.isEmpty()) target_->setText(chosen);
}

void BirthdayImportForm::pick_color() {
    if (const auto chosen =
            context_.services.dialogs.color(this, to_qcolor(std::uint32_t(color_)))) {
        color_ = static_cast<std::int32_t>(to_color_number(*chosen));
        show_color(swatch_, color_);
    }
}

EntryPresets BirthdayImportForm::chosen_presets() const {
    return {to_utf8(lead_time_->currentText().trimmed()), color_, format_->currentIndex()};
}

}  // namespace merkwald
