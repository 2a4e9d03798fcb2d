#include "shell/widgets/date_field.h"

#include "engine/date_text.h"
#include "settings/qt_bridges.h"
#include "shell/widgets/number_fields.h"

namespace merkwald {

DateField::DateField(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    connect(this, &QLineEdit::textChanged, this, &DateField::follow_text);
}

std::optional<DaySerial> DateField::date() const { return parse_date(to_utf8(date_text())); }

QString DateField::date_text() const { return to_qstring(typed_date_text(to_utf8(text()))); }

void DateField::set_date(DaySerial day) { setText(to_qstring(format_date(day, "dd.mm.yyyy"))); }

void DateField::follow_text() {
    // An empty field is not yet wrong; the window that needs a date says so.
    mark_invalid(*this, !text().trimmed().isEmpty() && !date());
}

}  // namespace merkwald
