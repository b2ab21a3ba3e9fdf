#include "settings/window_placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zel::settings {
namespace {

// Rounds to nearest, halves to even (the default floating-point rounding mode), clamped so the
// conversion to an integer is always defined.
std::int32_t roundToInt32(double value) {
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value)) return 0;
    return static_cast<std::int32_t>(std::clamp(std::nearbyint(value), kLow, kHigh));
}

}  // namespace

std::int32_t pixelsToTwips(double pixels, double dpi) {
    return roundToInt32(pixels * kTwipsPerInch / dpi);
}

int twipsToPixels(std::int32_t twips, double dpi) {
    return roundToInt32(twips * dpi / kTwipsPerInch);
}

WindowPlacement placementFromPixels(const QRect& geometry, double dpi) {
    return {pixelsToTwips(geometry.y(), dpi), pixelsToTwips(geometry.x(), dpi),
            pixelsToTwips(geometry.height(), dpi), pixelsToTwips(geometry.width(), dpi)};
}

QRect placementToPixels(const WindowPlacement& placement, double dpi) {
    return {twipsToPixels(placement.Left, dpi), twipsToPixels(placement.Top, dpi),
            twipsToPixels(placement.Width, dpi), twipsToPixels(placement.Height, dpi)};
}

QRect PlacedWindow::place(const WindowPlacement& placement, double dpi) {
    placement_ = placement;
    geometry_ = placementToPixels(placement, dpi);
    dpi_ = dpi;
    return geometry_;
}

WindowPlacement PlacedWindow::placementOf(const QRect& geometry, double dpi) const {
    WindowPlacement current = placementFromPixels(geometry, dpi);
    if (dpi != dpi_) return current;
    if (geometry.y() == geometry_.y()) current.Top = placement_.Top;
    if (geometry.x() == geometry_.x()) current.Left = placement_.Left;
    if (geometry.height() == geometry_.height()) current.Height = placement_.Height;
    if (geometry.width() == geometry_.width()) current.Width = placement_.Width;
    return current;
}

}  // namespace zel::settings
