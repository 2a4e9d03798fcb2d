#include "shell/calendar/feast_windows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "calendar/feasts.h"
#include "engine/number.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

int year_of_field(const QString& text) {
    const double year = std::floor(leading_value(to_utf8(text)));
    // Far outside the lists' years either way; keeps the conversion defined.
    if (!(std::abs(year) < 1e6)) return 0;
    return int(year);
}

FeastListWindow::FeastListWindow(const QString& caption, Lines lines, int current_year,
                                 QWidget* parent)
    : QDialog(parent),
      lines_(std::move(lines)),
      year_edit_(new QLineEdit(this)),
      feast_list_(new QListWidget(this)),
      back_(new QPushButton(QStringLiteral("Zurück"), this)) {
    setWindowTitle(caption);
    year_edit_->setObjectName(QStringLiteral("Text1"));
    feast_list_->setObjectName(QStringLiteral("List1"));
    back_->setObjectName(QStringLiteral("Command1"));
    year_edit_->setMaximumWidth(year_edit_->fontMetrics().horizontalAdvance(u'0') * 8 + 16);
    auto* label = new QLabel(QStringLiteral("&Jahr:"), this);
    label->setBuddy(year_edit_);
    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(year_edit_);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(back_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(feast_list_, 1);
    layout->addLayout(bottom);
    connect(year_edit_, &QLineEdit::textChanged, this, &FeastListWindow::fill_list);
    connect(back_, &QPushButton::clicked, this, &QDialog::accept);
    year_edit_->setText(QString::number(current_year));
    // Tall enough for a year's lines without scrolling, as far as the screen allows.
    const int rows = std::max(feast_list_->count(), 1);
    int wanted = feast_list_->sizeHintForRow(0) * rows + 2 * feast_list_->frameWidth() + 2;
    if (const QScreen* shown_on = screen())
        wanted = std::min(wanted, shown_on->availableGeometry().height() * 3 / 4);
    feast_list_->setMinimumHeight(wanted);
    resize(feast_list_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 62,
           sizeHint().height());
    feast_list_->setMinimumHeight(0);
    centre_on_screen(*this);
}

void FeastListWindow::fill_list(const QString& text) {
    feast_list_->clear();
    for (const std::string& line : lines_(year_of_field(text)))
        feast_list_->addItem(to_qstring(line));
}

QStringList FeastListWindow::lines() const {
    QStringList result;
    for (int i = 0; i < feast_list_->count(); ++i) result << feast_list_->item(i)->text();
    return result;
}

HolidayListWindow::HolidayListWindow(int current_year, QWidget* parent)
    : FeastListWindow(QStringLiteral("Berechnung von Feiertagen"), &holiday_list_lines,
                      current_year, parent) {
    setObjectName(QStringLiteral("Calc1"));
}

ChurchYearWindow::ChurchYearWindow(int current_year, QWidget* parent)
    : FeastListWindow(QStringLiteral("Kirchliche Sonn- und Feiertage berechnen (evang.)"),
                      &church_year_lines, current_year, parent) {
    setObjectName(QStringLiteral("Calc2"));
    year_edit()->setToolTip(QStringLiteral(
        "Bei Eingabe eines Jahres zwischen 1900 und 2099 erfolgt automatische Berechnung"));
}

}  // namespace merkwald
