#include "editors/records/record_edit.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editing/field_checks.h"
#include "editing/record_rows.h"
#include "editors/entry_widgets.h"
#include "engine/date_text.h"
#include "engine/evaluate.h"
#include "engine/placeholders.h"
#include "shell/widgets/date_picker.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

constexpr RecordMode kModes[] = {RecordMode::always, RecordMode::yearly, RecordMode::once,
                                 RecordMode::monthly, RecordMode::periodic};
constexpr const char* kModeCaptions[] = {"immer", "jährlich", "einmal", "monatlich", "periodisch"};
constexpr const char* kModeNames[] = {"Option1", "Option2", "Option3", "OptionMonatlich",
                                      "OptionPeriodisch"};

QComboBox* make_combo(const char* name, const QStringList& items, bool editable) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    combo->setEditable(editable);
    if (editable) combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QLabel* buddy_label(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

RecordEdit::RecordEdit(QWidget* parent, EditorContext& context, EditingState& state)
    : QDialog(parent), context_(context), state_(state), sink_(context.services.dialogs, this) {
    setWindowTitle(QStringLiteral("Datensatzeditor"));
    build_fields();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(build_form());
    layout->addLayout(build_buttons());
    // Return saves, also after another button was pressed.
    keep_default_button(*this, *findChild<QPushButton*>(QStringLiteral("Speichern")));

    const EditorPresets presets{group_names(context_.engine), context_.settings.record_color};
    RecordFields fields =
        initial_fields(context_.settings.days_before, context_.settings.pref_group, presets.groups,
                       presets.record_color);
    build_insert_menu();
    load_record(state_, presets, fields, memory_, sink_);
    show_fields(fields);
    loaded_fields_ = this->fields();
    update_preview();
    text_->setMinimumHeight(fontMetrics().lineSpacing() * 5);
    preview_->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    resize(620, 560);
}

void RecordEdit::build_fields() {
    for (std::size_t i = 0; i < modes_.size(); ++i) {
        modes_[i] = new QRadioButton(QString::fromUtf8(kModeCaptions[i]));
        modes_[i]->setObjectName(QString::fromLatin1(kModeNames[i]));
        connect(modes_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !showing_) select_mode(kModes[i]);
        });
    }
    date_ = new DateField;
    date_->setObjectName(QStringLiteral("Text3"));
    date_->installEventFilter(this);
    calendar_button_ = new QPushButton(QStringLiteral("..."));
    calendar_button_->setObjectName(QStringLiteral("Command1"));
    calendar_button_->setToolTip(QStringLiteral("Datum per Kalender eingeben"));
    calendar_button_->setAccessibleName(calendar_button_->toolTip());
    calendar_button_->setFixedWidth(calendar_button_->fontMetrics().horizontalAdvance("....") + 16);
    connect(calendar_button_, &QPushButton::clicked, this, &RecordEdit::pick_date);
    lead_time_ = make_combo("Combo2", {"0", "1", "3", "7", "14", "21", "28"}, true);
    period_ = make_combo("Combo3", {"7", "14", "21", "28"}, true);
    ordinal_ = new QLineEdit;
    ordinal_->setObjectName(QStringLiteral("Text1"));
    day_ = make_combo("Combo4",
                      {"des Monats", "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag",
                       "Freitag", "Samstag"},
                      false);
    QStringList groups;
    for (const std::string& g : group_list(group_names(context_.engine))) groups << to_qstring(g);
    group_ = make_combo("Combo5", groups, true);
    color_label_ = new QLabel;
    color_label_->setObjectName(QStringLiteral("FarbeLabel"));
    color_label_->setFixedSize(48, 20);
    color_label_->setFrameShape(QFrame::Box);
    color_label_->setAutoFillBackground(true);
    color_label_->setAccessibleName(QStringLiteral("Gewählte Farbe"));
    day_->setAccessibleName(QStringLiteral("Tag im Monat oder Wochentag"));
    build_text_boxes();
}

