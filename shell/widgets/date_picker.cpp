#include "shell/widgets/date_picker.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/qt_bridges.h"

namespace merkwald {

DatePicker::DatePicker(const QDate& preset, QWidget* parent)
    : QDialog(parent), calendar_(new QCalendarWidget(this)) {
    setObjectName(QStringLiteral("Datumseingabe"));
    setWindowTitle(QStringLiteral("Datum auswählen"));
    calendar_->setObjectName(QStringLiteral("Calendar1"));
    calendar_->setLocale(QLocale(QLocale::German, QLocale::Germany));
    calendar_->setFirstDayOfWeek(Qt::Monday);
    calendar_->setGridVisible(true);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setSelectedDate(preset);
    calendar_->setMinimumWidth(calendar_->fontMetrics().horizontalAdvance(QStringLiteral("Mo.")) *
                               12);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A double click on a day is the quick way to confirm it.
    connect(calendar_, &QCalendarWidget::activated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calendar_);
    layout->addWidget(buttons);
}

QDate DatePicker::date() const { return calendar_->selectedDate(); }

std::optional<QDate> pick_date(QWidget* parent, const QDate& preset) {
    DatePicker picker(preset, parent);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.date();
}

std::optional<DaySerial> pick_date(QWidget* parent, DaySerial preset) {
    const std::optional<QDate> chosen = pick_date(parent, to_qdate(preset));
    if (!chosen) return std::nullopt;
    return to_day_serial(*chosen);
}

}  // namespace merkwald
