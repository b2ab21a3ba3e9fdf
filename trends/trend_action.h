// The "Add to Trend" action of a row or cell: in its context menu, and Ctrl+T while it has the
// focus. Every window that shows controller values offers it the same way.
#pragma once

#include <functional>
#include <optional>

#include "trends/trend_item.h"

class QWidget;

namespace zel {

using TrendSink = std::function<void(const TrendItem&)>;
// What the row or cell holds when the action runs; none when it holds nothing to trend, which
// shows the action disabled.
using TrendItemSource = std::function<std::optional<TrendItem>()>;

// Gives `target` the action. Its context menu lists the target's actions, this one and those
// added later; a text box keeps its own edit menu above them.
void addTrendAction(QWidget* target, TrendItemSource item, TrendSink add);

}  // namespace zel
