#pragma once
// Window lengths are stored in twips (1/1440 inch); the screen's logical DPI
// turns them into pixels.

#include <QList>
#include <QRect>
#include <cstdint>
#include <optional>

class QWidget;

namespace merkwald {

struct Settings;

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDefaultWidthTwips = 8430;
inline constexpr int kDefaultHeightTwips = 6180;

enum class StoredWindowState : std::int32_t { normal = 0, minimised = 1, maximised = 2 };

[[nodiscard]] int twips_to_pixels(std::int32_t twips, double dpi);
[[nodiscard]] std::int32_t pixels_to_twips(int pixels, double dpi);

// The placement as stored: position (when stored) and size, in twips.
struct Placement {
    StoredWindowState state = StoredWindowState::normal;
    std::optional<std::int32_t> left, top;
    std::int32_t width = kDefaultWidthTwips, height = kDefaultHeightTwips;
};

[[nodiscard]] Placement placement_of(const Settings& settings);
void store_placement(Settings& settings, const Placement& placement);

// Sizes and applies the placement to a window not yet shown; without a stored
// position the window is centred on its screen. The state is applied when shown.
void apply_geometry(QWidget& window, const Placement& placement);
// The window's current position and size in twips.
[[nodiscard]] Placement current_geometry(const QWidget& window, StoredWindowState state);

// Where a window of `frame` (pixels) goes so that its title strip can be
// reached on one of the screens' `areas`: where it is when it can, else moved
// just far enough into the area nearest to it.
[[nodiscard]] QPoint pulled_onto(const QRect& frame, const QList<QRect>& areas);

[[nodiscard]] QSize twips_size(const QWidget& window, std::int32_t width, std::int32_t height);

}  // namespace merkwald