void RecordEdit::build_text_boxes() {
    text_ = new QPlainTextEdit;
    text_->setObjectName(QStringLiteral("RTBox1"));
    text_->setToolTip(QStringLiteral("Rechtsklick für Einfügemenü"));
    text_->setContextMenuPolicy(Qt::CustomContextMenu);
    // Tab moves on like in every other field; Ctrl+Tab types a tab.
    text_->setTabChangesFocus(true);
    text_->installEventFilter(this);
    connect(text_, &QPlainTextEdit::customContextMenuRequested, this,
            [this](const QPoint& at) { insert_menu()->exec(text_->viewport()->mapToGlobal(at)); });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing_) update_preview();
    });
    preview_ = new QPlainTextEdit;
    preview_->setObjectName(QStringLiteral("TextVorschau"));
    preview_->setReadOnly(true);
}

QLayout* RecordEdit::build_form() {
    auto* mode_box = new QGroupBox(QStringLiteral("Häufigkeit"));
    auto* mode_row = new QHBoxLayout(mode_box);
    for (QRadioButton* b : modes_) mode_row->addWidget(b);
    mode_row->addStretch();

    auto* color_button = new QPushButton(QStringLiteral("Farbe"));
    color_button->setAccessibleName(QStringLiteral("Farbe wählen"));
    connect(color_button, &QPushButton::clicked, this, &RecordEdit::pick_color);
    auto* grid = new QGridLayout;
    grid->addWidget(buddy_label(QStringLiteral("Datum:"), date_), 0, 0);
    auto* date_row = new QHBoxLayout;
    date_row->addWidget(date_);
    date_row->addWidget(calendar_button_);
    grid->addLayout(date_row, 0, 1);
    grid->addWidget(buddy_label(QStringLiteral("Vorlaufzeit (Tage):"), lead_time_), 1, 0);
    grid->addWidget(lead_time_, 1, 1);
    grid->addWidget(buddy_label(QStringLiteral("Periode (Tage):"), period_), 1, 2);
    grid->addWidget(period_, 1, 3);
    grid->addWidget(buddy_label(QStringLiteral("Wievielter im Monat:"), ordinal_), 2, 0);
    grid->addWidget(ordinal_, 2, 1);
    grid->addWidget(day_, 2, 2, 1, 2);
    grid->addWidget(buddy_label(QStringLiteral("Gruppe:"), group_), 3, 0);
    grid->addWidget(group_, 3, 1);
    auto* color_row = new QHBoxLayout;
    color_row->addWidget(color_label_);
    color_row->addWidget(color_button);
    color_row->addStretch();
    grid->addLayout(color_row, 3, 2, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout;
    layout->addWidget(mode_box);
    layout->addLayout(grid);
    layout->addWidget(buddy_label(QStringLiteral("Text:"), text_));
    layout->addWidget(text_, 3);
    layout->addWidget(buddy_label(QStringLiteral("Vorschau:"), preview_));
    layout->addWidget(preview_, 2);
    return layout;
}

QLayout* RecordEdit::build_buttons() {
    auto* standard = new QPushButton(QStringLiteral("Standard"));
    auto* save = new QPushButton(QStringLiteral("Speichern"));
    auto* append = new QPushButton(QStringLiteral("Anfügen"));
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"));
    save->setToolTip(QStringLiteral("Speichert die Änderungen und kehrt zur Liste zurück"));
    append->setToolTip(QStringLiteral("Änderungen werden als neuer Datensatz angefügt"));
    cancel->setToolTip(QStringLiteral("Änderungen werden nicht gespeichert"));
    save->setObjectName(QStringLiteral("Speichern"));
    save->setDefault(true);
    connect(standard, &QPushButton::clicked, this, &RecordEdit::set_standard);
    connect(save, &QPushButton::clicked, this, &RecordEdit::save);
    connect(append, &QPushButton::clicked, this, &RecordEdit::append);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(standard);
    row->addStretch();
    row->addWidget(save);
    row->addWidget(append);
    row->addWidget(cancel);
    return row;
}

void RecordEdit::build_insert_menu() {
    insert_menu_ = new QMenu(QStringLiteral("&Einfügen"), this);
    QMenu* texts = insert_menu_->addMenu(QStringLiteral("Texte"));
    const std::filesystem::path file = context_.resolve(context_.settings.text_filename);
    insert_texts_ = load_insert_texts(file);
    if (insert_texts_.failed) {
        const std::string_view text =
            insert_texts_.problem.empty() ? kInsertTextsError : insert_texts_.problem;
        context_.services.dialogs.message(this, to_qstring(text), MessageIcon::critical);
    }
    for (const InsertText& entry : insert_texts_.entries) {
        const QString text = to_qstring(entry.text);
        texts->addAction(to_qstring(entry.caption), this,
                         [this, text] { text_->insertPlainText(text); });
    }
    for (const InsertSubmenu& submenu : insert_menu_table()) {
        QMenu* menu = insert_menu_->addMenu(to_qstring(submenu.title));
        for (const InsertGroup& group : submenu.groups) add_insert_group(menu, group);
    }
}

void RecordEdit::add_insert_group(QMenu* menu, const InsertGroup& group) {
    QMenu* target = group.title.empty() ? menu : menu->addMenu(to_qstring(group.title));
    for (const InsertEntry& entry : group.entries) {
        if (entry.caption.empty()) {
            target->addSeparator();
            continue;
        }
        const QString text = to_qstring(entry.text);
        target->addAction(to_qstring(entry.caption), this,
                          [this, text] { text_->insertPlainText(text); });
    }
}

QMenu* RecordEdit::insert_menu() { return insert_menu_; }

QRadioButton* RecordEdit::mode_button(RecordMode mode) const { return modes_[std::size_t(mode)]; }

RecordFields RecordEdit::fields() const {
    RecordFields f;
    f.mode = mode_;
    f.date = to_utf8(date_->date_text());
    f.lead_time = to_utf8(lead_time_->currentText());
    f.period = to_utf8(period_->currentText());
    f.ordinal = to_utf8(ordinal_->text());
    f.day_selector = day_->currentIndex();
    f.group = to_utf8(group_->currentText());
    f.color = color_;
    f.text = to_utf8(text_->toPlainText());
    return f;
}

void RecordEdit::show_fields(const RecordFields& f) {
    showing_ = true;
    mode_ = f.mode;
    for (std::size_t i = 0; i < modes_.size(); ++i) {
        modes_[i]->setChecked(f.mode && *f.mode == kModes[i]);
    }
    date_->setText(to_qstring(f.date));
    lead_time_->setCurrentText(to_qstring(f.lead_time));
    period_->setCurrentText(to_qstring(f.period));
    ordinal_->setText(to_qstring(f.ordinal));
    day_->setCurrentIndex(f.day_selector);
    const int group = group_->findText(to_qstring(f.group));
    if (group >= 0) group_->setCurrentIndex(group);
    group_->setCurrentText(to_qstring(f.group));
    color_ = f.color;
    show_color();
    if (text_->toPlainText() != to_qstring(f.text)) text_->setPlainText(to_qstring(f.text));
    const EnabledFields on = enabled_fields(f.mode);
    lead_time_->setEnabled(on.lead_time);
    period_->setEnabled(on.period);
    ordinal_->setEnabled(on.monthly);
    day_->setEnabled(on.monthly);
    date_->setEnabled(on.date);
    calendar_button_->setEnabled(on.date);
    showing_ = false;
}

void RecordEdit::select_mode(RecordMode mode) {
    RecordFields f = fields();
    merkwald::select_mode(f, memory_, mode);
    show_fields(f);
}

void RecordEdit::show_color() {
    QPalette palette = color_label_->palette();
    palette.setColor(QPalette::Window, to_qcolor(std::uint32_t(color_)));
    color_label_->setPalette(palette);
}

void apply_record_presets(Settings& settings, const RecordPresets& presets) {
    if (presets.days_before) settings.days_before = *presets.days_before;
    settings.pref_group = presets.pref_group;
}

void RecordEdit::take_presets() {
    RecordPresets presets;
    // An "immer" record has no lead time: keep the preset the user had.
    if (!lead_time_->currentText().isEmpty()) {
        presets.days_before = to_utf8(lead_time_->currentText());
    }
    presets.pref_group = group_->findText(group_->currentText());
    presets_ = presets;
}

bool RecordEdit::report(const WriteOutcome& outcome) {
    if (!outcome.ok() && !outcome.is(WriteFailure::needs_utf8) &&
        !outcome.is(WriteFailure::changed_outside)) {
        context_.services.dialogs.message(this, to_qstring(german_text(outcome)),
                                          MessageIcon::critical);
    }
    return outcome.ok();
}

WriteOutcome RecordEdit::write_appended(const RecordFields& written) {
    return write_asking_utf8(
        context_.services.dialogs, this, state_.current_file, [&](Utf8Change utf8) {
            return append_record(state_, written, context_.settings.record_color, utf8);
        });
}

bool RecordEdit::after_outside_change(const RecordFields& written, bool replacing) {
    const int before = state_.current_record;
    replacing = replacing && !state_.opened.empty();
    rescan(state_, sink_);
    const QString file = path_text(state_.current_file);
    if (replacing) {
        if (const std::optional<int> found = find_record(state_, state_.opened, before)) {
            // Found by its lines: the next Save replaces it where it stands now.
            state_.current_record = *found;
            context_.services.dialogs.message(
                this,
                to_qstring(changed_outside_message(state_.current_file)) +
                    QStringLiteral(" Der bearbeitete Datensatz steht unverändert darin; der "
                                   "eingegebene Text bleibt hier und wird mit „Speichern“ an "
                                   "dessen Stelle geschrieben."),
                MessageIcon::exclamation);
            return false;
        }
    }
    const QString question =
        replacing ? QStringLiteral(
                        "Der bearbeitete Datensatz steht nicht mehr unverändert in der Datei ") +
                        file +
                        QStringLiteral(
                            ": ein anderes Programm hat ihn geändert oder entfernt. Es wurde "
                            "nichts gespeichert. Den eingegebenen Datensatz als neuen "
                            "Datensatz anfügen?")
                  : QStringLiteral("Die Datei ") + file +
                        QStringLiteral(
                            " wurde inzwischen von einem anderen Programm geändert. Es wurde "
                            "nichts gespeichert. Den eingegebenen Datensatz an die Datei in "
                            "ihrem jetzigen Stand anfügen?");
    if (context_.services.dialogs.message(this, question, MessageIcon::question,
                                          MessageButtons::ok_cancel) != MessageAnswer::ok) {
        return false;
    }
    const WriteOutcome outcome = write_appended(written);
    if (outcome.is(WriteFailure::changed_outside))
        context_.services.dialogs.message(this, to_qstring(german_text(outcome)),
                                          MessageIcon::critical);
    if (!report(outcome)) return false;
    state_.current_record = state_.record_count();
    state_.new_record = false;
    loaded_fields_ = fields();
    return true;
}

RecordFields RecordEdit::fields_to_write() const {
    RecordFields f = fields();
    if (f.mode == RecordMode::monthly && f.date.empty()) f.date = memory_.date;
    return f;
}

bool RecordEdit::fields_valid() {
    const std::optional<FieldProblem> problem = check_record_fields(fields_to_write());
    if (!problem) return true;
    context_.services.dialogs.message(this, to_qstring(problem->message), MessageIcon::critical);
    if (QWidget* w = findChild<QWidget*>(to_qstring(problem->field_name))) w->setFocus();
    return false;
}

void RecordEdit::save() {
    if (mode_ == RecordMode::once && !date_->date()) {
        context_.services.dialogs.message(
            this, QStringLiteral("Kein oder Falsches Datum bei einmaligem Termin"),
            MessageIcon::critical);
        date_->setFocus();
        return;
    }
    if (!fields_valid()) return;
    take_presets();
    // An untouched record is not written: its lines keep their form and the
    // backup its older state.
    if (!state_.new_record && fields() == loaded_fields_) {
        accept();
        return;
    }
    const std::int32_t record_color = context_.settings.record_color;
    const RecordFields written = fields_to_write();
    const WriteOutcome outcome = write_asking_utf8(
        context_.services.dialogs, this, state_.current_file, [&](Utf8Change utf8) {
            return state_.new_record ? append_record(state_, written, record_color, utf8)
                                     : replace_record(state_, written, record_color, sink_, utf8);
        });
    if (report(outcome) || (outcome.is(WriteFailure::changed_outside) &&
                            after_outside_change(written, !state_.new_record)))
        accept();
}

void RecordEdit::append() {
    if (!fields_valid()) return;
    const RecordFields written = fields_to_write();
    const WriteOutcome outcome = write_appended(written);
    if (report(outcome)) {
        state_.current_record = state_.record_count();
        loaded_fields_ = fields();
    } else if (outcome.is(WriteFailure::changed_outside)) {
        (void)after_outside_change(written, false);
    }
    take_presets();
}

void RecordEdit::set_standard() {
    select_mode(RecordMode::yearly);
    RecordFields f = fields();
    f.color = context_.settings.record_color;
    f.lead_time = "21";
    f.group = kNoGroup;
    show_fields(f);
}

void RecordEdit::pick_date() {
    const DaySerial today = context_.engine.today;
    const DaySerial preset = date_->date().value_or(today);
    if (const std::optional<DaySerial> picked = merkwald::pick_date(this, preset)) {
        date_->setText(to_qstring(written_date(*picked)));
        update_preview();
    }
}

void RecordEdit::pick_color() {
    if (const auto chosen =
            context_.services.dialogs.color(this, to_qcolor(std::uint32_t(color_)))) {
        color_ = static_cast<std::int32_t>(to_color_number(*chosen));
        show_color();
    }
}

void RecordEdit::update_preview() {
    if (previewing_) return;
    previewing_ = true;
    EngineState& engine = context_.engine;
    const std::string date_text = to_utf8(date_->date_text());
    const std::optional<DaySerial> date = date_->date();
    if (!date_text.empty() && !date) {
        // Once per wrong value: typing elsewhere must stay possible meanwhile.
        if (date_->text() != reported_date_) {
            reported_date_ = date_->text();
            context_.services.dialogs.message(this, to_qstring(engine.messages[0]),
                                              MessageIcon::critical);
        }
        preview_->setPlainText(to_qstring(engine.messages[0]));
        previewing_ = false;
        return;
    }
    reported_date_.clear();
    const DaySerial record_date = date.value_or(engine.today);
    const DaySerial event_date =
        next_anniversary({.date = record_date, .today = engine.today}).value_or(record_date);
    // A text still being typed is full of unfinished placeholders: say nothing.
    SilentSink quiet;
    const std::string file = state_.current_file.string();
    const std::string text =
        expand_placeholders(engine, to_utf8(text_->toPlainText()),
                            {.record = record_date, .event = event_date}, {file, 0}, quiet)
            .text;
    preview_->setPlainText(to_qstring(text));
    previewing_ = false;
}

bool RecordEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == date_ && event->type() == QEvent::FocusOut && !showing_) update_preview();
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            text_->insertPlainText(QStringLiteral("\t"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace merkwald
