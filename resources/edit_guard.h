// The edit guard of a window's value boxes. The first key typed into a box claims its row: the
// box is emptied for the new entry and the polling tick leaves that row alone until Enter has
// written it or the box has lost the focus.
#pragma once

#include <QString>

#include "common/key_codes.h"

namespace zel {

enum class EntryKey {
    Typed,      // goes into the box
    Enter,      // consumed; the window writes the row
    FocusGoto,  // consumed; the GoTo box gets the focus
};

class EditGuard {
public:
    // `gotoKeys`: the letters that send the focus from a value box to the GoTo box.
    explicit EditGuard(QString gotoKeys = {}) : gotoKeys_(std::move(gotoKeys)) {}

    // A key typed into the box of `row`, whose text is `box`.
    EntryKey key(int row, QChar key, QString& box);
    // The Delete key empties the box and claims the row whatever its state.
    void deleteKey(int row, QString& box);
    // The box left: an entry not written is dropped, so the tick shows the controller's value.
    void focusLost(QString& box);
    // After Enter has written the row.
    void release() { active_ = false; }

    bool skips(int row) const { return active_ && row_ == row; }
    bool active() const { return active_; }
    int row() const { return row_; }
    // The flag itself, for a GoTo box that shares it as its "started" flag.
    bool& activeFlag() { return active_; }

private:
    QString gotoKeys_;
    bool active_ = false;
    int row_ = 0;
};

}  // namespace zel
