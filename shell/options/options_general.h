#pragma once
// The options dialog's page "Allgemein": the digest notification, the state
// whose legal days off are shown, the calendar feed file; and the summer-time
// box "automatisch" of the astronomy page. Each control writes into the edited
// settings at once; the dialog hands them back on "OK".
//
// objectName -> member: `allgemein` GeneralOptionsPage, `CheckDigest` digest_box,
// `ComboState` state_combo, `TextFeed` feed_edit, `CommandFeed` feed_button,
// `CheckSommerAuto` (astronomy page) the summer-time box "automatisch".

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

namespace merkwald {

class GeneralOptionsPage final : public QWidget {
    Q_OBJECT
public:
    GeneralOptionsPage(Settings& settings, Services services, QWidget* parent = nullptr);

    [[nodiscard]] QCheckBox* digest_box() const { return digest_box_; }
    [[nodiscard]] QComboBox* state_combo() const { return state_combo_; }
    [[nodiscard]] QLineEdit* feed_edit() const { return feed_edit_; }

    // "OK": the feed field's name, with ".ics" when it has no extension, into the
    // field and the settings; the German reason when the feed may not write that file.
    [[nodiscard]] std::optional<QString> take_feed(const FeedGuard& guard);

private:
    void browse_feed();

    Settings& settings_;
    Services services_;
    QCheckBox* digest_box_;
    QComboBox* state_combo_;
    QLineEdit* feed_edit_;
    QPushButton* feed_button_;
};

// Adds "automatisch" beside the manual summer-time box in `row` of the astronomy
// page's grid; while it is on, the manual box is disabled.
QCheckBox* add_summer_time_auto(QGridLayout& grid, int row, QCheckBox& manual_box,
                                Settings& settings);

}  // namespace merkwald
