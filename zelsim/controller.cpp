#include "controller.h"

#include <cmath>

namespace zel::sim {

Controller::Controller(const ModelInfo& model, WallClock wallClock)
    : model_(model),
      wallClock_(std::move(wallClock)),
      registers_(kRegisterLimit + 1, 0),
      vRegisters_(hasVRegisters(model.code) ? kRegisterLimit - kFirstVRegister + 1 : 0, 0.0),
      flags_(model.io.flags),
      engine_(taskCountForModel(model.code)) {}

Result<double> Controller::getVRegister(int number) const {
    if (vRegisters_.empty() || number < kFirstVRegister || number > kRegisterLimit)
        return failure<double>(ZL_ERR_ILLEGAL_REGISTER);
    return success(vRegisters_[static_cast<size_t>(number - kFirstVRegister)]);
}

ErrorCode Controller::setVRegister(int number, double value) {
    if (vRegisters_.empty() || number < kFirstVRegister || number > kRegisterLimit)
        return ZL_ERR_ILLEGAL_REGISTER;
    if (!std::isfinite(value)) return ZL_ERR_BAD_VALUE;
    vRegisters_[static_cast<size_t>(number - kFirstVRegister)] = value;
    return ZL_OK;
}

ErrorCode Controller::putFlag(int flag, int32_t value) {
    if (!flags_.present(flag)) return ZL_ERR_NOT_PRESENT;
    flags_.set(flag, value != 0);
    return ZL_OK;
}

ErrorCode Controller::putStatus(int32_t word) {
    if (word & kStatusFreshReset) {
        resetProgram();
        return ZL_OK;
    }
    if (word & kStatusStopped) return start();
    status_ |= kStatusStopped;
    return ZL_OK;
}

ErrorCode Controller::start() {
    // A faulted program stays stopped until it is reset.
    if (status_ & kStatusFault) return ZL_ERR_BAD_VALUE;
    if (!running()) {
        const bool fresh = status_ & kStatusFreshReset;
        status_ &= ~(kStatusStopped | kStatusFreshReset);
        if (fresh) engine_.begin(runMs_, *this);
    }
    return ZL_OK;
}

void Controller::resetProgram() {
    engine_.reset();
    fault_ = Fault{};
    status_ = (status_ & kStatusProgramming) | kStatusStopped | kStatusFreshReset;
}

ErrorCode Controller::putConfig(int32_t word) {
    if (word < 0 || word > 15) return ZL_ERR_BAD_VALUE;
    config_ = word;
    return ZL_OK;
}

void Controller::setProgrammingMode(bool on) {
    status_ = on ? (status_ | kStatusProgramming) : (status_ & ~kStatusProgramming);
}

void Controller::loadProgram(Program program) {
    engine_.load(std::move(program));
    resetProgram();
}

void Controller::raiseFault(const Fault& fault) {
    fault_ = fault;
    status_ |= kStatusStopped | kStatusFault;
}

void Controller::advance(int64_t nowMs) {
    const int64_t delta = lastNowMs_ ? nowMs - *lastNowMs_ : 0;
    lastNowMs_ = nowMs;
    if (!running() || delta <= 0) return;
    runMs_ += delta;
    engine_.advance(runMs_, *this);
}

}  // namespace zel::sim
