#pragma once
// "Ereignisse von ... bis ... anzeigen": two dates and the list of the events
// between them, drawn like the main list (see engine/range.h for what is listed).

#include <QDate>
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "engine/engine_state.h"
#include "engine/range.h"
#include "settings/settings.h"
#include "shell/platform/platform.h"
#include "shell/widgets/date_field.h"

class QPushButton;
class QTextEdit;

namespace merkwald {

struct RangeContext {
    const Settings& settings;
    // The main window's engine state (group table, place, run-long fields); the
    // window computes on a copy, so the main list stays as it is.
    const EngineState& engine_state;
    std::string main_file;
    Services services;
};

// The events of `range` as an iCalendar file written crash-safely to `file`.
// A file of the list that cannot be read leaves a calendar without its events:
// then nothing is written, as by the command-line tool. Empty when written;
// otherwise what to tell, naming the file that failed.
[[nodiscard]] QString write_range_calendar(const RangeContext& context, const DateRange& range,
                                           const QString& file, MessageSink& sink);

class RangeWindow final : public QDialog {
    Q_OBJECT
public:
    RangeWindow(RangeContext context, const QDate& today, QWidget* parent = nullptr);

    // Lists the events between the two dates; a range that ends before it starts
    // gets a message instead.
    void show_range();
    [[nodiscard]] DateField* from_field() const { return from_; }
    [[nodiscard]] DateField* to_field() const { return to_; }
    [[nodiscard]] QTextEdit* list() const { return list_; }
    [[nodiscard]] QPushButton* show_button() const { return show_; }
    // "Exportieren...": the shown list as text or rich text, or the range's
    // events as an iCalendar file.
    void export_range();

private:
    // The typed range; nothing after saying why there is none (a field that holds
    // no date, the last day before the first, a range too long).
    [[nodiscard]] std::optional<DateRange> typed_range();

    RangeContext context_;
    DateField* from_;
    DateField* to_;
    QPushButton* show_;
    QTextEdit* list_;
};

}  // namespace merkwald
