#pragma once
// The icon in the notification area with its menu (`Popup_m`: popup()).
// Where the desktop has no notification area the menu still exists (it is what
// the tests press) but no icon is shown.

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <vector>

#include "engine/engine_state.h"

class QAction;

namespace merkwald {

// The program's own icon, the one its menu entry names ("merkwald", the light
// program "merklight"): icons/NAME.svg or the icons/NAME-SIZE.png set beside the
// data files, else the icon theme's, else one drawn here.
[[nodiscard]] QIcon program_icon(const QString& program_folder, bool light = false);
[[nodiscard]] QIcon drawn_program_icon();

// The icon's tooltip: the program's name, then the first line of the first few
// due entries, soonest first, each shortened to fit.
[[nodiscard]] QString tray_tooltip(const std::vector<LineEntry>& lines);

class TrayIcon final : public QObject {
public:
    struct Handlers {
        std::function<void()> show_main;    // double or middle click, "Merkwald anzeigen"
        std::function<void()> toggle_main;  // single left click: show or hide
        std::function<void()> end;          // "Merkwald beenden"
    };

    TrayIcon(QIcon icon, Handlers handlers, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Puts the icon into the notification area; false when there is none.
    bool load();
    // Removes the icon.
    void unload();
    // True while the icon is shown.
    [[nodiscard]] bool loaded() const { return icon_ && icon_->isVisible(); }

    [[nodiscard]] QMenu& popup() { return menu_; }
    [[nodiscard]] QAction* show_action() const { return show_; }
    [[nodiscard]] QAction* end_action() const { return end_; }
    void activate(QSystemTrayIcon::ActivationReason reason);
    void set_tooltip(const QString& text);
    // A balloon message from the icon; a click on it shows the window. False
    // without a notification area.
    bool show_message(const QString& title, const QString& body);
    [[nodiscard]] const QString& tooltip() const { return tooltip_; }

private:
    QIcon icon_image_;
    Handlers handlers_;
    QMenu menu_;
    QAction* show_ = nullptr;
    QAction* end_ = nullptr;
    QString tooltip_ = QStringLiteral("Merkwald");
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace merkwald
