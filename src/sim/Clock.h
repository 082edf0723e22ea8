#pragma once
// Time for the emulated unit. Everything that waits sleeps on a Clock, so tests hand in a
// FakeClock whose sleepUntil jumps at once and no test waits real seconds.
#include <chrono>

namespace rtw::sim {

using Micros = std::chrono::microseconds;
// The line model's own resolution: a byte at 9600 baud lasts 1041667 ns.
using Nanos = std::chrono::nanoseconds;

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time since an arbitrary start.
    [[nodiscard]] virtual Micros now() const = 0;
    // Returns once now() >= when; returns at once when that time has passed.
    virtual void sleepUntil(Micros when) = 0;
};

// The machine's steady clock, counted from the construction of the object.
class SteadyClock final : public Clock {
public:
    SteadyClock();
    [[nodiscard]] Micros now() const override;
    void sleepUntil(Micros when) override;

private:
    std::chrono::steady_clock::time_point m_start;
};

// A clock that moves only when told to, or when someone sleeps on it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(Micros start = Micros{0}) : m_now(start) {}
    [[nodiscard]] Micros now() const override { return m_now; }
    void sleepUntil(Micros when) override {
        if (when > m_now) {
            m_now = when;
        }
    }
    void advance(Micros by) { m_now += by; }

private:
    Micros m_now;
};

} // namespace rtw::sim
