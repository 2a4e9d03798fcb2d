#pragma once
// The options dialog's page "Allgemein": the digest notification, the state
// whose legal days off are shown, the calendar feed file, the CalDAV calendar
// (address, user, accepted certificate; the password goes to the secret store
// at once, never into the settings); and the summer-time
// box "automatisch" of the astronomy page. Each control writes into the edited
// settings at once; the dialog hands them back on "OK".
//
// objectName -> member: `allgemein` GeneralOptionsPage, `CheckDigest` digest_box,
// `ComboState` state_combo, `TextFeed` feed_edit, `CommandFeed` feed_button,
// `TextCalDAV` caldav_url_edit, `TextCalDAVUser` caldav_user_edit,
// `TextCalDAVFingerprint` caldav_fingerprint_edit, `CommandCalDAVPassword` the
// password button, `CheckSommerAuto` (astronomy page) the summer-time box "automatisch".

#include <QWidget>
#include <optional>

#include "engine/feed_target.h"
#include "settings/settings.h"
#include "shell/platform/platform.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace merkwald {

class GeneralOptionsPage final : public QWidget {
    Q_OBJECT
public:
    GeneralOptionsPage(Settings& settings, Services services, QWidget* parent = nullptr);

    [[nodiscard]] QCheckBox* digest_box() const { return digest_box_; }
    [[nodiscard]] QComboBox* state_combo() const { return state_combo_; }
    [[nodiscard]] QLineEdit* feed_edit() const { return feed_edit_; }
    [[nodiscard]] QLineEdit* caldav_url_edit() const { return caldav_url_edit_; }
    [[nodiscard]] QLineEdit* caldav_user_edit() const { return caldav_user_edit_; }
    [[nodiscard]] QLineEdit* caldav_fingerprint_edit() const { return caldav_fingerprint_edit_; }

    // "OK": the feed field's name, with ".ics" when it has no extension, into the
    // field and the settings; the German reason when the feed may not write that file.
    [[nodiscard]] std::optional<QString> take_feed(const FeedGuard& guard);

private:
    void browse_feed();
    void add_caldav(QVBoxLayout& layout);
    void store_password();

    Settings& settings_;
    Services services_;
    QCheckBox* digest_box_;
    QComboBox* state_combo_;
    QLineEdit* feed_edit_;
    QPushButton* feed_button_;
    QLineEdit* caldav_url_edit_;
    QLineEdit* caldav_user_edit_;
    QLineEdit* caldav_fingerprint_edit_;
    QPushButton* caldav_password_button_;
};

// Adds "automatisch" beside the manual summer-time box in `row` of the astronomy
// page's grid; while it is on, the manual box is disabled.
QCheckBox* add_summer_time_auto(QGridLayout& grid, int row, QCheckBox& manual_box,
                                Settings& settings);

}  // namespace merkwald
