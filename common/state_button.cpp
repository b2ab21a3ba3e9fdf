#include "common/state_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include "common/text_colours.h"

namespace zel {

void StateButton::setState(StateColour colour) {
    if (colour == state_) return;
    state_ = colour;
    update();
}

QColor StateButton::textColour() const {
    return stateColour(state_, palette(), foregroundRole(), backgroundRole());
}

// The style draws the button without its text, then the text alone in the state's colour.
void StateButton::paintEvent(QPaintEvent* event) {
    if (state_ == StateColour::Black) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    QStyleOptionButton label = option;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    label.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &label, this);
    label.palette.setColor(foregroundRole(), textColour());
    painter.drawControl(QStyle::CE_PushButtonLabel, label);
}

}  // namespace zel
