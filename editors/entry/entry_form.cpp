#include "editors/entry/entry_form.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/entry_widgets.h"
#include "engine/date_text.h"
#include "shell/widgets/date_picker.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

QLabel* buddy_label(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

EntryForm::EntryForm(QWidget* parent, EditorContext& context, EntryKind kind,
                     std::vector<TextTemplate> templates, const std::string& target_file)
    : QDialog(parent), context_(context), kind_(kind), templates_(std::move(templates)) {
    const bool birthday = kind_ == EntryKind::birthday;
    setObjectName(birthday ? QStringLiteral("GebForm") : QStringLiteral("TerminForm"));
    setWindowTitle(birthday ? QStringLiteral("Geburtstag eingeben")
                            : QStringLiteral("Termin eingeben"));
    const EntryPresets presets =
        entry_presets(context_.settings, kind_, static_cast<int>(templates_.size()));
    color_ = presets.color;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(build_fields(presets, target_file));
    layout->addStretch();
    layout->addLayout(build_buttons());
    show_color(swatch_, color_);
    keep_default_button(*this, *save_);
    name_->setFocus();
}

QLayout* EntryForm::build_fields(const EntryPresets& presets, const std::string& target_file) {
    name_ = new QLineEdit;
    name_->setObjectName(QStringLiteral("NameText"));
    date_ = new DateField;
    date_->setObjectName(QStringLiteral("DatumText"));
    QPushButton* calendar = plain_button(QStringLiteral("..."), "Command1");
    calendar->setFixedWidth(calendar->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    calendar->setToolTip(QStringLiteral("Datum per Kalender eingeben"));
    calendar->setAccessibleName(calendar->toolTip());
    connect(calendar, &QPushButton::clicked, this, &EntryForm::pick_date);
    lead_time_ = lead_time_combo({"0", "1", "3", "7", "14", "21", "28"}, presets.lead_time);
    format_ = template_combo(templates_, presets.template_position);
    file_ = new QLineEdit(to_qstring(target_file));
    file_->setObjectName(QStringLiteral("DateiText"));
    file_->setMinimumWidth(320);
    QPushButton* browse_button = plain_button(QStringLiteral("Datei suchen..."), "GebBrowse");
    connect(browse_button, &QPushButton::clicked, this, &EntryForm::browse);
    swatch_ = color_swatch();
    QPushButton* color_button = plain_button(QStringLiteral("Farbe"));
    color_button->setAccessibleName(QStringLiteral("Farbe wählen"));
    connect(color_button, &QPushButton::clicked, this, &EntryForm::pick_color);

    auto* grid = new QGridLayout;
    const QString name_label =
        kind_ == EntryKind::birthday ? QStringLiteral("Name:") : QStringLiteral("Text:");
    grid->addWidget(buddy_label(name_label, name_), 0, 0);
    grid->addWidget(name_, 0, 1, 1, 4);
    grid->addWidget(buddy_label(QStringLiteral("Datum:"), date_), 1, 0);
    auto* date_row = new QHBoxLayout;
    date_row->addWidget(date_, 1);
    date_row->addWidget(calendar);
    date_row->addSpacing(16);
    date_row->addWidget(buddy_label(QStringLiteral("Vorlauf:"), lead_time_));
    date_row->addWidget(lead_time_);
    grid->addLayout(date_row, 1, 1, 1, 4);
    grid->addWidget(buddy_label(QStringLiteral("Format:"), format_), 2, 0);
    grid->addWidget(format_, 2, 1, 1, 4);
    grid->addWidget(buddy_label(QStringLiteral("Merkwald - Datei:"), file_), 3, 0);
    grid->addWidget(file_, 3, 1, 1, 3);
    grid->addWidget(browse_button, 3, 4);
    auto* color_row = new QHBoxLayout;
    color_row->addWidget(color_button);
    color_row->addWidget(swatch_);
    color_row->addStretch();
    grid->addLayout(color_row, 4, 1, 1, 4);
    grid->setColumnStretch(1, 1);
    return grid;
}

QLayout* EntryForm::build_buttons() {
    save_ = new QPushButton(QStringLiteral("Speichern"));
    save_->setObjectName(QStringLiteral("GebOK"));
    save_->setDefault(true);
    connect(save_, &QPushButton::clicked, this, &EntryForm::save);
    QPushButton* back = plain_button(QStringLiteral("Zurück"), "GebAbbruch");
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(save_);
    row->addWidget(back);
    return row;
}

void EntryForm::message(std::string_view text, MessageIcon icon) {
    context_.services.dialogs.message(this, to_qstring(text), icon);
}

void EntryForm::save() {
    EntryInput input;
    input.name = to_utf8(name_->text());
    input.date = to_utf8(date_->date_text());
    input.template_position = format_->currentIndex();
    input.style = {color_, context_.settings.record_color,
                   to_utf8(lead_time_->currentText().trimmed())};
    const std::filesystem::path target = context_.resolve(to_utf8(file_->text().trimmed()));
    SaveOutcome outcome;
    outcome.write =
        write_asking_utf8(context_.services.dialogs, this, target, [&](Utf8Change utf8) {
            outcome = save_entry(kind_, target, input, templates_, context_.engine.today, utf8);
            return outcome.write;
        });
    if (outcome.check == EntryCheck::no_name) {
        message(no_name_message(kind_));
        name_->setFocus();
        return;
    }
    if (outcome.check == EntryCheck::bad_date) {
        message(outcome.problem);
        date_->setFocus();
        return;
    }
    if (outcome.check == EntryCheck::bad_field) {
        message(outcome.problem);
        return;
    }
    // The fields keep what was typed, so that nothing is lost.
    if (outcome.write.is(WriteFailure::needs_utf8)) return;
    if (!outcome.write.ok()) {
        message(german_text(outcome.write));
        return;
    }
    date_->clear();
    name_->clear();
    name_->setFocus();
}

void EntryForm::pick_date() {
    const DaySerial preset = date_->date().value_or(context_.engine.today);
    if (const std::optional<DaySerial> picked = merkwald::pick_date(this, preset)) {
        date_->setText(to_qstring(written_date(*picked)));
    }
}

void EntryForm::pick_color() {
    if (const auto chosen =
            context_.services.dialogs.color(this, to_qcolor(std::uint32_t(color_)))) {
        color_ = static_cast<std::int32_t>(to_color_number(*chosen));
        show_color(swatch_, color_);
    }
}

void EntryForm::browse() {
    const QString chosen = context_.services.dialogs.open_file_name(
        this, QStringLiteral("Merkwald - Datei"), path_text(context_.program_folder),
        kReminderFilesFilterEntry);
    if (!chosen.isEmpty()) file_->setText(chosen);
}

EntryPresets EntryForm::chosen_presets() const {
    return {to_utf8(lead_time_->currentText().trimmed()), color_, format_->currentIndex()};
}

}  // namespace merkwald
