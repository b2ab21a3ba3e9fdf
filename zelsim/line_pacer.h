// The time a serial line takes. With a rate set, every character spends its start, data,
// parity and stop bits on the wire in both directions: a request counts as received only once
// its last byte would have arrived, and a reply leaves no faster than the line carries it,
// after an optional turnaround. Deadlines count from the start of a burst, never from the
// previous byte, so a late wake-up is made up at the next one instead of adding up.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>

namespace zel::sim {

struct LineFormat {
    int baud = 0;          // 0: the line takes no time
    int bitsPerByte = 10;  // start + data + parity + stop bits
    bool operator==(const LineFormat&) const = default;
};

// What the command line asks for; baud 0 follows the rate the client sets on the line.
struct LinePacing {
    int baud = 0;
    std::chrono::milliseconds turnaround{0};
};

// Bits per character of a termios c_cflag: a start bit, CS5..CS8 data bits, a parity bit
// with PARENB, and one stop bit, or two with CSTOPB.
int bitsPerByte(unsigned cflag);
// The rate of a termios speed constant; 0 for B0 (hang up) or a constant it does not know.
int baudOfSpeed(unsigned speed);

class LinePacer {
public:
    using Nanos = std::chrono::nanoseconds;
    // Monotonic time; steady_clock's in the simulator, a hand-moved one in tests.
    using Clock = std::function<Nanos()>;

    LinePacer(Clock clock, Nanos turnaround);

    // Request direction: n bytes read from the line now arrive one byte time after another,
    // behind what is still arriving; `arrived` of them have finished by now.
    void received(size_t n, LineFormat format);
    size_t arrived() const { return incoming_.due(clock_()); }
    void handled(size_t n) { incoming_.done(n); }
    std::optional<Nanos> nextArrival() const { return incoming_.next(); }

    // Reply direction: a reply of n bytes handed over now starts after the turnaround, behind
    // what is still going out; `writable` of them have had their time on the wire by now.
    void queueReply(size_t n, LineFormat format);
    size_t writable() const { return outgoing_.due(clock_()); }
    void wrote(size_t n) { outgoing_.done(n); }
    std::optional<Nanos> nextWrite() const { return outgoing_.next(); }

private:
    // One direction of the wire: bursts of bytes back to back, each timed from its start.
    class Schedule {
    public:
        // n bytes that start at `earliest`, or when the bytes before them are through.
        void add(Nanos earliest, size_t n, LineFormat format);
        // How many bytes not yet done have finished their time by `now`.
        size_t due(Nanos now) const;
        void done(size_t n);
        // When the next byte not yet done finishes its time; nothing when none is pending.
        std::optional<Nanos> next() const;

    private:
        struct Burst {
            Nanos start{0};
            LineFormat format;
            size_t bytes = 0;
        };
        std::deque<Burst> bursts_;
        size_t done_ = 0;  // bytes of the first burst already done
    };

    Clock clock_;
    Nanos turnaround_;
    Schedule incoming_;
    Schedule outgoing_;
};

}  // namespace zel::sim
