#include "sim/LinkModel.h"

#include <algorithm>
#include <limits>

namespace rtw::sim {
namespace {

constexpr Nanos kNever{std::numeric_limits<Nanos::rep>::max()};

[[nodiscard]] Nanos frontTime(const std::deque<std::pair<Nanos, std::uint8_t>>& queue) {
    return queue.empty() ? kNever : queue.front().first;
}

} // namespace

LinkModel::LinkModel(EmulatedUnit& unit, Pacing pacing, int baud)
    : m_unit(unit), m_pacing(pacing),
      m_byteTime(pacing == Pacing::Paced
                     ? Nanos{(std::int64_t{kBitsPerByte} * 1'000'000'000 + baud / 2) / baud}
                     : Nanos{0}),
      m_latency(pacing == Pacing::Paced ? Nanos{kDefaultLatency} : Nanos{0}) {}

void LinkModel::open(Nanos at) {
    m_open = true;
    reset(at);
}

void LinkModel::close() {
    m_open = false;
    m_toUnit.clear();
    m_fromUnit.clear();
    m_chip.clear();
    m_host.clear();
    m_unit.endSession();
}

void LinkModel::reset(Nanos at) {
    m_now = std::max(m_now, at);
    m_toUnit.clear();
    m_fromUnit.clear();
    m_chip.clear();
    m_host.clear();
    m_toUnitFree = m_now;
    m_fromUnitFree = m_now;
    m_tickPhase = m_now;
    if (m_open) {
        m_unit.startSession(m_now);
        queueEmissions();
    }
}

void LinkModel::setLatencyTimer(Nanos at, std::chrono::milliseconds latency) {
    if (m_pacing == Pacing::Paced) {
        m_latency = latency;
        m_tickPhase = std::max(m_now, at);
    }
}

void LinkModel::write(Nanos at, std::span<const std::uint8_t> bytes) {
    if (!m_open || !m_lineMatches) {
        return;
    }
    m_toUnitFree = std::max({m_toUnitFree, at, m_now});
    for (const auto byte : bytes) {
        m_toUnitFree += m_byteTime;
        m_toUnit.emplace_back(m_toUnitFree, byte);
    }
}

void LinkModel::advanceTo(Nanos at) {
    // The unit may also have sent something of its own accord since the last step.
    queueEmissions();
    for (;;) {
        const Nanos toUnit = frontTime(m_toUnit);
        const Nanos fromUnit = frontTime(m_fromUnit);
        const Nanos tick = m_chip.empty() ? kNever : nextTick();
        const Nanos next = std::min({toUnit, fromUnit, tick});
        if (next == kNever || next > at) {
            break;
        }
        m_now = next;
        if (toUnit == next) {
            const auto byte = m_toUnit.front().second;
            m_toUnit.pop_front();
            m_unit.receive(byte, next);
            queueEmissions();
        } else if (fromUnit == next) {
            m_chip.push_back(m_fromUnit.front());
            m_fromUnit.pop_front();
            if (m_chip.size() >= kUsbPacketPayload) {
                deliver(kUsbPacketPayload);
                m_tickPhase = next; // sending a packet restarts the timer
            }
        } else {
            deliver(m_chip.size());
        }
    }
    m_now = std::max(m_now, at);
}

std::size_t LinkModel::take(std::span<std::uint8_t> into) {
    const std::size_t count = std::min(into.size(), m_host.size());
    std::copy_n(m_host.begin(), count, into.begin());
    m_host.erase(m_host.begin(), m_host.begin() + static_cast<std::ptrdiff_t>(count));
    return count;
}

std::optional<Nanos> LinkModel::nextEvent() const {
    const Nanos next = std::min(
        {frontTime(m_toUnit), frontTime(m_fromUnit), m_chip.empty() ? kNever : nextTick()});
    if (next == kNever) {
        return std::nullopt;
    }
    return next;
}

// The timer fires every latency period after its last restart; the chip's oldest byte goes
// out with the first firing at or after its arrival.
Nanos LinkModel::nextTick() const {
    const Nanos oldest = m_chip.front().first;
    if (m_latency <= Nanos{0}) {
        return oldest;
    }
    const auto periods =
        std::max<Nanos::rep>(1, (oldest - m_tickPhase + m_latency - Nanos{1}) / m_latency);
    return m_tickPhase + periods * m_latency;
}

void LinkModel::queueEmissions() {
    for (auto& emission : m_unit.takeEmissions()) {
        Nanos at = std::max({m_fromUnitFree, emission.earliest, m_now});
        for (const auto byte : emission.bytes) {
            at += m_byteTime;
            m_fromUnit.emplace_back(at, byte);
        }
        m_fromUnitFree = at;
    }
}

void LinkModel::deliver(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (m_lineMatches) {
            m_host.push_back(m_chip.front().second);
        }
        m_chip.pop_front();
    }
}

} // namespace rtw::sim
