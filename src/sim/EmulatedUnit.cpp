#include "sim/EmulatedUnit.h"

#include <algorithm>

namespace rtw::sim {
namespace {

constexpr std::uint8_t kNak = 0x15; // what a unit that refuses the handshake starts with
constexpr std::size_t kShortHandshakeAnswer = 10;
constexpr std::size_t kGreetingFirstPart = 5;

[[nodiscard]] bool twoDigits(const std::array<std::uint8_t, wire::kBlockSize>& data, std::size_t at,
                             int low, int high, int& value) {
    const auto tens = data[at];
    const auto units = data[at + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9') {
        return false;
    }
    value = (tens - '0') * 10 + (units - '0');
    return value >= low && value <= high;
}

// "yy/mm/dd,hh:nn"; none when the text does not have that shape.
[[nodiscard]] std::optional<LocalDateTime>
parseClockText(const std::array<std::uint8_t, wire::kBlockSize>& data) {
    constexpr std::array<std::pair<std::size_t, char>, 4> separators{
        {{2, '/'}, {5, '/'}, {8, ','}, {11, ':'}}};
    for (const auto& [at, separator] : separators) {
        if (data[at] != static_cast<std::uint8_t>(separator)) {
            return std::nullopt;
        }
    }
    LocalDateTime when;
    int year = 0;
    if (!twoDigits(data, 0, 0, 99, year) || !twoDigits(data, 3, 1, 12, when.month) ||
        !twoDigits(data, 6, 1, 31, when.day) || !twoDigits(data, 9, 0, 23, when.hour) ||
        !twoDigits(data, 12, 0, 59, when.minute)) {
        return std::nullopt;
    }
    when.year = 2000 + year;
    return when;
}

} // namespace

void EmulatedUnit::loadMemory(const std::array<std::uint8_t, wire::kMemorySize>& memory) {
    m_image.memory() = memory;
}

void EmulatedUnit::clearLog() {
    m_frames.clear();
    m_received.clear();
    m_stats = UnitStats{};
}

void EmulatedUnit::startSession(Nanos at) {
    m_state = State::Idle;
    m_frameFill = 0;
    m_nextPacket = 0;
    m_handshakeAnswers = 0;
    m_answers = 0;
    m_frameAttempts.clear();
    m_out.clear();
    ++m_stats.sessions;
    if (m_faults.noGreeting) {
        return;
    }
    ++m_stats.greetings;
    const Nanos greetAt = at + m_faults.lateGreeting.value_or(m_greetingDelay);
    const std::vector<std::uint8_t> text(m_faults.greeting.begin(), m_faults.greeting.end());
    if (m_faults.splitGreeting && text.size() > kGreetingFirstPart) {
        const auto cut = text.begin() + kGreetingFirstPart;
        emit({text.begin(), cut}, greetAt);
        emit({cut, text.end()}, greetAt + m_faults.splitGap);
    } else {
        emit(text, greetAt);
    }
}

void EmulatedUnit::endSession() {
    m_state = State::Closed;
    m_out.clear();
}

void EmulatedUnit::receive(std::uint8_t byte, Nanos at) {
    m_received.push_back(byte);
    if (m_state == State::Closed || m_state == State::Silent || answerLimitReached()) {
        ++m_stats.bytesIgnored;
        return;
    }
    if (m_frameFill > 0 && at - m_lastByteAt > kFrameGap) {
        m_frameFill = 0;
    }
    m_lastByteAt = at;
    // No frame starts with either byte (addresses stay below 0x1000 or are 0x8080), so
    // between frames they always mean a new transfer.
    if (m_frameFill == 0 && (byte == wire::kSendHandshake || byte == wire::kReadHandshake)) {
        answerHandshake(byte, at);
        return;
    }
    switch (m_state) {
    case State::Frames:
        takeFrameByte(byte, at);
        break;
    case State::Packets:
        if (byte == wire::kAck) {
            ++m_stats.acksReceived;
            sendPacket(at);
        } else {
            ++m_stats.bytesIgnored;
        }
        break;
    default:
        ++m_stats.bytesIgnored;
        break;
    }
}

std::vector<Emission> EmulatedUnit::takeEmissions() {
    std::vector<Emission> out;
    out.swap(m_out);
    return out;
}

void EmulatedUnit::sendRaw(std::span<const std::uint8_t> bytes, Nanos at) {
    if (m_state != State::Closed) {
        emit({bytes.begin(), bytes.end()}, at);
    }
}

std::vector<std::uint8_t> EmulatedUnit::takeReceivedBytes() {
    return std::exchange(m_received, {});
}

void EmulatedUnit::answerHandshake(std::uint8_t handshake, Nanos at) {
    ++m_handshakeAnswers;
    ++m_stats.handshakeAnswers;
    std::vector<std::uint8_t> answer(wire::kHandshakeAnswerSize, 0x00);
    answer[0] =
        handshake == wire::kSendHandshake ? wire::kSendHandshakeAnswer : wire::kReadHandshakeAnswer;
    m_state = State::Idle;
    if (m_handshakeAnswers <= m_faults.wrongHandshakeAnswers) {
        answer[0] = kNak;
    } else if (m_handshakeAnswers <=
               m_faults.wrongHandshakeAnswers + m_faults.shortHandshakeAnswers) {
        answer.resize(kShortHandshakeAnswer);
    } else {
        m_state = handshake == wire::kSendHandshake ? State::Frames : State::Packets;
        m_nextPacket = 0;
    }
    emit(std::move(answer), at);
}

void EmulatedUnit::takeFrameByte(std::uint8_t byte, Nanos at) {
    m_frame[m_frameFill++] = byte;
    if (m_frameFill == m_frame.size()) {
        m_frameFill = 0;
        frameComplete(at);
    }
}

bool EmulatedUnit::answerLimitReached() {
    if (m_faults.stopAnsweringAfter && m_answers >= *m_faults.stopAnsweringAfter) {
        m_state = State::Silent;
        return true;
    }
    return false;
}

void EmulatedUnit::frameComplete(Nanos at) {
    const ImageBlock block = decodeFrame(m_frame);
    m_frames.push_back(block);
    ++m_stats.framesReceived;
    m_image.store(block); // changes nothing at or above 4096
    if (locate(block.address).kind == BlockKind::Clock) {
        if (auto when = parseClockText(block.data)) {
            m_clock = *when;
        }
        ++m_stats.sendsCompleted;
    }

    const int attempt = ++m_frameAttempts[block.address];
    std::vector<std::uint8_t> echo(block.data.begin(), block.data.end());
    const auto fault =
        std::find_if(m_faults.echoFaults.begin(), m_faults.echoFaults.end(), [&](const auto& f) {
            return f.address == block.address && (f.attempt == 0 || f.attempt == attempt);
        });
    if (fault != m_faults.echoFaults.end()) {
        if (fault->kind == EchoFaultKind::Corrupt) {
            echo[0] ^= 0xFF;
        } else {
            echo.resize(std::min(fault->length, echo.size()));
        }
    }
    ++m_answers;
    ++m_stats.echoes;
    emit(std::move(echo), at);
}

void EmulatedUnit::sendPacket(Nanos at) {
    const ImageBlock block =
        m_image.block(static_cast<std::uint16_t>(m_nextPacket * wire::kBlockSize));
    const Frame frame = encodeFrame(block);
    std::vector<std::uint8_t> packet(frame.begin(), frame.end());

    const auto fault = std::find_if(m_faults.packetFaults.begin(), m_faults.packetFaults.end(),
                                    [&](const auto& f) { return f.address == block.address; });
    if (fault == m_faults.packetFaults.end()) {
        emit(std::move(packet), at);
    } else {
        const auto cut =
            packet.begin() + static_cast<std::ptrdiff_t>(std::min(fault->firstPart, packet.size()));
        emit({packet.begin(), cut}, at);
        if (fault->kind == PacketFaultKind::Split) {
            emit({cut, packet.end()}, at + m_faults.splitGap);
        }
    }
    ++m_answers;
    ++m_stats.packetsSent;
    if (++m_nextPacket == kMemoryBlockCount) {
        m_state = State::Idle;
        ++m_stats.readsCompleted;
    }
}

void EmulatedUnit::emit(std::vector<std::uint8_t> bytes, Nanos earliest) {
    if (!bytes.empty()) {
        m_out.push_back(Emission{std::move(bytes), earliest});
    }
}

} // namespace rtw::sim
