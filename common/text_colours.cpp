#include "common/text_colours.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

#include "common/state_button.h"

namespace zel {
namespace {

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

struct Shades {
    QColor onLight;
    QColor onDark;
};

Shades shadesOf(StateColour colour) {
    if (colour == StateColour::Green) return {QColor(0, 128, 0), QColor(80, 220, 80)};
    return {QColor(255, 0, 0), QColor(255, 110, 110)};
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor stateColour(StateColour colour, const QPalette& palette, QPalette::ColorRole text,
                   QPalette::ColorRole background) {
    if (colour == StateColour::Black) return palette.color(text);
    const QColor behind = palette.color(background);
    const Shades shades = shadesOf(colour);
    return contrastRatio(shades.onLight, behind) >= contrastRatio(shades.onDark, behind)
               ? shades.onLight
               : shades.onDark;
}

QColor dimmedText(const QPalette& palette, QPalette::ColorRole text,
                  QPalette::ColorRole background) {
    const QColor a = palette.color(text);
    const QColor b = palette.color(background);
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

void showStateColour(QWidget& widget, StateColour colour) {
    if (auto* button = dynamic_cast<StateButton*>(&widget)) {
        button->setState(colour);
        return;
    }
    QPalette own;
    if (colour != StateColour::Black)
        own.setColor(widget.foregroundRole(),
                     stateColour(colour, widget.palette(), widget.foregroundRole(),
                                 widget.backgroundRole()));
    widget.setPalette(own);
}

}  // namespace zel
