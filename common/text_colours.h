// The colours texts are drawn in, taken from the palette so that they read on a dark desktop
// as on a light one.
#pragma once

#include <QColor>
#include <QPalette>

#include "common/state_colour.h"

class QWidget;

namespace zel {

// The contrast of two colours as the web's accessibility guidelines define it: from 1 (the
// same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// A state's colour for text in role `text` over role `background` of the palette: black is
// the palette's own text colour; green and red are the darker or the lighter of two shades,
// whichever stands out more from the background.
QColor stateColour(StateColour colour, const QPalette& palette, QPalette::ColorRole text,
                   QPalette::ColorRole background);
// Text of something switched off: halfway between the text colour and its background.
QColor dimmedText(const QPalette& palette, QPalette::ColorRole text,
                  QPalette::ColorRole background);
// Draws the widget's text in the state's colour. Black hands the text colour back to the
// palette the widget inherits, so it follows any later change of the desktop's colours. A
// StateButton takes the state; any other widget a palette of its own, which suits labels and
// boxes (their styles cache no images by palette) and buttons that seldom change.
void showStateColour(QWidget& widget, StateColour colour);

}  // namespace zel
