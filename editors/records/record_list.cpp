#include "editors/records/record_list.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizePolicy>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>

#include "editing/record_list_files.h"
#include "editors/records/record_edit.h"
#include "editors/records/small_dialogs.h"
#include "engine/text.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

// Merkwald files first: that is the filter the dialog opens with.
const QString kFilter =
    QStringLiteral("Merkwald Dateien (*.rmd);;Alle Dateien (*);;Text Dateien (*.txt)");

// The hourglass while the list works.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

RecordList::RecordList(QWidget* parent, EditorContext& context, std::vector<std::string> files)
    : QDialog(parent),
      context_(context),
      files_(std::move(files)),
      sink_(context.services.dialogs, this),
      date_sort_(new SelectDateSort(this)) {
    setWindowTitle(QStringLiteral("Datensatz Liste"));
    if (files_.empty()) files_.push_back(context_.settings.data_filename);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(build_grid(), 1);
    layout->addLayout(build_files());
    layout->addLayout(build_buttons());

    state_.current_file = file_path(files_[0]);
    for (std::size_t i = 1; i < files_.size(); ++i) linked_->addItem(to_qstring(files_[i]));
    linked_->setCurrentIndex(files_.size() > 1 ? 0 : -1);
    linked_->setEditText(files_.size() > 1 ? to_qstring(files_[1]) : QStringLiteral("keine"));
    file_name_->setText(to_qstring(files_[0]));
    shown_->setText(to_qstring(files_[0]));
    fill();
    resize(900, 520);
}

RecordList::~RecordList() = default;

QWidget* RecordList::build_grid() {
    model_ = new RecordTableModel(this);
    table_ = new QTableView(this);
    table_->setModel(model_);
    table_->setObjectName(QStringLiteral("Tabelle"));
    table_->setAccessibleName(QStringLiteral("Datensätze"));
    // Tab leaves the grid (arrow keys move in it), so the buttons stay reachable.
    table_->setTabKeyNavigation(false);
    table_->setToolTip(QStringLiteral(
        "Zum Bearbeiten auf die 1. Spalte, zum Sortieren auf die Kopfzeile klicken"));
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    const int line = std::max(fontMetrics().lineSpacing(), kRowHeightTwips * logicalDpiY() / 1440);
    table_->verticalHeader()->setMinimumSectionSize(
        std::min(table_->verticalHeader()->minimumSectionSize(), line + 4));
    table_->verticalHeader()->setDefaultSectionSize(line + 4);
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->horizontalHeader()->setSectionsClickable(true);
    const int dpi = logicalDpiX();
    // The widths were made for a small 8-point font: wider fonts widen them. The
    // stored widths are in the same units, so they are scaled alike and stored
    // unscaled, and a column keeps its width from one opening to the next.
    width_scale_ = std::max(1.0, fontMetrics().horizontalAdvance(QLatin1Char('0')) / 5.0);
    for (int c = 0; c < kGridColumns; ++c) {
        const auto stored = c < kListColumns ? context_.settings.columns[std::size_t(c)]
                                             : std::optional<std::int32_t>();
        const bool own = stored && *stored > 0;
        const int twips = own ? *stored : kDefaultColumnTwips[std::size_t(c)];
        loaded_twips_[std::size_t(c)] = twips;
        int pixels = static_cast<int>(twips * dpi / 1440 * width_scale_);
        // At its default width a short heading is shown whole; the preview's long
        // one may be cut, and a width the user chose stays as chosen.
        if (twips == kDefaultColumnTwips[std::size_t(c)] && c != kPreviewColumn)
            pixels = std::max(pixels, table_->horizontalHeader()->sectionSizeHint(c));
        loaded_pixels_[std::size_t(c)] = pixels;
        table_->setColumnWidth(c, pixels);
    }
    connect_grid();
    return table_;
}

void RecordList::connect_grid() {
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &RecordList::sort_by_column);
    connect(table_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        set_current_row(index.row());
        if (index.column() == 0) edit_row(index.row());
    });
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() != 0) edit_row(index.row());
    });
    QItemSelectionModel* selection = table_->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { set_current_row(current.row()); });
    connect(selection, &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList chosen = table_->selectionModel()->selectedIndexes();
        if (!chosen.isEmpty()) current_row_ = chosen.front().row();
        update_buttons();
    });
}

