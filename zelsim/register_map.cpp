#include "register_map.h"

#include <initializer_list>

#include "model.h"

namespace zel::sim {
namespace {

bool within(int n, int base, int count) {
    return n > base && n <= base + count;
}

RegRef classifyIo(int n) {
    if (within(n, kOutputBase, kMaxDigital)) return {RegKind::Output, n - kOutputBase};
    if (within(n, kInputBase, kMaxDigital)) return {RegKind::Input, n - kInputBase};
    if (within(n, kAnalogOutBase, kMaxAnalog)) return {RegKind::AnalogOut, n - kAnalogOutBase};
    if (within(n, kAnalogInBase, kMaxAnalog)) return {RegKind::AnalogIn, n - kAnalogInBase};
    if (within(n, kServoPositionBase, kMaxServos))
        return {RegKind::ServoPosition, n - kServoPositionBase};
    if (within(n, kServoErrorBase, kMaxServos)) return {RegKind::ServoError, n - kServoErrorBase};
    if (within(n, kServoStateBase, kMaxServos)) return {RegKind::ServoState, n - kServoStateBase};
    return {RegKind::Plain, 0};
}

RegRef classifySystem(int n) {
    if (n == kFlagWord) return {RegKind::FlagWord, 0};
    if (n == kModelCodeRegister) return {RegKind::ModelCode, 0};
    if (n == kClockLatch) return {RegKind::ClockLatch, 0};
    if (n >= kClockSeconds && n <= kClockDayOfWeek) return {RegKind::Clock, n - kClockSeconds};
    if (n >= kFlagWordsBase && n < kFlagWordsBase + kMaxFlags / 32)
        return {RegKind::FlagWords, n - kFlagWordsBase};
    if (within(n, kFlagSetBase, kMaxFlags)) return {RegKind::FlagSet, n - kFlagSetBase};
    return {RegKind::Plain, 0};
}

RegRef classifyNetwork(int n) {
    if (n == kNetNode) return {RegKind::NetAddress, 0};
    if (n == kNetMacHigh || n == kNetMacLow) return {RegKind::NetMac, 0};
    for (int base : {kNetIp, kNetMask, kNetGateway})
        if (n >= base && n < base + 4) return {RegKind::NetAddress, 0};
    if (n == kNetLoad) return {RegKind::NetLoad, 0};
    return {RegKind::Plain, 0};
}

}  // namespace

RegRef classifyRegister(int n) {
    if (n < 1 || n > kRegisterLimit) return {RegKind::Illegal, 0};
    if (n >= kNetNode && n <= kNetLoad) return classifyNetwork(n);
    if (n >= kFlagWord && n <= kFlagSetBase + kMaxFlags) return classifySystem(n);
    return classifyIo(n);
}

bool isReadOnly(RegKind kind) {
    switch (kind) {
        case RegKind::Input:
        case RegKind::AnalogIn:
        case RegKind::ServoError:
        case RegKind::ServoState:
        case RegKind::ModelCode:
        case RegKind::NetMac:
            return true;
        default:
            return false;
    }
}

}  // namespace zel::sim
