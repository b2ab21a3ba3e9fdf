#include "line_pacer.h"

#include <termios.h>

#include <algorithm>
#include <cstdint>

namespace zel::sim {

int bitsPerByte(unsigned cflag) {
    int data = 8;
    switch (cflag & CSIZE) {
        case CS5:
            data = 5;
            break;
        case CS6:
            data = 6;
            break;
        case CS7:
            data = 7;
            break;
        default:
            break;
    }
    return 1 + data + ((cflag & PARENB) ? 1 : 0) + ((cflag & CSTOPB) ? 2 : 1);
}

int baudOfSpeed(unsigned speed) {
    static constexpr struct {
        speed_t constant;
        int baud;
    } kSpeeds[] = {
        {B50, 50},           {B75, 75},           {B110, 110},         {B134, 134},
        {B150, 150},         {B200, 200},         {B300, 300},         {B600, 600},
        {B1200, 1200},       {B1800, 1800},       {B2400, 2400},       {B4800, 4800},
        {B9600, 9600},       {B19200, 19200},     {B38400, 38400},     {B57600, 57600},
        {B115200, 115200},   {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
        {B576000, 576000},   {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000},
        {B1500000, 1500000}, {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000},
        {B3500000, 3500000}, {B4000000, 4000000}};
    for (const auto& s : kSpeeds)
        if (s.constant == speed) return s.baud;
    return 0;
}

namespace {

// The time n bytes take on the wire.
std::chrono::nanoseconds duration(size_t bytes, LineFormat format) {
    if (format.baud <= 0) return std::chrono::nanoseconds(0);
    return std::chrono::nanoseconds(static_cast<int64_t>(bytes) * format.bitsPerByte *
                                    1'000'000'000 / format.baud);
}

}  // namespace

LinePacer::LinePacer(Clock clock, Nanos turnaround)
    : clock_(std::move(clock)), turnaround_(turnaround) {}

void LinePacer::received(size_t n, LineFormat format) {
    incoming_.add(clock_(), n, format);
}

void LinePacer::queueReply(size_t n, LineFormat format) {
    outgoing_.add(clock_() + turnaround_, n, format);
}

void LinePacer::Schedule::add(Nanos earliest, size_t n, LineFormat format) {
    if (n == 0) return;
    Nanos start = earliest;
    if (!bursts_.empty()) {
        const Burst& last = bursts_.back();
        start = std::max(start, last.start + duration(last.bytes, last.format));
    }
    bursts_.push_back(Burst{start, format, n});
}

size_t LinePacer::Schedule::due(Nanos now) const {
    size_t due = 0;
    for (const Burst& b : bursts_) {
        if (now >= b.start + duration(b.bytes, b.format)) {
            due += b.bytes;
            continue;
        }
        if (now > b.start) {
            // Part of the burst is through: whole bytes only. now - start is below the burst's
            // length here, so the product stays far from overflowing.
            const int64_t bitNanos = static_cast<int64_t>(b.format.bitsPerByte) * 1'000'000'000;
            due += static_cast<size_t>((now - b.start).count() * b.format.baud / bitNanos);
        }
        break;
    }
    return due - done_;
}

void LinePacer::Schedule::done(size_t n) {
    done_ += n;
    while (!bursts_.empty() && done_ >= bursts_.front().bytes) {
        done_ -= bursts_.front().bytes;
        bursts_.pop_front();
    }
}

std::optional<LinePacer::Nanos> LinePacer::Schedule::next() const {
    if (bursts_.empty()) return std::nullopt;
    const Burst& b = bursts_.front();
    return b.start + duration(done_ + 1, b.format);
}

}  // namespace zel::sim
