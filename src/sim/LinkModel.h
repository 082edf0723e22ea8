#pragma once
// The line between the PC and the unit as time: 8N1 bytes at the unit's baud rate in both
// directions, and the USB chip that holds bytes from the unit until its latency timer
// fires or a USB packet's worth has gathered. Instant mode moves every byte at once.
// The model is advanced explicitly; callers pass the times at which things happen.
#include "wire/ProtocolConstants.h"
#include "sim/Clock.h"
#include "sim/EmulatedUnit.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <utility>

namespace rtw::sim {

enum class Pacing : std::uint8_t {
    Instant, // no line time, no latency
    Paced,   // 9600 baud 8N1 and the chip's latency timer
};

class LinkModel {
public:
    static constexpr std::size_t kUsbPacketPayload = 62; // 64-byte packet less 2 status bytes
    static constexpr std::chrono::milliseconds kDefaultLatency{16};
    static constexpr int kBitsPerByte = 10; // start, 8 data, stop

    LinkModel(EmulatedUnit& unit, Pacing pacing, int baud = wire::kBaudRate);

    // A new session: all buffers empty, the unit restarts and greets.
    void open(Nanos at);
    void close();
    // Purges the chip's and the host's buffers and restarts the unit.
    void reset(Nanos at);
    // 0 delivers each byte as it arrives. The timer restarts at `at`.
    void setLatencyTimer(Nanos at, std::chrono::milliseconds latency);
    // While false (the PC's line settings differ from the unit's), bytes are lost both ways.
    void setLineMatches(bool matches) { m_lineMatches = matches; }

    // The PC hands bytes to the chip at `at` (not before the last advanceTo).
    void write(Nanos at, std::span<const std::uint8_t> bytes);
    // Runs the line and the unit up to `at`.
    void advanceTo(Nanos at);
    // Bytes the PC can read now.
    [[nodiscard]] std::size_t available() const { return m_host.size(); }
    std::size_t take(std::span<std::uint8_t> into);
    // The time of the next thing that happens on the line, if anything is under way.
    [[nodiscard]] std::optional<Nanos> nextEvent() const;

private:
    [[nodiscard]] Nanos nextTick() const;
    void queueEmissions();
    void deliver(std::size_t count);

    EmulatedUnit& m_unit;
    Pacing m_pacing;
    Nanos m_byteTime;
    Nanos m_latency;
    Nanos m_tickPhase{0};
    Nanos m_now{0};
    bool m_open = false;
    bool m_lineMatches = true;

    Nanos m_toUnitFree{0};                                 // when the PC-to-unit line is free again
    Nanos m_fromUnitFree{0};                               // when the unit-to-PC line is free again
    std::deque<std::pair<Nanos, std::uint8_t>> m_toUnit;   // arrival at the unit
    std::deque<std::pair<Nanos, std::uint8_t>> m_fromUnit; // arrival at the chip
    std::deque<std::pair<Nanos, std::uint8_t>> m_chip;     // held by the chip
    std::deque<std::uint8_t> m_host;                       // readable by the PC
};

} // namespace rtw::sim
