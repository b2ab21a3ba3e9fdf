// Register reads and writes, dispatched on what each register number stands for.
#include <cmath>
#include <limits>

#include "controller.h"

namespace zel::sim {

int32_t Controller::plain(int number) const {
    if (!vRegisters_.empty() && number >= kFirstVRegister) {
        const double v = vRegisters_[static_cast<size_t>(number - kFirstVRegister)];
        constexpr double lo = std::numeric_limits<int32_t>::min();
        constexpr double hi = std::numeric_limits<int32_t>::max();
        return static_cast<int32_t>(std::trunc(std::fmin(std::fmax(v, lo), hi)));
    }
    return registers_[static_cast<size_t>(number)];
}

void Controller::setPlain(int number, int32_t value) {
    if (!vRegisters_.empty() && number >= kFirstVRegister)
        vRegisters_[static_cast<size_t>(number - kFirstVRegister)] = value;
    else
        registers_[static_cast<size_t>(number)] = value;
}

// ZL_ERR_NOT_PRESENT for a resource beyond the scenario's count, ILLEGAL_REGISTER for network
// registers on a controller without them.
ErrorCode Controller::presence(const RegRef& ref) const {
    auto within = [&](int count) { return ref.index <= count ? ZL_OK : ZL_ERR_NOT_PRESENT; };
    switch (ref.kind) {
        case RegKind::Illegal:
            return ZL_ERR_ILLEGAL_REGISTER;
        case RegKind::Output:
            return within(model_.io.outputs);
        case RegKind::Input:
            return within(model_.io.inputs);
        case RegKind::AnalogOut:
            return within(model_.io.analogOuts);
        case RegKind::AnalogIn:
            return within(model_.io.analogIns);
        case RegKind::ServoPosition:
        case RegKind::ServoError:
        case RegKind::ServoState:
            return within(model_.io.servos);
        case RegKind::FlagSet:
            return within(model_.io.flags);
        case RegKind::FlagWords:
            return model_.io.flags > 32 && flags_.wordPresent(ref.index) ? ZL_OK
                                                                         : ZL_ERR_NOT_PRESENT;
        case RegKind::NetAddress:
        case RegKind::NetMac:
        case RegKind::NetLoad:
            return network_ ? ZL_OK : ZL_ERR_ILLEGAL_REGISTER;
        default:
            return ZL_OK;
    }
}

Result<int32_t> Controller::getRegister(int number) const {
    const RegRef ref = classifyRegister(number);
    if (ErrorCode e = presence(ref)) return failure<int32_t>(e);
    return readSystem(ref, number);
}

Result<int32_t> Controller::readSystem(const RegRef& ref, int number) const {
    switch (ref.kind) {
        case RegKind::FlagWord:
            return success(flags_.word(0));
        case RegKind::FlagWords:
            return success(flags_.word(ref.index));
        case RegKind::FlagSet:
            return success<int32_t>(flags_.get(ref.index) ? 1 : 0);
        case RegKind::ModelCode:
            return success<int32_t>(model_.code);
        case RegKind::ClockLatch:
            return success(rtc_.latch());
        case RegKind::Clock:
            return success(rtc_.read(static_cast<ClockField>(ref.index), wallClock_()));
        case RegKind::NetLoad:
            return success<int32_t>(0);
        default:
            return success(plain(number));
    }
}

ErrorCode Controller::putRegister(int number, int32_t value) {
    const RegRef ref = classifyRegister(number);
    if (ErrorCode e = presence(ref)) return e;
    if (ref.kind == RegKind::ModelCode && acceptedModel_) {
        if (value != *acceptedModel_) return ZL_ERR_BAD_VALUE;
        model_.code = value;
        return ZL_OK;
    }
    if (isReadOnly(ref.kind)) return ZL_ERR_ILLEGAL_REGISTER;
    return writeSystem(ref, number, value);
}

ErrorCode Controller::presetRegister(int number, int32_t value) {
    const RegRef ref = classifyRegister(number);
    if (ErrorCode e = presence(ref)) return e;
    if (ref.kind == RegKind::ModelCode) return ZL_ERR_ILLEGAL_REGISTER;
    if (isReadOnly(ref.kind)) {
        setPlain(number, value);
        return ZL_OK;
    }
    return writeSystem(ref, number, value);
}

ErrorCode Controller::writeSystem(const RegRef& ref, int number, int32_t value) {
    switch (ref.kind) {
        case RegKind::FlagWord:
            flags_.setWord(0, value);
            return ZL_OK;
        case RegKind::FlagWords:
            flags_.setWord(ref.index, value);
            return ZL_OK;
        case RegKind::FlagSet:
            return putFlag(ref.index, value);
        case RegKind::ClockLatch:
            return rtc_.setLatch(value, wallClock_());
        case RegKind::Clock:
            return rtc_.write(static_cast<ClockField>(ref.index), value, wallClock_());
        case RegKind::NetLoad:
            return value == 0 || value == 1 ? ZL_OK : ZL_ERR_BAD_VALUE;
        case RegKind::Output:
            if (value != 0 && value != 1) return ZL_ERR_BAD_VALUE;
            setPlain(number, value);
            return ZL_OK;
        default:
            setPlain(number, value);
            return ZL_OK;
    }
}

}  // namespace zel::sim
