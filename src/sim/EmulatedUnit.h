#pragma once
// The unit's side of the protocol: its 4096 bytes of configuration memory, its clock, the
// greeting, the two handshakes, echoing and storing frames, and sending packets. It knows
// no line timing: it takes bytes with the time they arrived and hands back what it sends,
// each piece with the earliest time it may go on the line.
#include "protocol/ConfigImage.h"
#include "sim/Clock.h"
#include "sim/Faults.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace rtw::sim {

struct Emission {
    std::vector<std::uint8_t> bytes;
    Nanos earliest{0};
};

// Counted over the unit's life (clearLog() restarts them).
struct UnitStats {
    int sessions = 0;
    int greetings = 0;
    int handshakeAnswers = 0; // both kinds, faulty ones included
    int framesReceived = 0;
    int echoes = 0;
    int acksReceived = 0;
    int packetsSent = 0;
    int sendsCompleted = 0; // a clock block was received
    int readsCompleted = 0; // the packet at 4080 went out
    int bytesIgnored = 0;
};

class EmulatedUnit {
public:
    // A fresh frame is started when its bytes come further apart than this, so a frame cut
    // short by a partial write does not shift every later one.
    static constexpr Nanos kFrameGap{100'000'000};
    static constexpr Micros kDefaultGreetingDelay{10'000};

    EmulatedUnit() = default;

    [[nodiscard]] Faults& faults() { return m_faults; }
    [[nodiscard]] const Faults& faults() const { return m_faults; }
    void setFaults(Faults faults) { m_faults = std::move(faults); }
    // How long after open or reset the greeting goes out (unless lateGreeting says otherwise).
    void setGreetingDelay(Micros delay) { m_greetingDelay = delay; }

    [[nodiscard]] ConfigImage& image() { return m_image; }
    [[nodiscard]] const ConfigImage& image() const { return m_image; }
    void loadMemory(const std::array<std::uint8_t, wire::kMemorySize>& memory);
    // The date and time last set by a clock block; none before the first.
    [[nodiscard]] const std::optional<LocalDateTime>& clock() const { return m_clock; }
    // Every whole frame received, in order, the clock block's included.
    [[nodiscard]] const std::vector<ImageBlock>& receivedFrames() const { return m_frames; }
    [[nodiscard]] const UnitStats& stats() const { return m_stats; }
    void clearLog();

    // The port was opened or reset: forget any transfer in progress and greet.
    void startSession(Nanos at);
    // The port was closed: nothing more goes out until the next session.
    void endSession();
    void receive(std::uint8_t byte, Nanos at);
    // What the unit has sent since the last call, in order.
    [[nodiscard]] std::vector<Emission> takeEmissions();

    // Puts these bytes on the line at `at`, outside the protocol and without changing its
    // state, the way every answer goes out; dropped while no session is open.
    void sendRaw(std::span<const std::uint8_t> bytes, Nanos at);
    // Every byte that reached the unit since the last call or clearLog(), ignored ones
    // included.
    [[nodiscard]] std::vector<std::uint8_t> takeReceivedBytes();

private:
    enum class State : std::uint8_t { Closed, Idle, Frames, Packets, Silent };

    void answerHandshake(std::uint8_t handshake, Nanos at);
    void takeFrameByte(std::uint8_t byte, Nanos at);
    void frameComplete(Nanos at);
    void sendPacket(Nanos at);
    void emit(std::vector<std::uint8_t> bytes, Nanos earliest);
    // Falls silent once the session's answers reach stopAnsweringAfter; from then on not
    // even a handshake is answered.
    [[nodiscard]] bool answerLimitReached();

    Faults m_faults;
    Micros m_greetingDelay = kDefaultGreetingDelay;
    ConfigImage m_image;
    std::optional<LocalDateTime> m_clock;
    std::vector<ImageBlock> m_frames;
    std::vector<std::uint8_t> m_received;
    UnitStats m_stats;

    State m_state = State::Closed;
    Frame m_frame{};
    std::size_t m_frameFill = 0;
    Nanos m_lastByteAt{0};
    std::size_t m_nextPacket = 0;
    // Per session.
    int m_handshakeAnswers = 0;
    int m_answers = 0; // echoes and packets
    std::map<std::uint16_t, int> m_frameAttempts;
    std::vector<Emission> m_out;
};

} // namespace rtw::sim
