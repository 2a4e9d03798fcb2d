// The holiday window's list of a state's legal days off.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "settings/qt_bridges.h"
#include "shell/calendar/feast_windows.h"

namespace merkwald {

void HolidayListWindow::show_state_days(State state) {
    if (state_list_) return;
    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    if (!layout) return;
    state_list_ = new QListWidget(this);
    state_list_->setObjectName(QStringLiteral("List2"));
    auto* label = new QLabel(
        QStringLiteral("Gesetzliche Feiertage in %1:").arg(to_qstring(state_name(state))), this);
    label->setBuddy(state_list_);
    // Below the feast list, above the button row.
    const int at = layout->count() - 1;
    layout->insertWidget(at, label);
    layout->insertWidget(at + 1, state_list_, 1);
    const auto fill = [this, state](const QString& text) {
        state_list_->clear();
        for (const std::string& line : legal_holiday_lines(year_of_field(text), state))
            state_list_->addItem(to_qstring(line));
    };
    connect(year_edit(), &QLineEdit::textChanged, this, fill);
    fill(year_edit()->text());
}

}  // namespace merkwald
