#include "editors/files/convert_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/converter.h"
#include "editors/entry_widgets.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

ConvertForm::ConvertForm(QWidget* parent, EditorContext& context)
    : QDialog(parent),
      context_(context),
      input_field_(new QLineEdit),
      output_field_(new QLineEdit) {
    setObjectName(QStringLiteral("ConvertForm"));
    setWindowTitle(QStringLiteral("Konvertierung"));
    input_field_->setObjectName(QStringLiteral("indatei"));
    output_field_->setObjectName(QStringLiteral("outdatei"));
    input_field_->setMinimumWidth(320);
    QPushButton* in_button = plain_button(QStringLiteral("Datei suchen..."));
    in_button->setAccessibleName(QStringLiteral("Zu konvertierende Datei suchen"));
    connect(in_button, &QPushButton::clicked, this, &ConvertForm::browse_input);
    QPushButton* out_button = plain_button(QStringLiteral("Datei suchen..."));
    out_button->setAccessibleName(QStringLiteral("Zieldatei suchen"));
    connect(out_button, &QPushButton::clicked, this, &ConvertForm::browse_output);

    auto* grid = new QGridLayout;
    auto* in_label = new QLabel(QStringLiteral("Zu konvertierende Datei:"));
    in_label->setBuddy(input_field_);
    grid->addWidget(in_label, 0, 0, 1, 2);
    grid->addWidget(input_field_, 1, 0);
    grid->addWidget(in_button, 1, 1);
    auto* out_label = new QLabel(QStringLiteral("Konvertieren nach:"));
    out_label->setBuddy(output_field_);
    grid->addWidget(out_label, 2, 0, 1, 2);
    grid->addWidget(output_field_, 3, 0);
    grid->addWidget(out_button, 3, 1);
    grid->setColumnStretch(0, 1);

    auto* convert_button = new QPushButton(QStringLiteral("Konvertieren"));
    convert_button->setDefault(true);
    connect(convert_button, &QPushButton::clicked, this, &ConvertForm::convert);
    QPushButton* cancel = plain_button(QStringLiteral("Abbrechen"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(convert_button);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    keep_default_button(*this, *convert_button);
}

void ConvertForm::message(const QString& text, MessageIcon icon) {
    context_.services.dialogs.message(this, text, icon);
}

void ConvertForm::convert() {
    const std::string in_name = to_utf8(input_field_->text().trimmed());
    const std::string out_name = to_utf8(output_field_->text().trimmed());
    const std::filesystem::path input = context_.resolve(in_name);
    const std::filesystem::path output = context_.resolve(out_name);
    const ConvertCheck check = check_conversion(in_name, out_name, input, output);
    if (check == ConvertCheck::same_file || check == ConvertCheck::missing_input) {
        message(to_qstring(check_message(check)), MessageIcon::critical);
        if (check == ConvertCheck::same_file) {
            browse_output();
        } else {
            browse_input();
        }
        return;
    }
    if (check == ConvertCheck::output_exists &&
        context_.services.dialogs.message(this, to_qstring(check_message(check)),
                                          MessageIcon::exclamation,
                                          MessageButtons::ok_cancel) != MessageAnswer::ok) {
        return;
    }
    const WriteOutcome outcome = convert_file(input, output);
    if (!outcome.ok()) {
        QString text = to_qstring(kConvertFailed);
        const std::string reason = german_text(outcome);
        if (reason != kConvertFailed) text += "\n" + to_qstring(reason);
        message(text, MessageIcon::critical);
        return;
    }
    message(to_qstring(kConvertDone), MessageIcon::information);
    accept();
}

QString ConvertForm::browse(const QString& caption) {
    return context_.services.dialogs.open_file_name(
        this, caption, path_text(context_.program_folder), kReminderFilesFilter);
}

void ConvertForm::browse_input() {
    const QString chosen = browse(QStringLiteral("Zu konvertierende Datei"));
    if (!chosen.isEmpty()) input_field_->setText(chosen);
}

void ConvertForm::browse_output() {
    // The output is usually a new file: the save dialog takes a new name.
    const QString chosen = context_.services.dialogs.save_file_name(
        this, QStringLiteral("Konvertieren nach"), path_text(context_.program_folder),
        kReminderFilesFilter);
    if (!chosen.isEmpty()) output_field_->setText(chosen);
}

}  // namespace merkwald
