#pragma once
// The date field of every window: the text stays as typed (no section editing
// that turns "01.01.2027" into another day), read with the program's date
// forms (d.m.yyyy, dd.mm.yy, yyyy-mm-dd, digits without dots). While its text
// is no date the field is marked, and its date is nothing.

#include <QLineEdit>
#include <optional>

#include "calendar/date_serial.h"

namespace merkwald {

class DateField final : public QLineEdit {
public:
    explicit DateField(QWidget* parent = nullptr);

    // The typed date; nothing while the text is empty or no date.
    [[nodiscard]] std::optional<DaySerial> date() const;
    // The text with the dots of a date typed without them ("07031970" gives
    // "07.03.1970"), else as typed: what the windows write or parse further.
    [[nodiscard]] QString date_text() const;
    // Shows `day` as "dd.mm.yyyy".
    void set_date(DaySerial day);

private:
    void follow_text();
};

}  // namespace merkwald
