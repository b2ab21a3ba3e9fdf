// The world around the controller: inputs that toggle, analog inputs that move, servos that
// travel and inputs that follow outputs. Everything is a function of the same injected time as
// the controller, so a test that steps the time sees exactly the same values every run.
#pragma once

#include <cstdint>
#include <vector>

#include "controller.h"

namespace zel::sim {

struct Animation {
    enum class Kind {
        ToggleInput,  // input `target` flips every `periodMs`
        AnalogWave,   // analog input `target` moves low..high..low over `periodMs`
        ServoTravel,  // servo `target` travels low..high at `speed` counts/s, pausing `pauseMs`
        InputFollowsOutput,  // input `target` takes output `source`'s value `delayMs` later
        OutputFollowsInput,  // output `target` copies input `source`
        TableCount,  // data table cell (row `target`, column `source`) counts every `periodMs`
    };
    Kind kind = Kind::ToggleInput;
    int target = 1;
    int source = 1;
    int periodMs = 1000;
    int32_t low = 0;
    int32_t high = 0;
    int32_t speed = 1000;
    int pauseMs = 0;
    int delayMs = 0;
};

// Servo state bits as the servo input registers show them.
inline constexpr int32_t kServoHome = 2;
inline constexpr int32_t kServoStart = 4;
inline constexpr int32_t kServoReverseLimit = 16;
inline constexpr int32_t kServoForwardLimit = 32;

struct ServoSample {
    int32_t position = 0;
    int32_t error = 0;
    int32_t state = 0;
};

// The servo of a travel animation at `ms` after the animation started.
ServoSample servoAt(const Animation& a, int64_t ms);
// The analog value of a wave animation at `ms` after it started.
int32_t waveAt(const Animation& a, int64_t ms);

class Animator {
public:
    explicit Animator(std::vector<Animation> animations);

    void advance(int64_t nowMs, Controller& controller);

private:
    struct FollowState {
        int32_t seen = 0;
        int64_t changedAt = 0;
    };
    void follow(size_t i, int64_t nowMs, Controller& c);

    std::vector<Animation> animations_;
    std::vector<FollowState> follows_;
    int64_t startMs_ = -1;
};

}  // namespace zel::sim
