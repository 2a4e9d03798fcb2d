// The range window's export: the shown list, or the range's events as iCalendar.

#include <QDateTime>
#include <QDir>
#include <QStringList>
#include <QTextEdit>

#include "engine/icalendar.h"
#include "engine/occurrences.h"
#include "engine/range.h"
#include "engine/safe_rewrite.h"
#include "settings/qt_bridges.h"
#include "shell/calendar/range_window.h"
#include "shell/output/export.h"

namespace merkwald {

namespace {

const QString kIcsFilter = QStringLiteral("iCalendar (*.ics)");
const QString kTextFilter = QStringLiteral("Text Dateien (*.txt)");
const QString kRtfFilter = QStringLiteral("RTF-Dateien (*.rtf)");

}  // namespace

QString write_range_calendar(const RangeContext& context, const DateRange& range,
                             const QString& file, MessageSink& sink) {
    EngineState state = context.engine_state;
    state.settings = to_engine_settings(context.settings);
    const OccurrenceList list = collect_occurrences(state, context.main_file, range, sink);
    if (!list.failed_names.empty()) {
        QStringList names;
        for (const std::string& name : list.failed_names)
            names << QDir::toNativeSeparators(path_text(state.resolve(name).lexically_normal()));
        return (names.size() == 1
                    ? QStringLiteral("Der Kalender wurde nicht geschrieben, denn "
                                     "diese Datei konnte nicht gelesen werden:\n%1")
                    : QStringLiteral("Der Kalender wurde nicht geschrieben, denn "
                                     "diese Dateien konnten nicht gelesen werden:\n%1"))
            .arg(names.join(u'\n'));
    }
    const QDateTime now = context.services.clock.now();
    const std::string text = icalendar_text(list.events, utc_from_unix(now.toSecsSinceEpoch()));
    if (!write_file_safely(to_path(file), text).ok()) return not_written_text(file);
    return {};
}

void RangeWindow::export_range() {
    const auto range = typed_range();
    if (!range) return;
    Dialogs& dialogs = context_.services.dialogs;
    // Said before a file name is chosen: a range too long for a calendar can still
    // be exported as the shown list.
    const bool calendar_fits = range->to - range->from + 1 <= kMaxCalendarDays;
    if (!calendar_fits) {
        dialogs.message(this,
                        QStringLiteral("Ein Kalender umfasst höchstens %1 Tage; dieser Zeitraum "
                                       "lässt sich als Text oder RTF exportieren.")
                            .arg(kMaxCalendarDays),
                        MessageIcon::information);
    }
    const QString list_filters = kTextFilter + QStringLiteral(";;") + kRtfFilter;
    QString file = dialogs.save_file_name(
        this, QStringLiteral("Ereignisse exportieren"), QDir::homePath(),
        calendar_fits ? kIcsFilter + QStringLiteral(";;") + list_filters : list_filters);
    if (file.isEmpty()) return;
    // A calendar is what this export is mostly for.
    file = with_default_extension(file, QLatin1StringView(calendar_fits ? ".ics" : ".txt"));
    if (has_extension(file, u"ics")) {
        if (range->to - range->from + 1 > kMaxCalendarDays) {
            dialogs.message(
                this,
                QStringLiteral("Ein Kalender umfasst höchstens %1 Tage.").arg(kMaxCalendarDays),
                MessageIcon::exclamation);
            return;
        }
        DialogSink sink(dialogs, this);
        const QString failure = write_range_calendar(context_, *range, file, sink);
        if (!failure.isEmpty()) dialogs.message(this, failure, MessageIcon::critical);
        return;
    }
    const QColor background = to_qcolor(std::uint32_t(context_.settings.background_color));
    if (!export_list(*list_->document(), background, file, export_format(file)))
        dialogs.message(this, not_written_text(file), MessageIcon::critical);
}

}  // namespace merkwald
