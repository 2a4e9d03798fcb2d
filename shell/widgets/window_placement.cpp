#include "shell/widgets/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "settings/settings.h"

namespace merkwald {
namespace {

double dpi_x(const QWidget& w) { return w.logicalDpiX() > 0 ? w.logicalDpiX() : 96.0; }
double dpi_y(const QWidget& w) { return w.logicalDpiY() > 0 ? w.logicalDpiY() : 96.0; }

}  // namespace

int twips_to_pixels(std::int32_t twips, double dpi) {
    return int(std::lround(double(twips) * dpi / kTwipsPerInch));
}

std::int32_t pixels_to_twips(int pixels, double dpi) {
    return std::int32_t(std::lround(double(pixels) * kTwipsPerInch / dpi));
}

Placement placement_of(const Settings& settings) {
    Placement p;
    const auto state = settings.window_state;
    p.state = state == 1   ? StoredWindowState::minimised
              : state == 2 ? StoredWindowState::maximised
                           : StoredWindowState::normal;
    p.left = settings.window_left;
    p.top = settings.window_top;
    p.width = settings.window_width;
    p.height = settings.window_height;
    return p;
}

void store_placement(Settings& settings, const Placement& placement) {
    settings.window_state = std::int32_t(placement.state);
    settings.window_left = placement.left;
    settings.window_top = placement.top;
    settings.window_width = placement.width;
    settings.window_height = placement.height;
}

QSize twips_size(const QWidget& window, std::int32_t width, std::int32_t height) {
    return {twips_to_pixels(width, dpi_x(window)), twips_to_pixels(height, dpi_y(window))};
}

void apply_geometry(QWidget& window, const Placement& placement) {
    window.resize(twips_size(window, placement.width, placement.height));
    if (placement.left && placement.top) {
        // A screen unplugged since, or a smaller one, must not keep the window away.
        QList<QRect> areas;
        for (const QScreen* screen : QGuiApplication::screens())
            areas << screen->availableGeometry();
        const QRect frame(twips_to_pixels(*placement.left, dpi_x(window)),
                          twips_to_pixels(*placement.top, dpi_y(window)), window.width(),
                          window.height());
        window.move(pulled_onto(frame, areas));
        return;
    }
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = window.size();
        int left = area.left() + (area.width() - size.width()) / 2;
        int top = area.top() + (area.height() - size.height()) / 2;
        if (placement.left) left = twips_to_pixels(*placement.left, dpi_x(window));
        if (placement.top) top = twips_to_pixels(*placement.top, dpi_y(window));
        window.move(left, top);
    }
}

QPoint pulled_onto(const QRect& frame, const QList<QRect>& areas) {
    if (areas.isEmpty()) return frame.topLeft();
    constexpr int kStrip = 24, kGrip = 48;
    const QRect strip(frame.left(), frame.top(), frame.width(), kStrip);
    for (const QRect& area : areas) {
        const QRect seen = area.intersected(strip);
        if (seen.width() >= std::min(kGrip, frame.width()) && seen.height() >= kStrip / 2 &&
            frame.top() >= area.top())
            return frame.topLeft();
    }
    const auto distance = [&frame](const QRect& area) {
        const QPoint d = area.center() - frame.center();
        return std::hypot(double(d.x()), double(d.y()));
    };
    const QRect best = *std::min_element(
        areas.begin(), areas.end(),
        [&](const QRect& a, const QRect& b) { return distance(a) < distance(b); });
    const int left = std::clamp(frame.left(), best.left(),
                                std::max(best.left(), best.right() + 1 - frame.width()));
    const int top = std::clamp(frame.top(), best.top(),
                               std::max(best.top(), best.bottom() + 1 - frame.height()));
    return {left, top};
}

Placement current_geometry(const QWidget& window, StoredWindowState state) {
    Placement p;
    p.state = state;
    p.left = pixels_to_twips(window.x(), dpi_x(window));
    p.top = pixels_to_twips(window.y(), dpi_y(window));
    p.width = pixels_to_twips(window.width(), dpi_x(window));
    p.height = pixels_to_twips(window.height(), dpi_y(window));
    return p;
}

}  // namespace merkwald
