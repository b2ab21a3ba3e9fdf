// One polling tick with both custom screens open, sixteen rows of mixed kinds each, against
// the simulator: as a ratio to (round trips in the tick x one round trip), and the share of the
// tick spent letting events run.
#pragma once

#include <QString>

namespace zel::bench {

// Prints the figure; false when the simulator could not be reached or a screen could not be
// set up as intended.
bool benchCustomScreenTicks(const QString& profile, int rounds, int ticksPerRound);

}  // namespace zel::bench
