// What kind of controller is simulated: model code, architecture value and resource counts.
#pragma once

namespace zel::sim {

struct IoCounts {
    int flags = 0;
    int inputs = 0;
    int outputs = 0;
    int steppers = 0;
    int servos = 0;
    int analogIns = 0;
    int analogOuts = 0;
};

struct MiscCounts {
    int protoBoards = 0;
    int hsCounters = 0;
    int thumbwheels = 0;
    int displays = 0;
};

struct ModelInfo {
    int code = 5;
    int second = 1;  // non-zero: block (EA) architecture
    bool blockReads = true;  // false: an older model, which does not know register range reads
    IoCounts io;
    MiscCounts misc;
};

// Upper limits of each count; they follow from the register map.
inline constexpr int kMaxFlags = 256;
inline constexpr int kMaxDigital = 999;
inline constexpr int kMaxAnalog = 256;
inline constexpr int kMaxServos = 99;

// Tasks a controller of the given model code runs.
int taskCountForModel(int code);

// Model code 5 keeps doubles in the registers from 36001 (the V-registers).
inline bool hasVRegisters(int code) {
    return code == 5;
}

}  // namespace zel::sim
