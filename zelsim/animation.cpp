#include "animation.h"

#include <algorithm>
#include <cstdlib>
#include <span>

namespace zel::sim {

int32_t waveAt(const Animation& a, int64_t ms) {
    const int64_t period = std::max(a.periodMs, 2);
    const int64_t half = period / 2;
    const int64_t phase = ms % period;
    const int64_t up = phase < half ? phase : period - phase;  // 0..half..0
    return static_cast<int32_t>(a.low + (int64_t{a.high} - a.low) * up / half);
}

ServoSample servoAt(const Animation& a, int64_t ms) {
    const int64_t distance = std::llabs(int64_t{a.high} - a.low);
    const int64_t speed = std::max<int64_t>(a.speed, 1);
    const int64_t travelMs = std::max<int64_t>(distance * 1000 / speed, 1);
    const int64_t leg = travelMs + a.pauseMs;
    const int64_t phase = ms % (2 * leg);
    const bool outward = phase < leg;
    const int64_t inLeg = outward ? phase : phase - leg;
    const int32_t from = outward ? a.low : a.high;
    const int32_t to = outward ? a.high : a.low;
    if (inLeg >= travelMs) {
        return {to, 0, outward ? kServoForwardLimit : kServoHome | kServoReverseLimit};
    }
    const int64_t pos = from + (int64_t{to} - from) * inLeg / travelMs;
    const int32_t lag = static_cast<int32_t>(std::max<int64_t>(speed / 50, 1));
    return {static_cast<int32_t>(pos), to > from ? lag : -lag, kServoStart};
}

Animator::Animator(std::vector<Animation> animations)
    : animations_(std::move(animations)), follows_(animations_.size()) {}

void Animator::advance(int64_t nowMs, Controller& c) {
    if (startMs_ < 0) startMs_ = nowMs;
    const int64_t t = nowMs - startMs_;
    for (size_t i = 0; i < animations_.size(); ++i) {
        const Animation& a = animations_[i];
        switch (a.kind) {
            case Animation::Kind::ToggleInput:
                c.presetRegister(kInputBase + a.target, (t / std::max(a.periodMs, 1)) % 2);
                break;
            case Animation::Kind::AnalogWave:
                c.presetRegister(kAnalogInBase + a.target, waveAt(a, t));
                break;
            case Animation::Kind::ServoTravel: {
                const ServoSample s = servoAt(a, t);
                c.presetRegister(kServoPositionBase + a.target, s.position);
                c.presetRegister(kServoErrorBase + a.target, s.error);
                c.presetRegister(kServoStateBase + a.target, s.state);
                break;
            }
            case Animation::Kind::TableCount: {
                const auto count = static_cast<uint16_t>(t / std::max(a.periodMs, 1));
                c.table().write(a.target, a.source, std::span<const uint16_t>(&count, 1));
                break;
            }
            default:
                follow(i, nowMs, c);
        }
    }
}

void Animator::follow(size_t i, int64_t nowMs, Controller& c) {
    const Animation& a = animations_[i];
    if (a.kind == Animation::Kind::OutputFollowsInput) {
        const auto in = c.getRegister(kInputBase + a.source);
        if (in.ok()) c.presetRegister(kOutputBase + a.target, in.value != 0 ? 1 : 0);
        return;
    }
    const auto out = c.getRegister(kOutputBase + a.source);
    if (!out.ok()) return;
    FollowState& f = follows_[i];
    if (out.value != f.seen) {
        f.seen = out.value;
        f.changedAt = nowMs;
    }
    if (nowMs - f.changedAt >= a.delayMs) c.presetRegister(kInputBase + a.target, f.seen);
}

}  // namespace zel::sim
