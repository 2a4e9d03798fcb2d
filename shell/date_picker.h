#pragma once
// A month calendar with "OK" and "Abbrechen", for the windows of this library
// (the editing tools bring their own).

#include <QDate>
#include <QDialog>
#include <optional>

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

}  // namespace merkwald
