#include "shell/options/options_general.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "calendar/state_holidays.h"
#include "settings/qt_bridges.h"
#include "shell/options/options_name_days.h"

namespace merkwald {

GeneralOptionsPage::GeneralOptionsPage(Settings& settings, Services services, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      services_(services),
      digest_box_(new QCheckBox(QStringLiteral("Heutige Ereignisse als Benachrichtigung"), this)),
      state_combo_(new QComboBox(this)),
      feed_edit_(new QLineEdit(this)),
      feed_button_(new QPushButton(QStringLiteral("..."), this)) {
    setObjectName(QStringLiteral("allgemein"));
    digest_box_->setObjectName(QStringLiteral("CheckDigest"));
    state_combo_->setObjectName(QStringLiteral("ComboState"));
    feed_edit_->setObjectName(QStringLiteral("TextFeed"));
    feed_button_->setObjectName(QStringLiteral("CommandFeed"));
    digest_box_->setToolTip(QStringLiteral(
        "Beim Start und beim Tageswechsel die Ereignisse des Tages in einer Benachrichtigung"));
    feed_edit_->setToolTip(
        QStringLiteral("Die nächsten 365 Tage, nach einer Aktualisierung neu geschrieben, wenn "
                       "sich etwas geändert hat (leer: keine)"));
    feed_button_->setToolTip(QStringLiteral("Datei auswählen"));
    feed_button_->setAccessibleName(QStringLiteral("Kalender-Abo auswählen"));

    state_combo_->addItem(QStringLiteral("keines"), QString());
    for (int i = 0; i < kStateCount; ++i) {
        const auto state = State(i);
        state_combo_->addItem(to_qstring(state_name(state)) + QStringLiteral(" (") +
                                  to_qstring(state_code(state)) + u')',
                              to_qstring(state_code(state)));
    }
    const auto chosen = state_from_code(settings_.state);
    state_combo_->setCurrentIndex(chosen ? int(*chosen) + 1 : 0);
    digest_box_->setChecked(settings_.digest_notification);
    feed_edit_->setText(to_qstring(settings_.calendar_feed));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(digest_box_);
    layout->addSpacing(6);
    auto* state_row = new QHBoxLayout;
    auto* state_label = new QLabel(QStringLiteral("Bundesland:"), this);
    state_label->setBuddy(state_combo_);
    state_row->addWidget(state_label);
    state_row->addWidget(state_combo_, 1);
    layout->addLayout(state_row);
    layout->addSpacing(6);
    auto* feed_label = new QLabel(QStringLiteral("Kalender-Abo (iCalendar-Datei):"), this);
    feed_label->setBuddy(feed_edit_);
    layout->addWidget(feed_label);
    auto* feed_row = new QHBoxLayout;
    feed_row->addWidget(feed_edit_, 1);
    feed_row->addWidget(feed_button_);
    layout->addLayout(feed_row);
    add_name_day_choice(*layout, settings_, this);
    layout->addStretch(1);

    connect(digest_box_, &QCheckBox::toggled, this,
            [this](bool on) { settings_.digest_notification = on; });
    connect(state_combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings_.state = to_utf8(state_combo_->itemData(index).toString());
    });
    connect(feed_edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_.calendar_feed = to_utf8(text.trimmed()); });
    connect(feed_button_, &QPushButton::clicked, this, &GeneralOptionsPage::browse_feed);
}

void GeneralOptionsPage::browse_feed() {
    const QString file =
        services_.dialogs.save_file_name(this, QStringLiteral("Kalender-Abo speichern unter"),
                                         QDir::homePath(), QStringLiteral("iCalendar (*.ics)"));
    if (!file.isEmpty()) feed_edit_->setText(to_qstring(with_feed_extension(to_utf8(file))));
}

std::optional<QString> GeneralOptionsPage::take_feed(const FeedGuard& guard) {
    const std::string name = with_feed_extension(to_utf8(feed_edit_->text().trimmed()));
    feed_edit_->setText(to_qstring(name));
    settings_.calendar_feed = name;
    if (name.empty()) return std::nullopt;
    const FeedTarget target = check_feed_target(name, guard);
    if (target.refusal == FeedRefusal::none) return std::nullopt;
    return QStringLiteral("Das Kalender-Abo kann nicht nach %1 geschrieben werden. %2")
        .arg(QDir::toNativeSeparators(path_text(target.file)),
             to_qstring(feed_refusal_text(target.refusal)));
}

QCheckBox* add_summer_time_auto(QGridLayout& grid, int row, QCheckBox& manual_box,
                                Settings& settings) {
    auto* box = new QCheckBox(QStringLiteral("automatisch"), manual_box.parentWidget());
    box->setObjectName(QStringLiteral("CheckSommerAuto"));
    box->setToolTip(QStringLiteral("Die Sommerzeit an jedem Tag nach der Zeitzone des Systems"));
    box->setChecked(settings.daylight_saving_auto);
    manual_box.setEnabled(!settings.daylight_saving_auto);
    QObject::connect(box, &QCheckBox::toggled, box, [&settings, &manual_box](bool on) {
        settings.daylight_saving_auto = on;
        manual_box.setEnabled(!on);
    });
    grid.addWidget(box, row, 2);
    return box;
}

}  // namespace merkwald
