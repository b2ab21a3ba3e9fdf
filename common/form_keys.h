// What a window's key and focus events mean to its model, the same in every form: a key is
// handed on as the character it types, Enter as 13; a focus loss counts as leaving the box.
// Needs QtGui's events, hence the GUI helpers' library.
#pragma once

#include <QChar>
#include <optional>

class QEvent;
class QKeyEvent;

namespace zel {

// The character a key press types into a box: a printable character, Backspace (8), or Enter
// as 13. Keys that move the focus, close a window or move the cursor (Tab, Shift+Tab, Escape,
// arrows, Delete) and control shortcuts (copy, paste) type nothing, so they give none.
std::optional<QChar> typedKey(const QKeyEvent& event);
bool isDeleteKey(const QKeyEvent& event);
// A focus loss that counts as leaving the box; window switches and menus opening do not.
bool leavesBox(const QEvent& event);

}  // namespace zel
