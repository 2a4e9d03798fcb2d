#include "editors/files/new_file_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/new_file.h"
#include "editors/entry_widgets.h"
#include "editors/records/record_list.h"
#include "engine/reader.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

NewFileForm::NewFileForm(QWidget* parent, EditorContext& context,
                         std::function<void(const std::vector<std::string>&)> created)
    : QDialog(parent),
      context_(context),
      created_(std::move(created)),
      file_(new QLineEdit),
      list_(new QListWidget) {
    setObjectName(QStringLiteral("FileNew"));
    setWindowTitle(QStringLiteral("Neue Datendatei anlegen"));
    file_->setObjectName(QStringLiteral("DateiText"));
    file_->setMinimumWidth(320);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setAccessibleName(QStringLiteral("Zusatz Dateien"));
    QPushButton* file_button = plain_button(QStringLiteral("Datei suchen..."), "FileBrowse");
    connect(file_button, &QPushButton::clicked, this, &NewFileForm::browse_file);
    QPushButton* add = plain_button(QStringLiteral("hinzufügen"), "ZusatzBrowse");
    add->setAccessibleName(QStringLiteral("Zusatz Datei hinzufügen"));
    connect(add, &QPushButton::clicked, this, &NewFileForm::add_linked_file);
    QPushButton* remove = plain_button(QStringLiteral("entfernen"), "ZusatzRemove");
    remove->setAccessibleName(QStringLiteral("Zusatz Datei entfernen"));
    connect(remove, &QPushButton::clicked, this, &NewFileForm::remove_linked_file);

    auto* list_buttons = new QVBoxLayout;
    list_buttons->addWidget(add);
    list_buttons->addWidget(remove);
    list_buttons->addStretch();
    auto* grid = new QGridLayout;
    auto* file_label = new QLabel(QStringLiteral("Merkwald - Datei:"));
    file_label->setBuddy(file_);
    grid->addWidget(file_label, 0, 0, 1, 2);
    grid->addWidget(file_, 1, 0);
    grid->addWidget(file_button, 1, 1);
    auto* list_label = new QLabel(QStringLiteral("Zusatz Dateien:"));
    list_label->setBuddy(list_);
    grid->addWidget(list_label, 2, 0, 1, 2);
    grid->addWidget(list_, 3, 0);
    grid->addLayout(list_buttons, 3, 1);
    grid->setColumnStretch(0, 1);

    auto* ok = new QPushButton(QStringLiteral("Fertig"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &NewFileForm::create);
    QPushButton* cancel = plain_button(QStringLiteral("Abbruch"), "AbbruchButton");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    keep_default_button(*this, *ok);
}

void NewFileForm::message(const QString& text, MessageIcon icon) {
    context_.services.dialogs.message(this, text, icon);
}

void NewFileForm::create() {
    const QString typed = file_->text().trimmed();
    if (typed.isEmpty()) {
        message(to_qstring(kNoFileName), MessageIcon::critical);
        return;
    }
    const std::filesystem::path file = new_file_path(to_utf8(typed), context_.program_folder);
    if (file_exists(file) && context_.services.dialogs.message(
                                 this, to_qstring(kOverwriteQuestion), MessageIcon::exclamation,
                                 MessageButtons::ok_cancel) != MessageAnswer::ok) {
        return;
    }
    std::vector<std::string> linked;
    for (int i = 0; i < list_->count(); ++i) linked.push_back(to_utf8(list_->item(i)->text()));
    const NewFileOutcome outcome = create_new_file(file, linked);
    if (!outcome.write.ok()) {
        message(to_qstring(kNotCreated) + "\n" + to_qstring(german_text(outcome.write)),
                MessageIcon::critical);
        return;
    }
    if (created_) created_(outcome.file_list);
    RecordList records(this, context_, outcome.file_list);
    records.exec();
    accept();
}

QString NewFileForm::browse(const QString& caption) {
    return context_.services.dialogs.open_file_name(
        this, caption, path_text(context_.program_folder), kReminderFilesFilterEntry);
}

void NewFileForm::browse_file() {
    const QString chosen = browse(QStringLiteral("Merkwald - Datei"));
    if (!chosen.isEmpty()) file_->setText(chosen);
}

void NewFileForm::add_linked_file() {
    const QString chosen = browse(QStringLiteral("Zusatz Datei"));
    if (!chosen.isEmpty()) list_->addItem(chosen);
}

void NewFileForm::remove_linked_file() {
    const int row = list_->currentRow();
    if (row >= 0 && list_->currentItem() != nullptr && list_->currentItem()->isSelected()) {
        delete list_->takeItem(row);
    }
}

}  // namespace merkwald
