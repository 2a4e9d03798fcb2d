#pragma once
// The date picker `Datumseingabe` (its month calendar `Calendar1`) with "OK"
// and "Abbrechen", for every window that offers a calendar button.

#include <QDate>
#include <QDialog>
#include <optional>

#include "calendar/date_serial.h"

class QCalendarWidget;

namespace merkwald {

class DatePicker final : public QDialog {
    Q_OBJECT
public:
    DatePicker(const QDate& preset, QWidget* parent = nullptr);
    [[nodiscard]] QCalendarWidget* calendar() const { return calendar_; }
    [[nodiscard]] QDate date() const;

private:
    QCalendarWidget* calendar_;
};

// Shows the picker modally; the chosen date, or nothing when cancelled.
[[nodiscard]] std::optional<QDate> pick_date(QWidget* parent, const QDate& preset);
[[nodiscard]] std::optional<DaySerial> pick_date(QWidget* parent, DaySerial preset);

}  // namespace merkwald
