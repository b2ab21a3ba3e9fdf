// The colour a model gives a state text, by name; the forms draw it in the shade that reads on
// the desktop's colours (common/text_colours.h).
#pragma once

namespace zel {

// Black is the text colour of the control's palette.
enum class StateColour { Black, Green, Red };

}  // namespace zel
