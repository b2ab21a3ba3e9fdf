// A window's stored position and size, and the conversion between stored twips and the pixels
// the forms draw in.
#pragma once

#include <QRect>

#include <cstdint>

namespace zel::settings {

inline constexpr double kTwipsPerInch = 1440.0;

// In twips, the unit every placement is stored in.
struct WindowPlacement {
    std::int32_t Top = 0;
    std::int32_t Left = 0;
    std::int32_t Height = 0;
    std::int32_t Width = 0;

    bool operator==(const WindowPlacement&) const = default;
};

enum class DisplayState { Normal, Minimized, Maximized };

// At `dpi` logical dots per inch a pixel is 1440 / dpi twips. Results are rounded to the nearest
// whole unit, halves to even, and kept inside the 32-bit range. `dpi` must be above 0.
std::int32_t pixelsToTwips(double pixels, double dpi);
int twipsToPixels(std::int32_t twips, double dpi);

WindowPlacement placementFromPixels(const QRect& geometry, double dpi);
QRect placementToPixels(const WindowPlacement& placement, double dpi);

}  // namespace zel::settings
