#include "editors/records/small_dialogs.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

#include "engine/number.h"
#include "shell/widgets/number_fields.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

SelectDateSort::SelectDateSort(QWidget* parent)
    : QDialog(parent),
      day_(new QRadioButton(QStringLiteral("Tag"))),
      month_(new QRadioButton(QStringLiteral("Monat"))),
      year_(new QRadioButton(QStringLiteral("Jahr"))),
      down_(new QRadioButton(QStringLiteral("Abwärts"))),
      up_(new QRadioButton(QStringLiteral("Aufwärts"))) {
    setWindowTitle(QStringLiteral("Sortierung für Datum auswählen"));
    year_->setChecked(true);
    up_->setChecked(true);

    auto* by = new QGroupBox(QStringLiteral("Sortierung nach"));
    auto* by_layout = new QVBoxLayout(by);
    for (QRadioButton* b : {day_, month_, year_}) by_layout->addWidget(b);
    auto* direction = new QGroupBox(QStringLiteral("Richtung"));
    auto* direction_layout = new QVBoxLayout(direction);
    for (QRadioButton* b : {down_, up_}) direction_layout->addWidget(b);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* frames = new QHBoxLayout;
    frames->addWidget(by);
    frames->addWidget(direction);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    layout->addLayout(row);
    keep_default_button(*this, *ok);
    // The frames alone are narrower than the caption: leave room for it and the
    // title bar's buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 140);
}

DateOrder SelectDateSort::order() const {
    if (day_->isChecked()) return DateOrder::day;
    if (month_->isChecked()) return DateOrder::month;
    return DateOrder::year;
}

bool SelectDateSort::descending() const { return down_->isChecked(); }

void SelectDateSort::set_choice(DateOrder order, bool descending) {
    (order == DateOrder::day ? day_ : order == DateOrder::month ? month_ : year_)->setChecked(true);
    (descending ? down_ : up_)->setChecked(true);
}

int parse_lead_override(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), std::size_t(utf8.size()));
    if (view.find_first_not_of(' ') == std::string_view::npos) return -1;
    const double value = leading_value(view);
    // Far beyond any lead time; the cut keeps the conversion defined.
    constexpr double limit = std::numeric_limits<std::int16_t>::max();
    if (value >= limit) return static_cast<int>(limit);
    if (value <= -limit) return -1;
    return static_cast<int>(value);
}

GlobalActiveSet::GlobalActiveSet(QWidget* parent, int current)
    : QDialog(parent), days_(new QLineEdit) {
    setWindowTitle(QStringLiteral("Tage"));
    if (current > 0) days_->setText(QString::number(current));
    days_->setToolTip(QStringLiteral("Termine in den nächsten ... Tagen anzeigen"));
    accept_whole_numbers(*days_, 0, std::numeric_limits<std::int16_t>::max());

    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* normal = new QPushButton(QStringLiteral("normal"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &GlobalActiveSet::confirm);
    connect(normal, &QPushButton::clicked, this, [this] {
        override_ = -1;
        reject();
    });

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Termine in den nächsten ... Tagen anzeigen:"));
    label->setBuddy(days_);
    layout->addWidget(label);
    layout->addWidget(days_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(normal);
    layout->addLayout(row);
    keep_default_button(*this, *ok);
}

void GlobalActiveSet::confirm() {
    override_ = parse_lead_override(days_->text());
    accept();
}

int GlobalActiveSet::ask(QWidget* parent, int current) {
    GlobalActiveSet dialog(parent, current);
    dialog.exec();
    return dialog.lead_override();
}

}  // namespace merkwald