QLayout* RecordList::build_files() {
    file_name_ = new QLineEdit;
    file_name_->setObjectName(QStringLiteral("Text1"));
    file_name_->setToolTip(QStringLiteral("aktuelle Datei"));
    shown_ = new QLineEdit;
    shown_->setObjectName(QStringLiteral("Anzeige"));
    shown_->setReadOnly(true);
    linked_ = new QComboBox;
    linked_->setObjectName(QStringLiteral("DateiCombo"));
    linked_->setEditable(true);
    linked_->lineEdit()->setReadOnly(true);
    linked_->setMinimumContentsLength(24);
    linked_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    color_ = new QLabel;
    color_->setObjectName(QStringLiteral("ColorLabel"));
    color_->setFixedSize(48, 20);
    color_->setFrameShape(QFrame::Box);
    color_->setAutoFillBackground(true);
    color_->setAccessibleName(QStringLiteral("Farbe"));

    auto* main_row = new QHBoxLayout;
    main_row->addWidget(file_name_, 1);
    add_button(main_row, QStringLiteral("Anzeigen"), QStringLiteral("Zeigt Hauptdatei an"),
               &RecordList::show_main_file)
        ->setAccessibleName(QStringLiteral("Hauptdatei anzeigen"));
    main_row->addSpacing(12);
    main_row->addWidget(new QLabel(QStringLiteral("Farbe:")));
    main_row->addWidget(color_);
    auto* linked_row = new QHBoxLayout;
    linked_row->addWidget(linked_, 1);
    add_button(linked_row, QStringLiteral("Anzeigen"), QStringLiteral("Zeigt verbundene Datei an"),
               &RecordList::show_linked_file)
        ->setAccessibleName(QStringLiteral("Verbundene Datei anzeigen"));
    add_button(linked_row, QStringLiteral("Hinzufügen"),
               QStringLiteral("Verbindet neue Datei mit Hauptdatei"), &RecordList::add_link);
    add_button(linked_row, QStringLiteral("Trennen"),
               QStringLiteral("Trennt verbunden Datei von Hauptdatei"), &RecordList::remove_link);

    auto* grid = new QGridLayout;
    // Each label names its field for a screen reader too.
    const auto label = [](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text));
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label("Dateiname:", file_name_), 0, 0);
    grid->addLayout(main_row, 0, 1);
    grid->addWidget(label("Angezeigt wird:", shown_), 1, 0);
    grid->addWidget(shown_, 1, 1);
    grid->addWidget(label("Verbundene Dateien:", linked_), 2, 0);
    grid->addLayout(linked_row, 2, 1);
    grid->setColumnStretch(1, 1);
    return grid;
}

QPushButton* RecordList::add_button(QLayout* layout, const QString& text, const QString& tip,
                                    void (RecordList::*slot)()) {
    auto* button = new QPushButton(text);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, slot);
    layout->addWidget(button);
    return button;
}

QLayout* RecordList::build_buttons() {
    auto* records = new QHBoxLayout;
    add_button(records, QStringLiteral("Neu"), QStringLiteral("erstellt einen neuen Datensatz"),
               &RecordList::new_record);
    delete_ = add_button(records, QStringLiteral("Löschen"),
                         QStringLiteral("Löscht markierten Datensatz"), &RecordList::delete_record);
    undo_ = add_button(records, QStringLiteral("Rückgängig"),
                       QStringLiteral("macht letzte Aktion rückgängig"), &RecordList::undo);
    add_button(records, QStringLiteral("Auto Löschen"),
               QStringLiteral("Löscht automatisch abgelaufen Datensätze "),
               &RecordList::auto_delete);
    records->addSpacing(16);
    add_button(records, QStringLiteral("Öffnen"), QStringLiteral("Öffnet eine neue Datei"),
               &RecordList::open_file);
    add_button(records, QStringLiteral("Speichern unter"),
               QStringLiteral("Speichert die Datei unter neuem Namen"), &RecordList::save_as);
    records->addStretch();
    QPushButton* ok = add_button(records, QStringLiteral("OK"),
                                 QStringLiteral("Schliesst das Fenster"), &QDialog::accept);
    ok->setAutoDefault(true);
    ok->setDefault(true);

    return records;
}

void RecordList::fill() {
    FilledRows filled = fill_rows(state_.current_file, context_.engine, sink_);
    state_.records = std::move(filled.records);
    state_.contents = std::move(filled.contents);
    state_.loaded = filled.stamp;
    state_.change = {state_.record_count(), state_.record_count()};
    model_->reset_rows(std::move(filled.rows));
    set_row_heights(0, model_->rowCount());
    rows_drawn();
}

