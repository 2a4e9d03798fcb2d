#include "shell/tray/tray.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "settings/program_folder.h"
#include "shell/calendar/moon_picture.h"
#include "shell/main/list_render.h"

namespace merkwald {

QIcon drawn_program_icon() {
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(34, 85, 51));
        p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
        // A waxing moon over the dark green of the wood.
        p.drawImage(QRectF(size * 0.18, size * 0.18, size * 0.64, size * 0.64), draw_moon(8, size));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon program_icon(const QString& program_folder, bool light) {
    const QString base = light ? QStringLiteral("merklight") : QStringLiteral("merkwald");
    for (const QString& name : {QStringLiteral("icons/") + base + QStringLiteral(".svg"),
                                base + QStringLiteral(".svg")}) {
        const QString file = program_file(program_folder, name);
        if (!QFileInfo::exists(file)) continue;
        QIcon icon(file);
        if (!icon.pixmap(32, 32).isNull()) return icon;
    }
    // Without the SVG image plugin the pictures of the same icon still load.
    QIcon pictures;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("icons/%1-%2.png").arg(base).arg(size);
        const QString file = program_file(program_folder, name);
        if (QFileInfo::exists(file)) pictures.addFile(file, QSize(size, size));
    }
    if (!pictures.availableSizes().isEmpty()) return pictures;
    return QIcon::fromTheme(base, drawn_program_icon());
}

TrayIcon::TrayIcon(QIcon icon, Handlers handlers, QObject* parent)
    : QObject(parent), icon_image_(std::move(icon)), handlers_(std::move(handlers)) {
    menu_.setTitle(QStringLiteral("Popup"));
    show_ = menu_.addAction(QStringLiteral("Merkwald anzeigen"));
    menu_.addSeparator();
    end_ = menu_.addAction(QStringLiteral("Merkwald beenden"));
    connect(show_, &QAction::triggered, this, [this] {
        if (handlers_.show_main) handlers_.show_main();
    });
    connect(end_, &QAction::triggered, this, [this] {
        if (handlers_.end) handlers_.end();
    });
}

TrayIcon::~TrayIcon() { unload(); }

bool TrayIcon::load() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(icon_image_);
        icon_->setToolTip(tooltip_);
        icon_->setContextMenu(&menu_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &TrayIcon::activate);
        // Every message the icon shows is one of ours: a click on it opens the window.
        connect(icon_.get(), &QSystemTrayIcon::messageClicked, this, [this] {
            if (handlers_.show_main) handlers_.show_main();
        });
    }
    icon_->show();
    return true;
}

void TrayIcon::unload() {
    if (icon_) icon_->hide();
}

void TrayIcon::activate(QSystemTrayIcon::ActivationReason reason) {
    // The notification hosts of current desktops send single clicks only. A double
    // click, where a host still sends one, follows its first click's toggle and
    // leaves the window shown. The context menu opens by itself on a right click.
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            if (handlers_.toggle_main) handlers_.toggle_main();
            break;
        case QSystemTrayIcon::DoubleClick:
        case QSystemTrayIcon::MiddleClick:
            if (handlers_.show_main) handlers_.show_main();
            break;
        default:
            break;
    }
}

void TrayIcon::set_tooltip(const QString& text) {
    // Each change goes out to the notification host: a refresh that changed
    // nothing sends nothing.
    if (text == tooltip_) return;
    tooltip_ = text;
    if (icon_) icon_->setToolTip(tooltip_);
}

bool TrayIcon::show_message(const QString& title, const QString& body) {
    if (!loaded()) return false;
    icon_->showMessage(title, body, icon_image_);
    return true;
}

QString tray_tooltip(const std::vector<LineEntry>& lines) {
    constexpr qsizetype kShownEntries = 5;
    constexpr qsizetype kLineLength = 60;
    std::vector<std::pair<DaySerial, QString>> entries;
    for (const LineEntry& line : lines) {
        QString first = entry_headline(line, kLineLength);
        if (!first.isEmpty()) entries.emplace_back(line.sort_date, std::move(first));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QString tip = QStringLiteral("Merkwald");
    if (entries.empty()) return tip + QStringLiteral("\nNichts fällig");
    const qsizetype total = qsizetype(entries.size());
    for (qsizetype i = 0; i < total && i < kShownEntries; ++i)
        tip += u'\n' + entries[std::size_t(i)].second;
    return tip + more_entries_text(total, kShownEntries);
}

}  // namespace merkwald
