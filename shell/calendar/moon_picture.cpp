#include "shell/calendar/moon_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace merkwald {
namespace {

// The angle between sun and moon as seen from the earth, 0 at new moon.
double phase_angle(int index) {
    return 2 * std::numbers::pi * (std::clamp(index, 1, kMoonPictures) - 1) / kMoonPictures;
}

// The lit part of a disc of radius r centred at the origin, waxing (lit on the right).
QPainterPath lit_part(double r, double angle) {
    const double terminator = r * std::cos(angle);  // >0: crescent, <0: gibbous
    QPainterPath path;
    path.moveTo(0, -r);
    path.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 90, -180);  // right limb, top to bottom
    const double w = std::abs(terminator);
    // Back from the bottom to the top along the terminator's half ellipse.
    path.arcTo(QRectF(-w, -r, 2 * w, 2 * r), 270, terminator > 0 ? 180 : -180);
    path.closeSubpath();
    return path;
}

}  // namespace

double lit_fraction(int index) { return (1 - std::cos(phase_angle(index))) / 2; }

QImage draw_moon(int index, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double r = size / 2.0 - 1;
    p.translate(size / 2.0, size / 2.0);
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(QColor(45, 45, 60));
    p.drawEllipse(QPointF(0, 0), r, r);
    const double angle = phase_angle(index);
    if (lit_fraction(index) > 0.001) {
        // The waning moon is the waxing one mirrored.
        if (angle > std::numbers::pi) p.scale(-1, 1);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(245, 235, 190));
        p.drawPath(lit_part(r - 0.5, angle));
    }
    return image;
}

QString moon_phase_name(int index) {
    const int i = std::clamp(index, 1, kMoonPictures);
    if (i == 1) return QStringLiteral("Neumond");
    if (i < 8) return QStringLiteral("zunehmende Sichel");
    if (i == 8) return QStringLiteral("erstes Viertel");
    if (i < 15) return QStringLiteral("zunehmender Mond");
    if (i == 15) return QStringLiteral("Vollmond");
    if (i < 22) return QStringLiteral("abnehmender Mond");
    if (i == 22) return QStringLiteral("letztes Viertel");
    return QStringLiteral("abnehmende Sichel");
}

MoonPicture::MoonPicture(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TranslucentBackground);
    // A picture without words: a screen reader says what it shows.
    setAccessibleName(QStringLiteral("Mondphase"));
}

void MoonPicture::set_index(int index) {
    if (index == index_) return;
    index_ = index;
    const QString phase = moon_phase_name(index);
    setAccessibleDescription(phase);
    setToolTip(QStringLiteral("Mondphase: ") + phase);
    update();
}

void MoonPicture::paintEvent(QPaintEvent*) {
    if (index_ == 0) return;
    QPainter p(this);
    p.drawImage(0, 0, draw_moon(index_, std::min(width(), height())));
}

}  // namespace merkwald
