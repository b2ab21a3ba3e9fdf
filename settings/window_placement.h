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

// The placement a window was put at, kept beside the pixels it was drawn at: whole pixels cannot
// hold every twips value (1008 twips are 67.2 pixels at 96 dpi, which read back as 1005), so a
// window that closes where it was put must store the twips it was given, not the pixels' twips.
class PlacedWindow {
public:
    // The geometry to draw `placement` at; remembered with it.
    QRect place(const WindowPlacement& placement, double dpi);
    // The placement of `geometry`: each of top, left, height and width that is still as placed
    // keeps the twips it was given; the others are converted.
    WindowPlacement placementOf(const QRect& geometry, double dpi) const;

private:
    WindowPlacement placement_;
    QRect geometry_;
    double dpi_ = 0;  // 0 while nothing was placed
};

}  // namespace zel::settings