void RecordList::set_row_heights(int first, int last) {
    const int line = table_->verticalHeader()->defaultSectionSize() - 4;
    for (int r = first; r < last; ++r) {
        const int lines = model_->rows()[std::size_t(r)].text_lines;
        // A reset gives every row the one-line height already.
        if (lines != 1 || table_->rowHeight(r) != line + 4)
            table_->setRowHeight(r, line * lines + 4);
    }
}

void RecordList::rows_drawn() {
    // The swatch shows the last row, but no row is chosen for Delete until the
    // user picks one.
    set_current_row(model_->rowCount() - 1);
    table_->clearSelection();
    current_row_ = -1;
    update_buttons();
}

void RecordList::show_changes(bool sorted) {
    const std::vector<ListRow>& shown = model_->rows();
    const RecordChange change = state_.change;
    const int before = static_cast<int>(shown.size());
    const int now = state_.record_count();
    // Where each record's row is shown: the rows hold every record of the file as it was.
    std::vector<int> shown_at(std::size_t(before), -1);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const int record = shown[i].record;
        if (record >= 1 && record <= before) shown_at[std::size_t(record - 1)] = int(i);
    }
    const std::vector<std::string> groups = group_names(context_.engine);
    const std::string file_name = state_.current_file.string();
    // Record k + 1's row, in file order: a shown one (its position) or a fresh one (-1 - j).
    std::vector<int> source(static_cast<std::size_t>(now));
    std::vector<ListRow> fresh;
    for (int k = 0; k < now; ++k) {
        const int old = k < change.same_head ? k : k - (now - before);
        const bool same = k < change.same_head || k >= now - change.same_tail;
        const int at = same && old >= 0 && old < before ? shown_at[std::size_t(old)] : -1;
        if (at >= 0) {
            source[std::size_t(k)] = at;
            continue;
        }
        fresh.push_back(row_of_content(state_.contents[std::size_t(k)], k + 1, groups,
                                       context_.engine.settings.record_color));
        expand_preview(fresh.back(), context_.engine, file_name, state_.records[std::size_t(k)].end,
                       sink_);
        source[std::size_t(k)] = -1 - int(fresh.size() - 1);
    }
    state_.change = {now, now};
    std::vector<const ListRow*> file_order;
    file_order.reserve(source.size());
    for (const int s : source)
        file_order.push_back(s >= 0 ? &shown[std::size_t(s)] : &fresh[std::size_t(-1 - s)]);
    const std::vector<std::size_t> order = sorted_order(
        file_order, sorted ? sort_column_ : 0, date_sort_->order(), date_sort_->descending());
    std::vector<int> from(order.size());
    std::vector<int> records(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        from[i] = source[order[i]];
        records[i] = int(order[i]) + 1;
    }
    const auto [first, last] = model_->rearrange_rows(from, std::move(fresh), records);
    set_row_heights(first, last);
    rows_drawn();
}

bool RecordList::any_row_selected() const { return table_->selectionModel()->hasSelection(); }

void RecordList::update_buttons() {
    if (delete_ == nullptr || undo_ == nullptr) return;
    const bool selected = any_row_selected();
    delete_->setEnabled(selected && current_row_ >= 0 && current_row_ < model_->rowCount());
    undo_->setEnabled(state_.undo && state_.undo->file == state_.current_file);
}

void RecordList::show_file(const fs::path& file) {
    if (file != state_.current_file) state_.undo.reset();
    state_.current_file = file;
    fill();
}

void RecordList::report(const WriteOutcome& outcome) {
    if (outcome.ok()) return;
    message(german_text(outcome), MessageIcon::critical);
    if (outcome.is(WriteFailure::changed_outside)) reread_and_resort();
}

void RecordList::set_current_row(int row) {
    current_row_ = row;
    if (row < 0 || row >= model_->rowCount()) return;
    QPalette palette = color_->palette();
    palette.setColor(QPalette::Window, to_qcolor(std::uint32_t(rows()[std::size_t(row)].color)));
    color_->setPalette(palette);
}

