#include "rtc.h"

#include <array>
#include <ctime>

namespace zel::sim {
namespace {

struct Range {
    int low;
    int high;
};
constexpr std::array<Range, 7> kRanges{
    {{0, 59}, {0, 59}, {0, 23}, {1, 31}, {1, 12}, {0, 99}, {1, 7}}};

std::tm breakDown(int64_t seconds) {
    std::tm t{};
    const time_t s = static_cast<time_t>(seconds);
    gmtime_r(&s, &t);
    return t;
}

int32_t fieldOf(const std::tm& t, ClockField f) {
    switch (f) {
        case ClockField::Second:
            return t.tm_sec;
        case ClockField::Minute:
            return t.tm_min;
        case ClockField::Hour:
            return t.tm_hour;
        case ClockField::Day:
            return t.tm_mday;
        case ClockField::Month:
            return t.tm_mon + 1;
        case ClockField::Year:
            return t.tm_year % 100;
        case ClockField::DayOfWeek:
            return 0;
    }
    return 0;
}

void setField(std::tm& t, ClockField f, int32_t v) {
    switch (f) {
        case ClockField::Second:
            t.tm_sec = v;
            break;
        case ClockField::Minute:
            t.tm_min = v;
            break;
        case ClockField::Hour:
            t.tm_hour = v;
            break;
        case ClockField::Day:
            t.tm_mday = v;
            break;
        case ClockField::Month:
            t.tm_mon = v - 1;
            break;
        case ClockField::Year:
            t.tm_year = 100 + v;
            break;
        case ClockField::DayOfWeek:
            break;
    }
}

}  // namespace

int64_t hostLocalSeconds() {
    const time_t now = time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int64_t>(now) + local.tm_gmtoff;
}

std::tm Rtc::fields(int64_t hostSeconds) const {
    return breakDown(hostSeconds + offset_);
}

int Rtc::dayOfWeek(const std::tm& t) const {
    return (t.tm_wday + dowShift_) % 7 + 1;
}

int32_t Rtc::read(ClockField field, int64_t hostSeconds) const {
    if (latched_) return field == ClockField::DayOfWeek ? stagedDow_ : fieldOf(staged_, field);
    const std::tm t = fields(hostSeconds);
    return field == ClockField::DayOfWeek ? dayOfWeek(t) : fieldOf(t, field);
}

ErrorCode Rtc::write(ClockField field, int32_t value, int64_t hostSeconds) {
    const Range r = kRanges[static_cast<size_t>(field)];
    if (value < r.low || value > r.high) return ZL_ERR_BAD_VALUE;
    if (!latched_) {
        staged_ = fields(hostSeconds);
        stagedDow_ = dayOfWeek(staged_);
    }
    if (field == ClockField::DayOfWeek)
        stagedDow_ = value;
    else
        setField(staged_, field, value);
    if (!latched_) commit(staged_, hostSeconds);
    return ZL_OK;
}

ErrorCode Rtc::setLatch(int32_t value, int64_t hostSeconds) {
    if (value != 0 && value != 1) return ZL_ERR_BAD_VALUE;
    if (value == 1 && !latched_) {
        staged_ = fields(hostSeconds);
        stagedDow_ = dayOfWeek(staged_);
    }
    if (value == 0 && latched_) commit(staged_, hostSeconds);
    latched_ = value == 1;
    return ZL_OK;
}

void Rtc::commit(const std::tm& t, int64_t hostSeconds) {
    std::tm copy = t;
    offset_ = static_cast<int64_t>(timegm(&copy)) - hostSeconds;
    const int wanted = stagedDow_ - 1;
    dowShift_ = ((wanted - copy.tm_wday) % 7 + 7) % 7;
}

}  // namespace zel::sim
