#include "shell/calendar/range_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <exception>

#include "engine/range.h"
#include "shell/main/day_timers.h"
#include "shell/main/list_render.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

constexpr int kDefaultRangeDays = 30;

DateField* date_field(DaySerial date, QWidget* parent, const char* name) {
    auto* field = new DateField(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->set_date(date);
    return field;
}

}  // namespace

RangeWindow::RangeWindow(RangeContext context, const QDate& today, QWidget* parent)
    : QDialog(parent),
      context_(std::move(context)),
      from_(date_field(to_day_serial(today), this, "FromDate")),
      to_(date_field(to_day_serial(today) + kDefaultRangeDays, this, "TillDate")),
      show_(new QPushButton(QStringLiteral("&Anzeigen"), this)),
      list_(new QTextEdit(this)) {
    setObjectName(QStringLiteral("FromTill"));
    setWindowTitle(QStringLiteral("Ereignisse von ... bis ... anzeigen"));
    list_->setObjectName(QStringLiteral("RangeList"));
    list_->setReadOnly(true);
    list_->setAccessibleName(QStringLiteral("Ereignisse im Zeitraum"));
    from_->setToolTip(QStringLiteral("Erster Tag des Zeitraums"));
    to_->setToolTip(QStringLiteral("Letzter Tag des Zeitraums (eingeschlossen)"));
    show_->setDefault(true);
    auto* back = new QPushButton(QStringLiteral("Zurück"), this);
    auto* top = new QHBoxLayout;
    auto* from_label = new QLabel(QStringLiteral("Ereignisse &von"), this);
    from_label->setBuddy(from_);
    auto* to_label = new QLabel(QStringLiteral("&bis"), this);
    to_label->setBuddy(to_);
    top->addWidget(from_label);
    top->addWidget(from_);
    top->addWidget(to_label);
    top->addWidget(to_);
    top->addWidget(show_);
    top->addStretch(1);
    auto* export_button = new QPushButton(QStringLiteral("E&xportieren..."), this);
    export_button->setObjectName(QStringLiteral("ExportButton"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(export_button);
    bottom->addStretch(1);
    bottom->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list_, 1);
    layout->addLayout(bottom);
    // "Zurück" was made first; Tab reads the bottom row from the left.
    setTabOrder(list_, export_button);
    setTabOrder(export_button, back);
    connect(show_, &QPushButton::clicked, this, &RangeWindow::show_range);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    connect(export_button, &QPushButton::clicked, this, &RangeWindow::export_range);
    keep_default_button(*this, *show_);
    resize(640, 480);
    centre_on_screen(*this);
    show_range();
    from_->setFocus();
}

std::optional<DateRange> RangeWindow::typed_range() {
    const auto say = [this](const QString& reason, DateField* field) {
        context_.services.dialogs.message(this, reason, MessageIcon::exclamation);
        field->setFocus();
        field->selectAll();
    };
    // The calendar windows' years: feasts and holidays start with 1901.
    static const DaySerial earliest = *make_date(1901, 1, 1);
    for (DateField* field : {from_, to_}) {
        if (!field->date() || *field->date() < earliest) {
            say(QStringLiteral("Falsches Datum: bitte als T.M.JJJJ, TT.MM.JJ oder JJJJ-MM-TT "
                               "eingeben."),
                field);
            return std::nullopt;
        }
    }
    const DaySerial from = *from_->date(), to = *to_->date();
    const auto range = make_range(from, to);
    if (!range) {
        say(to < from ? QStringLiteral("Der letzte Tag liegt vor dem ersten Tag.")
                      : QStringLiteral("Der Zeitraum ist länger als %1 Tage.").arg(kMaxRangeDays),
            to_);
    }
    return range;
}

void RangeWindow::show_range() {
    const auto range = typed_range();
    if (!range) return;
    const Settings& s = context_.settings;
    try {
        EngineState state = context_.engine_state;
        state.settings = to_engine_settings(s);
        RefreshTables tables;
        DialogSink sink(context_.services.dialogs, this);
        refresh_range(state, tables, context_.main_file, *range, sink);
        if (!tables.read_ok) return;
        render_list(*list_,
                    compose_range_list(state, sort_by_group(state, tables), list_style(s), *range),
                    list_look(s));
    } catch (const std::exception&) {
        context_.services.dialogs.message(
            this, QStringLiteral("Fehler in show_range bitte Autor benachrichtigen"),
            MessageIcon::critical);
    }
}

}  // namespace merkwald
