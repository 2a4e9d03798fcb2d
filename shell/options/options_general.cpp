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
#include "editing/publish/caldav_settings.h"
#include "editing/publish/password_source.h"
#include "settings/qt_bridges.h"
#include "shell/options/options_name_days.h"
#include "shell/publish/publish_prompts.h"

namespace merkwald {

GeneralOptionsPage::GeneralOptionsPage(Settings& settings, Services services, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      services_(services),
      digest_box_(new QCheckBox(QStringLiteral("Heutige Ereignisse als Benachrichtigung"), this)),
      state_combo_(new QComboBox(this)),
      feed_edit_(new QLineEdit(this)),
      feed_button_(new QPushButton(QStringLiteral("..."), this)),
      caldav_url_edit_(new QLineEdit(this)),
      caldav_user_edit_(new QLineEdit(this)),
      caldav_fingerprint_edit_(new QLineEdit(this)),
      caldav_password_button_(new QPushButton(QStringLiteral("&Passwort..."), this)) {
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
    add_caldav(*layout);
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

void GeneralOptionsPage::add_caldav(QVBoxLayout& layout) {
    caldav_url_edit_->setObjectName(QStringLiteral("TextCalDAV"));
    caldav_user_edit_->setObjectName(QStringLiteral("TextCalDAVUser"));
    caldav_fingerprint_edit_->setObjectName(QStringLiteral("TextCalDAVFingerprint"));
    caldav_password_button_->setObjectName(QStringLiteral("CommandCalDAVPassword"));
    caldav_url_edit_->setToolTip(QStringLiteral(
        "Die Adresse des Kalenders auf dem Server; nach einer Aktualisierung, die die Ereignisse "
        "geändert hat, werden die nächsten 365 Tage dorthin abgeglichen (leer: keiner)"));
    caldav_fingerprint_edit_->setToolTip(QStringLiteral(
        "Der SHA-256-Fingerabdruck des einen Zertifikats, dem vertraut wird, obwohl das System "
        "es nicht kennt (leer: nur dem System bekannte)"));
    caldav_password_button_->setToolTip(
        QStringLiteral("Legt das Passwort im Schlüsselbund des Desktops ab"));
    caldav_url_edit_->setText(to_qstring(settings_.caldav_url));
    caldav_user_edit_->setText(to_qstring(settings_.caldav_user));
    caldav_fingerprint_edit_->setText(to_qstring(settings_.caldav_fingerprint));

    layout.addSpacing(6);
    auto* grid = new QGridLayout;
    const auto add_row = [&](int row, const QString& text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    add_row(0, QStringLiteral("CalDAV-&Kalender (Adresse):"), caldav_url_edit_);
    add_row(1, QStringLiteral("&Benutzername:"), caldav_user_edit_);
    add_row(2, QStringLiteral("&Zertifikat (SHA-256):"), caldav_fingerprint_edit_);
    grid->addWidget(caldav_password_button_, 3, 1, Qt::AlignLeft);
    layout.addLayout(grid);

    connect(caldav_url_edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_.caldav_url = to_utf8(text.trimmed()); });
    connect(caldav_user_edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { settings_.caldav_user = to_utf8(text.trimmed()); });
    connect(caldav_fingerprint_edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString normal = normalise_fingerprint(text);
        settings_.caldav_fingerprint = to_utf8(normal.isEmpty() ? text.trimmed() : normal);
    });
    connect(caldav_password_button_, &QPushButton::clicked, this,
            &GeneralOptionsPage::store_password);
}

void GeneralOptionsPage::store_password() {
    const std::optional<CalDavTarget> target = caldav_target(settings_);
    if (!target) {
        services_.dialogs.message(this, caldav_problem_text(check_caldav(settings_)),
                                  MessageIcon::exclamation);
        return;
    }
    const std::optional<QString> password =
        ask_caldav_password(services_.dialogs, this, password_account(*target));
    if (!password) return;
    auto* keychain = new KeychainPasswords(this);
    keychain->store(password_account(*target), *password, [this, keychain](QString error) {
        keychain->deleteLater();
        if (error.isEmpty()) return;
        services_.dialogs.message(
            this,
            QStringLiteral("Der Schlüsselbund hat das Passwort nicht angenommen (%1). Merkwald "
                           "fragt danach einmal je Start und behält es nur im Speicher.")
                .arg(error),
            MessageIcon::exclamation);
    });
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
