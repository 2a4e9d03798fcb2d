#pragma once
// The date picker, the date sort choice of the record list and the look-ahead
// days of the main window's toolbar.

#include <QDate>
#include <QDialog>
#include <optional>

#include "calendar/date_serial.h"
#include "editors/record_rows.h"

class QCalendarWidget;
class QLineEdit;
class QRadioButton;

namespace merkwald {

[[nodiscard]] QDate to_qdate(DaySerial serial);
[[nodiscard]] DaySerial to_day_serial(const QDate& date);

class Datumseingabe final : public QDialog {
    Q_OBJECT
public:
    Datumseingabe(QWidget* parent, DaySerial picker_date);
    [[nodiscard]] bool confirmed() const { return confirmed_; }
    [[nodiscard]] DaySerial date() const;
    [[nodiscard]] QCalendarWidget* calendar() const { return calendar_; }

    // Shows the picker modally; the picked date, or nothing when cancelled.
    [[nodiscard]] static std::optional<DaySerial> pick(QWidget* parent, DaySerial preset);

private:
    QCalendarWidget* calendar_;
    bool confirmed_ = false;
};

// Lives as long as the record list, so that it offers the choice made before.
class SelectDateSort final : public QDialog {
    Q_OBJECT
public:
    explicit SelectDateSort(QWidget* parent);
    [[nodiscard]] DateOrder order() const;
    [[nodiscard]] bool descending() const;
    void set_choice(DateOrder order, bool descending);

private:
    QRadioButton* day_;
    QRadioButton* month_;
    QRadioButton* year_;
    QRadioButton* down_;
    QRadioButton* up_;
};

// -1 for an empty field (normal lead times); otherwise the whole number at the
// start of the text, 0 when there is none.
[[nodiscard]] int parse_lead_override(const QString& text);

class GlobalActiveSet final : public QDialog {
    Q_OBJECT
public:
    // `current` is shown when it is greater than 0.
    GlobalActiveSet(QWidget* parent, int current);
    [[nodiscard]] int lead_override() const { return override_; }
    [[nodiscard]] QLineEdit* days_field() const { return days_; }

    // Shows the dialog modally and answers the override (-1: none).
    [[nodiscard]] static int ask(QWidget* parent, int current);

private:
    void confirm();
    QLineEdit* days_;
    int override_ = -1;
};

}  // namespace merkwald
