// The pattern every window's block of the polling tick follows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "link/poll_block.h"

namespace zel {

// Runs `readRow` for rows 0..count-1, letting pending events run after every fourth one;
// stops when the block's window closes or the link goes meanwhile. Returns the first row not
// reached (count after a full pass). The caller draws the window once, afterwards: drawing
// between rows would make every pause for events repaint the window.
int pollRows(PollContext& context, const PollBlock& block, int count,
             const std::function<void(int)>& readRow);

// The value of one register read during a tick; nothing when the read failed.
std::optional<int32_t> readRegister(PollContext& context, int32_t number);

}  // namespace zel
