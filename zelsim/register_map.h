// The controller's register numbers and what each one stands for.
#pragma once

namespace zel::sim {

inline constexpr int kRegisterLimit = 40000;
inline constexpr int kFirstNvRegister = 32001;
inline constexpr int kFirstVRegister = 36001;

inline constexpr int kOutputBase = 1000;
inline constexpr int kInputBase = 2000;
inline constexpr int kAnalogOutBase = 8000;
inline constexpr int kAnalogInBase = 8500;
inline constexpr int kFlagWord = 13005;
inline constexpr int kModelCodeRegister = 13008;
inline constexpr int kClockLatch = 13013;
inline constexpr int kClockSeconds = 13014;
inline constexpr int kClockDayOfWeek = 13020;
inline constexpr int kFlagWordsBase = 13021;
inline constexpr int kFlagSetBase = 13200;
inline constexpr int kServoPositionBase = 14000;
inline constexpr int kServoErrorBase = 14100;
inline constexpr int kServoStateBase = 14700;

inline constexpr int kNetNode = 20000;
inline constexpr int kNetMacHigh = 20005;
inline constexpr int kNetMacLow = 20006;
inline constexpr int kNetIp = 20048;
inline constexpr int kNetMask = 20064;
inline constexpr int kNetGateway = 20080;
inline constexpr int kNetLoad = 20096;

enum class RegKind {
    Illegal,
    Plain,
    Output,
    Input,
    AnalogOut,
    AnalogIn,
    FlagWord,   // 13005: flags 1..32
    FlagWords,  // 13021..: 32 flags each when there are more than 32
    FlagSet,    // 13200 + n: writes set flag n
    ModelCode,
    ClockLatch,
    Clock,
    ServoPosition,
    ServoError,
    ServoState,
    NetAddress,  // node and address octets
    NetMac,
    NetLoad,
};

struct RegRef {
    RegKind kind = RegKind::Illegal;
    int index = 0;  // resource number (1-based) or word index (0-based) where the kind has one
};

RegRef classifyRegister(int number);

// True for kinds whose value the outside world sets; a write through the protocol is refused.
bool isReadOnly(RegKind kind);

}  // namespace zel::sim
