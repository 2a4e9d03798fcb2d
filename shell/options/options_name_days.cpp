#include "shell/options/options_name_days.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>

#include "settings/name_day_setting.h"
#include "settings/qt_bridges.h"

namespace merkwald {

QComboBox* add_name_day_choice(QBoxLayout& layout, Settings& settings, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("ComboNameDays"));
    combo->setToolTip(
        QStringLiteral("Namenstage aus der mitgelieferten Tabelle: keine, die der Vornamen in "
                       "den Geburtstagen, oder alle Namen des Tages dazu"));
    const NameDayChoice chosen = name_day_choice(settings);
    for (const auto& row : kNameDayChoices) {
        combo->addItem(to_qstring(row.text));
        if (row.choice == chosen) combo->setCurrentIndex(combo->count() - 1);
    }
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [&settings](int index) {
        if (index >= 0 && index < int(kNameDayChoices.size()))
            settings.name_days = std::string(kNameDayChoices[std::size_t(index)].text);
    });

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Namenstage anzeigen:"), parent);
    label->setBuddy(combo);
    row->addWidget(label);
    row->addWidget(combo, 1);
    layout.addSpacing(6);
    layout.addLayout(row);
    return combo;
}

}  // namespace merkwald
