#include "shell/platform/toolbar_icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <array>

namespace merkwald {

namespace {

struct IconLook {
    const char* key;
    const char* theme;  // freedesktop.org icon name
    const char* mark;   // the drawn picture's text
    QRgb colour;
};

constexpr std::array<IconLook, 13> kIcons = {{
    {"open", "document-open", "\xE2\x96\xB8", 0xFFC08A1E},
    {"export", "document-save-as", "\xE2\x86\x97", 0xFF2E7D32},
    {"print", "document-print", "Dr", 0xFF455A64},
    {"geb-ein", "contact-new", "G", 0xFFC2185B},
    {"geb-imp", "document-import", "G\xE2\x86\x93", 0xFFAD1457},
    {"Termin", "appointment-new", "T", 0xFF1565C0},
    {"dat-ein", "document-new", "+", 0xFF00838F},
    {"list", "view-list-details", "\xE2\x89\xA1", 0xFF00695C},
    {"feiertag", "x-office-calendar", "31", 0xFFD84315},
    {"astro", "weather-clear", "\xE2\x98\xBC", 0xFFF9A825},
    {"next", "go-next", "\xC2\xBB", 0xFF6A1B9A},
    {"options", "preferences-system", "\xE2\x9A\x99", 0xFF546E7A},
    {"help", "help-contents", "?", 0xFF283593},
}};

const IconLook* look_of(const QString& key) {
    for (const IconLook& look : kIcons)
        if (key == QLatin1String(look.key)) return &look;
    return nullptr;
}

// A disabled button's picture: the same in grey, faded.
QColor face_colour(const IconLook& look, bool disabled) {
    const QColor colour = QColor::fromRgba(look.colour);
    if (!disabled) return colour;
    const int grey = qGray(colour.rgb());
    return QColor(grey, grey, grey, 110);
}

void paint_look(QPainter& painter, const IconLook& look, const QRect& rect, bool disabled) {
    const int size = std::min(rect.width(), rect.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(rect.x() + 0.5, rect.y() + 0.5, size - 1.0, size - 1.0);
    QPainterPath path;
    path.addRoundedRect(frame, size / 5.0, size / 5.0);
    painter.fillPath(path, face_colour(look, disabled));
    painter.setPen(disabled ? QColor(255, 255, 255, 160) : QColor(Qt::white));
    QFont font = painter.font();
    const QString mark = QString::fromUtf8(look.mark);
    font.setBold(true);
    font.setPixelSize(mark.size() > 1 ? size * 9 / 20 : size * 13 / 20);
    painter.setFont(font);
    painter.drawText(frame, Qt::AlignCenter, mark);
    painter.restore();
}

// Paints the picture when and at the size it is needed: drawing every size of
// every button up front cost a quarter of the start-up.
class DrawnIconEngine final : public QIconEngine {
public:
    explicit DrawnIconEngine(const IconLook& look) : look_(look) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        paint_look(*painter, look_, rect, mode == QIcon::Disabled);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new DrawnIconEngine(look_); }

private:
    const IconLook& look_;
};

}  // namespace

QIcon drawn_icon(const QString& key) {
    const IconLook* look = look_of(key);
    if (!look) return {};
    return QIcon(new DrawnIconEngine(*look));
}

QIcon toolbar_icon(const QString& key) {
    const IconLook* look = look_of(key);
    if (!look) return {};
    return QIcon::fromTheme(QString::fromLatin1(look->theme), drawn_icon(key));
}

}  // namespace merkwald
