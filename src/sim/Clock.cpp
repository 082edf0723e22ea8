#include "sim/Clock.h"

#include <thread>

namespace rtw::sim {

SteadyClock::SteadyClock() : m_start(std::chrono::steady_clock::now()) {}

Micros SteadyClock::now() const {
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now() - m_start);
}

void SteadyClock::sleepUntil(Micros when) {
    std::this_thread::sleep_until(m_start + when);
}

} // namespace rtw::sim