void RecordList::sort_by_column(int column) {
    if (column == 2) date_sort_->exec();
    sort_column_ = column == 7 ? 6 : column;
    if (sort_column_ == 0) return;
    BusyCursor busy;
    std::vector<ListRow> sorted = rows();
    sort_rows(sorted, sort_column_, date_sort_->order(), date_sort_->descending());
    model_->reset_rows(std::move(sorted));
    set_row_heights(0, model_->rowCount());
    rows_drawn();
}

void RecordList::reread_and_resort() {
    BusyCursor busy;
    rescan(state_, sink_);
    show_changes(sorted_view());
}

void RecordList::open_editor(int record) {
    state_.current_record = record;
    RecordEdit editor(this, context_, state_);
    editor.exec();
    // The next editor opens with them; the store gets them when the list closes.
    if (const auto& presets = editor.chosen_presets()) {
        apply_record_presets(context_.settings, *presets);
        presets_ = presets;
    }
    update_buttons();
}

void RecordList::edit_row(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    resort_ = true;
    // The row's record as the file holds it now, found by its lines.
    const int record = rows()[std::size_t(row)].record;
    const std::string content = std::size_t(record) <= state_.contents.size()
                                    ? state_.contents[std::size_t(record - 1)]
                                    : std::string();
    const std::optional<int> found =
        rescan(state_, sink_) ? find_record(state_, content, record) : std::nullopt;
    if (found) {
        open_editor(*found);
    } else {
        message("Der gewählte Datensatz steht nicht mehr unverändert in der Datei " +
                    display_name(state_.current_file) +
                    ": ein anderes Programm hat sie geändert. Die Liste wird neu geladen.",
                MessageIcon::critical);
    }
    // The editor's write counted the records anew; another program's change is read here.
    BusyCursor busy;
    rescan(state_, sink_);
    show_changes(sorted_view());
}

void RecordList::new_record() {
    // Undo belongs to this New from here on: a cancelled New leaves nothing to undo.
    state_.undo.reset();
    rescan(state_, sink_);
    open_editor(state_.record_count() + 1);
    resort_ = false;
    rescan(state_, sink_);
    show_changes(false);
}

void RecordList::message(const std::string& text, MessageIcon icon) {
    context_.services.dialogs.message(this, to_qstring(text), icon);
}

void RecordList::delete_record() {
    if (current_row_ < 0 || current_row_ >= model_->rowCount() || !any_row_selected()) return;
    BusyCursor busy;
    const WriteOutcome outcome =
        merkwald::delete_record(state_, rows()[std::size_t(current_row_)].record);
    report(outcome);
    if (outcome.is(WriteFailure::changed_outside)) return;
    // A write that failed otherwise left the file as it was.
    if (!outcome.ok()) rescan(state_, sink_);
    show_changes(sorted_view());
}

void RecordList::undo() {
    std::string text;
    bool changed_outside = false;
    const UndoResult result = undo_from_backup(state_, text, changed_outside);
    if (result == UndoResult::no_backup) message(text, MessageIcon::information);
    if (result == UndoResult::failed) message(text, MessageIcon::critical);
    state_.undo.reset();
    BusyCursor busy;
    // A restored backup was counted from its bytes; otherwise the file may have changed.
    if (result != UndoResult::restored) rescan(state_, sink_);
    show_changes(sorted_view());
}

void RecordList::auto_delete() {
    state_.undo.reset();
    const fs::path file = file_path(to_utf8(file_name_->text()));
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        message("Falscher Dateiname!", MessageIcon::critical);
        file_name_->setFocus();
        update_buttons();
        return;
    }
    if (file != state_.current_file) show_file(file);
    MoveOutcome outcome;
    {
        BusyCursor busy;
        outcome = move_expired_records(state_, context_.program_folder / kDeletedFileName,
                                       context_.engine);
        state_.undo.reset();
        fill();
    }
    if (!outcome.write.ok()) message(german_text(outcome.write), MessageIcon::critical);
    if (outcome.moved > 0) message(moved_message(outcome.moved), MessageIcon::exclamation);
}

fs::path RecordList::file_path(const std::string& name) const { return context_.resolve(name); }

QString RecordList::dialog_folder() const { return path_text(state_.current_file); }

void RecordList::open_file() {
    // A new name makes a new file, so the dialog must take one.
    const QString chosen = context_.services.dialogs.save_file_name(this, QStringLiteral("Öffnen"),
                                                                    dialog_folder(), kFilter);
    if (chosen.isEmpty()) return;
    const fs::path file = file_path(to_utf8(chosen));
    if (!create_if_missing(file)) return;
    file_name_->setText(chosen);
    show_file(file);
}

