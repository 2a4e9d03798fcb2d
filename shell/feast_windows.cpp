#include "shell/feast_windows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "calendar/feasts.h"
#include "engine/number.h"
#include "shell/window_helpers.h"

namespace merkwald {

int year_of_field(const QString& text) {
    const double year = std::floor(leading_value(utf8(text)));
    // Far outside the lists' years either way; keeps the conversion defined.
    if (!(std::abs(year) < 1e6)) return 0;
    return int(year);
}

FeastListWindow::FeastListWindow(const QString& caption, Lines lines, int current_year,
                                 QWidget* parent)
    : QDialog(parent),
      lines_(std::move(lines)),
      text1_(new QLineEdit(this)),
      list1_(new QListWidget(this)),
      back_(new QPushButton(QStringLiteral("Zurück"), this)) {
    setWindowTitle(caption);
    text1_->setObjectName(QStringLiteral("Text1"));
    list1_->setObjectName(QStringLiteral("List1"));
    back_->setObjectName(QStringLiteral("Command1"));
    text1_->setMaximumWidth(text1_->fontMetrics().horizontalAdvance(u'0') * 8 + 16);
    auto* label = new QLabel(QStringLiteral("&Jahr:"), this);
    label->setBuddy(text1_);
    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(text1_);
    top->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(back_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list1_, 1);
    layout->addLayout(bottom);
    connect(text1_, &QLineEdit::textChanged, this, &FeastListWindow::fill_list);
    connect(back_, &QPushButton::clicked, this, &QDialog::accept);
    resize(list1_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 62, 440);
    text1_->setText(QString::number(current_year));
    centre_on_screen(*this);
}

void FeastListWindow::fill_list(const QString& text) {
    list1_->clear();
    for (const std::string& line : lines_(year_of_field(text))) list1_->addItem(qstr(line));
}

QStringList FeastListWindow::lines() const {
    QStringList result;
    for (int i = 0; i < list1_->count(); ++i) result << list1_->item(i)->text();
    return result;
}

Calc1::Calc1(int current_year, QWidget* parent)
    : FeastListWindow(QStringLiteral("Berechnung von Feiertagen"), &holiday_list_lines,
                      current_year, parent) {
    setObjectName(QStringLiteral("Calc1"));
}

Calc2::Calc2(int current_year, QWidget* parent)
    : FeastListWindow(QStringLiteral("Kirchliche Sonn- und Feiertage berechnen (evang.)"),
                      &church_year_lines, current_year, parent) {
    setObjectName(QStringLiteral("Calc2"));
    text1()->setToolTip(QStringLiteral(
        "Bei Eingabe eines Jahres zwischen 1900 und 2099 erfolgt automatische Berechnung"));
}

}  // namespace merkwald
