// A push button whose text shows a state's colour: a digital output's On and Off.
#pragma once

#include <QPushButton>

#include "common/state_colour.h"

namespace zel {

// Only the text takes the state's colour; the button itself is drawn with the palette it
// inherits. A palette of its own would be a new one at every change of state, and the style
// keys its cached images of a button by palette, so each change would leave another set of
// them in the pixmap cache.
class StateButton : public QPushButton {
public:
    using QPushButton::QPushButton;

    void setState(StateColour colour);
    StateColour state() const { return state_; }
    // The colour its text is drawn in: the state's, chosen to read on the inherited palette.
    QColor textColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StateColour state_ = StateColour::Black;
};

}  // namespace zel