void RecordList::save_as() {
    const QString chosen = context_.services.dialogs.save_file_name(
        this, QStringLiteral("Speichern unter"), dialog_folder(), kFilter);
    if (chosen.isEmpty()) return;
    const fs::path file = file_path(to_utf8(chosen));
    const WriteOutcome copied = copy_file_safely(state_.current_file, file);
    if (!copied.ok()) {
        message(german_text(copied), MessageIcon::critical);
        return;
    }
    show_file(file);
    file_name_->setText(chosen);
}

void RecordList::show_main_file() {
    show_file(file_path(files_[0]));
    shown_->setText(to_qstring(files_[0]));
}

void RecordList::show_linked_file() {
    const int p = linked_->currentIndex();
    std::optional<std::string> name;
    if (p < 0 && files_.size() > 1 && to_utf8(linked_->currentText()) == files_[1]) {
        name = files_[1];
    } else if (p >= 0 && std::size_t(p) + 1 < files_.size()) {
        name = files_[std::size_t(p) + 1];
    }
    if (name) {
        BusyCursor busy;
        show_file(file_path(*name));
    }
    shown_->setText(path_text(state_.current_file));
}

void RecordList::add_link() {
    const QString chosen = context_.services.dialogs.open_file_name(
        this, QStringLiteral("Hinzufügen"), dialog_folder(), kFilter);
    if (chosen.isEmpty()) return;
    const std::string name = to_utf8(chosen);
    std::error_code ec;
    const fs::path main = file_path(files_[0]);
    if (equals_ignore_case(name, files_[0]) || fs::equivalent(file_path(name), main, ec)) {
        message("Datei kann nicht mit sich selbst verbunden werden!", MessageIcon::critical);
        return;
    }
    if (!fs::exists(file_path(name), ec) || files_.size() >= std::size_t(kMaxFiles)) return;
    files_.push_back(name);
    added_links_.push_back(name);
    linked_->addItem(chosen);
    linked_->setCurrentIndex(linked_->count() - 1);
    show_linked_file();
}

void RecordList::remove_link() {
    if (files_.size() < 2) return;
    const std::string text = to_utf8(linked_->currentText());
    std::size_t found = 1;
    while (found < files_.size() && files_[found] != text) ++found;
    if (found == files_.size()) return;
    const QString question =
        QStringLiteral("Verbindung mit ") + to_qstring(text) + QStringLiteral(" löschen?");
    if (context_.services.dialogs.message(this, question, MessageIcon::question,
                                          MessageButtons::ok_cancel) != MessageAnswer::ok) {
        return;
    }
    const auto added = std::find(added_links_.begin(), added_links_.end(), files_[found]);
    if (added != added_links_.end()) {
        added_links_.erase(added);
    } else {
        removed_links_.push_back(files_[found]);
    }
    files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(found));
    linked_->removeItem(static_cast<int>(found) - 1);
    if (files_.size() > 1) {
        linked_->setCurrentIndex(0);
    } else {
        linked_->setCurrentIndex(-1);
        linked_->setEditText(QStringLiteral("keine"));
        show_main_file();
    }
    show_linked_file();
}

void RecordList::take_column_widths() {
    const int dpi = logicalDpiX();
    for (std::size_t c = 0; c < kListColumns; ++c) {
        const int pixels = table_->columnWidth(static_cast<int>(c));
        columns_[c] = pixels == loaded_pixels_[c]
                          ? loaded_twips_[c]
                          : static_cast<int>(pixels * 1440.0 / dpi / width_scale_ + 0.5);
    }
}

void RecordList::write_link_changes() {
    // A file linked twice and unlinked once stays linked.
    std::vector<std::string> removed;
    for (const std::string& name : removed_links_) {
        if (std::find(files_.begin() + 1, files_.end(), name) == files_.end()) {
            removed.push_back(name);
        }
    }
    const WriteOutcome outcome = rewrite_links(file_path(files_[0]), added_links_, removed);
    if (!outcome.ok()) message(german_text(outcome), MessageIcon::critical);
}

void RecordList::done(int result) {
    if (!closed_) {
        closed_ = true;
        take_column_widths();
        date_sort_->hide();
        write_link_changes();
    }
    QDialog::done(result);
}

}  // namespace merkwald
