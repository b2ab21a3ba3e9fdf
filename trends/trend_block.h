// The trended set's part of the polling tick: it runs whether or not the windows showing the
// values are open, reads each trended value, keeps the sample and, while logging, writes the
// tick's line. A value a window also shows is fetched once: the tick's reads are shared (see
// app/tick_read_cache.h), so the block runs after the windows and takes what they read.
#pragma once

#include <QStringList>

#include "link/poll_block.h"
#include "trends/trend_log.h"
#include "trends/trend_set.h"

namespace zel {

class TrendBlock : public PollBlock {
public:
    // After every window's place in the tick.
    static constexpr int kTickPlace = 1000;

    TrendBlock(TrendSet& set, TrendLog& log) : set_(set), log_(log) {}

    // Starts logging the whole set into `path`.
    bool startLogging(const QString& path);

    // PollBlock: runs while anything is trended.
    bool isOpen() const override { return !set_.empty(); }
    void refresh(PollContext& context) override;

private:
    TrendSet& set_;
    TrendLog& log_;
};

}  // namespace zel
