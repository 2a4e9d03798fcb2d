#include "editors/files/vcard_import_form.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "editors/entry_widgets.h"
#include "engine/file_access.h"
#include "engine/text_file.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

// The age the person reaches on the next birthday; empty without a year.
QString age_text(const VcardBirthday& b, DaySerial today) {
    const std::optional<int> age = age_at_next_birthday(b, today);
    return age ? QString::number(*age) : QString();
}

QTableWidgetItem* read_only(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

VcardImportForm::VcardImportForm(QWidget* parent, EditorContext& context,
                                 std::vector<TextTemplate> templates, std::filesystem::path target,
                                 const VcardBook& book)
    : QDialog(parent),
      context_(context),
      templates_(std::move(templates)),
      target_(std::move(target)),
      presets_(entry_presets(context.settings, EntryKind::birthday, int(templates_.size()))),
      table_(new QTableWidget(this)),
      template_(template_combo(templates_, presets_.template_position)),
      status_(new QLabel(this)),
      import_(new QPushButton(QStringLiteral("&Importieren"), this)) {
    setObjectName(QStringLiteral("VcardImport"));
    setWindowTitle(QStringLiteral("Geburtstage aus Adressbuch importieren"));
    table_->setObjectName(QStringLiteral("VcardTable"));
    table_->setAccessibleName(QStringLiteral("Personen im Adressbuch"));
    table_->setTabKeyNavigation(false);  // Tab leaves the table for the buttons
    template_->setObjectName(QStringLiteral("VcardTemplate"));
    template_->setParent(this);
    status_->setObjectName(QStringLiteral("VcardStatus"));
    status_->setWordWrap(true);
    import_->setObjectName(QStringLiteral("VcardImportButton"));
    import_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    connect(import_, &QPushButton::clicked, this, &VcardImportForm::run_import);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    cancel->setAutoDefault(false);

    const auto text = read_text_file(target_);
    fill(book, text ? std::string_view(text->text) : std::string_view());

    auto* template_row = new QHBoxLayout;
    auto* template_label = new QLabel(QStringLiteral("Vorlage:"), this);
    template_label->setBuddy(template_);
    template_row->addWidget(template_label);
    template_row->addWidget(template_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(import_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ziel: ") + path_text(target_), this));
    layout->addWidget(table_, 1);
    layout->addLayout(template_row);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    // Tab reads top down: the table, its template, then the buttons.
    setTabOrder(table_, template_);
    setTabOrder(template_, import_);
    resize(560, 420);
    centre_on_screen(*this);
}

void VcardImportForm::fill(const VcardBook& book, std::string_view target_text) {
    const std::vector<VcardCandidate> candidates = vcard_candidates(book, target_text);
    table_->setColumnCount(4);
    table_->setHorizontalHeaderLabels({QStringLiteral("Übernehmen"), QStringLiteral("Name"),
                                       QStringLiteral("Geburtstag"),
                                       QStringLiteral("Alter am nächsten Geburtstag")});
    // An address book may hold many thousand people: draw once, at the end.
    table_->setUpdatesEnabled(false);
    table_->setRowCount(int(candidates.size()));
    table_->verticalHeader()->hide();
    int known = 0;
    for (int row = 0; row < int(candidates.size()); ++row) {
        const VcardCandidate& c = candidates[std::size_t(row)];
        people_.push_back(c.person);
        auto* take = read_only(QString());
        take->setFlags(take->flags() | Qt::ItemIsUserCheckable);
        take->setCheckState(c.already_there ? Qt::Unchecked : Qt::Checked);
        table_->setItem(row, kVcardTake, take);
        table_->setItem(row, kVcardName, read_only(to_qstring(c.person.name)));
        table_->setItem(row, kVcardBirthday,
                        read_only(to_qstring(vcard_birthday_text(c.person.birthday))));
        table_->setItem(row, kVcardAge,
                        read_only(age_text(c.person.birthday, context_.engine.today)));
        known += c.already_there ? 1 : 0;
    }
    table_->horizontalHeader()->setSectionResizeMode(kVcardName, QHeaderView::Stretch);
    table_->setUpdatesEnabled(true);
    QString status = QStringLiteral("%1 Personen mit Geburtstag, davon %2 schon in der Datei.")
                         .arg(candidates.size())
                         .arg(known);
    if (book.without_birthday > 0)
        status += QStringLiteral(" %1 ohne Geburtstag.").arg(book.without_birthday);
    if (!book.problems.empty())
        status += QStringLiteral(" %1 fehlerhafte Karten übersprungen.").arg(book.problems.size());
    status_->setText(status);
}

void VcardImportForm::run_import() {
    std::vector<VcardPerson> chosen;
    for (int row = 0; row < table_->rowCount(); ++row)
        if (table_->item(row, kVcardTake)->checkState() == Qt::Checked)
            chosen.push_back(people_[std::size_t(row)]);
    if (chosen.empty()) {
        status_->setText(QStringLiteral("Niemand ausgewählt."));
        return;
    }
    const RecordStyle style{presets_.color, context_.settings.record_color, presets_.lead_time};
    VcardImportOutcome outcome;
    const WriteOutcome write =
        write_asking_utf8(context_.services.dialogs, this, target_, [&](Utf8Change utf8) {
            outcome = append_vcard_birthdays(target_, chosen, templates_, template_->currentIndex(),
                                             style, context_.engine.today, utf8);
            return outcome.write;
        });
    const std::string problem = !outcome.problem.empty() ? outcome.problem : german_text(write);
    if (!problem.empty()) {
        context_.services.dialogs.message(this, to_qstring(problem), MessageIcon::critical);
        return;
    }
    if (!write.ok()) return;  // "Nein" to UTF-8
    written_ = outcome.written;
    accept();
}

EntryPresets VcardImportForm::chosen_presets() const {
    EntryPresets presets = presets_;
    presets.template_position = template_->currentIndex();
    return presets;
}

void import_address_book(QWidget* parent, EditorContext& context,
                         const std::vector<TextTemplate>& templates,
                         const std::filesystem::path& target, EntryPresets& presets) {
    Dialogs& dialogs = context.services.dialogs;
    const QString file =
        dialogs.open_file_name(parent, QStringLiteral("Adressbuch öffnen"), QString(),
                               QStringLiteral("vCard-Dateien (*.vcf *.vcard);;Alle Dateien (*)"));
    if (file.isEmpty()) return;
    // Through the editing tools' reading: a pipe or a device must not hang the window.
    std::string bytes;
    if (!read_regular_file(to_path(file), bytes).ok) {
        dialogs.message(parent, QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(file),
                        MessageIcon::critical);
        return;
    }
    const VcardBook book = parse_vcards(bytes);
    VcardImportForm form(parent, context, templates, target, book);
    form.exec();
    presets = form.chosen_presets();
    if (form.written() > 0) {
        dialogs.message(parent, QStringLiteral("%1 Geburtstage importiert.").arg(form.written()),
                        MessageIcon::information);
    }
}

}  // namespace merkwald
