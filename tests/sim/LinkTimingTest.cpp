// The line model: 9600 baud 8N1 both ways and the chip's latency timer, on a fake clock.
// A byte lasts 1041667 ns; the chip hands bytes on when its timer fires (every latency
// period after it was set) or when 62 have gathered.
#include "sim/EmulatedBackend.h"

#include "PcSide.h"
#include "SimTestHelpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace rtw::sim {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::bytesOf;
using testing::frame;

constexpr Nanos kByte{1'041'667};

Micros ceilMicros(Nanos t) {
    return std::chrono::ceil<Micros>(t);
}

Bytes blockFrame(std::uint16_t address) {
    Bytes out = frame(address, std::uint8_t{0});
    for (std::size_t i = 2; i < out.size(); ++i) {
        out[i] = static_cast<std::uint8_t>(address / 16 * 7 + i);
    }
    return out;
}

// A paced unit on a fake clock with the PC's end.
struct PacedRig {
    explicit PacedRig(Pacing pacing = Pacing::Paced) : port(unit, clock, pacing) {}

    void connectGreetAndHandshake(std::uint8_t latencyMs, std::uint8_t handshake) {
        pc.connect(latencyMs);
        ASSERT_EQ(pc.read(8), bytesOf(wire::kGreeting));
        pc.write({handshake});
        ASSERT_EQ(pc.read(16).size(), 16u);
    }
    // The 254 image blocks' frames and the clock block; the time it took.
    Micros sendAll() {
        const auto start = clock.now();
        for (std::uint16_t address = 0; address <= wire::kLastImageBlock; address += 16) {
            if (address == 3040 || address == 3056) {
                continue; // never sent
            }
            EXPECT_TRUE(pc.sendFrame(blockFrame(address))) << address;
        }
        EXPECT_TRUE(pc.sendFrame(frame(wire::kClockBlock, "24/03/05,07:09")));
        return clock.now() - start;
    }
    // Acknowledges and reads the 256 packets, then acknowledges the last; the time the
    // packets took.
    Micros readAll(std::vector<Bytes>& packets) {
        const auto start = clock.now();
        for (int i = 0; i < 256; ++i) {
            pc.write({wire::kAck});
            packets.push_back(pc.read(18));
        }
        const auto elapsed = clock.now() - start;
        pc.write({wire::kAck});
        return elapsed;
    }

    FakeClock clock;
    EmulatedUnit unit;
    EmulatedBackend port;
    testing::PcSide pc{port};
};

TEST(LinkTiming, TheGreetingWaitsForTheLatencyTimer) {
    // The greeting leaves 10 ms after the reset and is on the wire for 8 bytes (18.3 ms).
    const Nanos onTheWire = Nanos{EmulatedUnit::kDefaultGreetingDelay} + 8 * kByte;
    struct Case {
        std::uint8_t latencyMs;
        Micros delivered;
    };
    for (const auto c : {Case{16, Micros{32ms}}, Case{2, Micros{20ms}}, Case{255, Micros{255ms}}}) {
        PacedRig rig;
        rig.pc.connect(c.latencyMs);
        EXPECT_EQ(rig.pc.read(8), bytesOf(wire::kGreeting));
        EXPECT_EQ(rig.clock.now(), c.delivered) << int{c.latencyMs};
        EXPECT_GT(Nanos{rig.clock.now()}, onTheWire);
    }
}

TEST(LinkTiming, SixtyTwoGatheredBytesGoOutWithoutWaitingForTheTimer) {
    PacedRig rig;
    rig.unit.faults().greeting = std::string(70, 'x');
    rig.pc.connect(255);
    const Nanos first = Nanos{EmulatedUnit::kDefaultGreetingDelay} + 62 * kByte;
    EXPECT_EQ(rig.pc.read(62).size(), 62u);
    EXPECT_EQ(rig.clock.now(), ceilMicros(first));
    EXPECT_EQ(rig.pc.read(8).size(), 8u);
    EXPECT_EQ(rig.clock.now(), ceilMicros(first + 255ms)) << "the packet restarted the timer";
}

TEST(LinkTiming, AnEchoTakesTheFrameAndTheEchoOnTheWireUpToTheNextTick) {
    PacedRig rig;
    rig.connectGreetAndHandshake(2, wire::kSendHandshake);
    ASSERT_EQ(rig.clock.now(), Micros{38ms}) << "1 + 16 bytes after the greeting, on a tick";
    ASSERT_TRUE(rig.pc.sendFrame(blockFrame(0)));
    EXPECT_EQ(rig.clock.now(), Micros{74ms}) << "18 + 16 bytes are 35.4 ms";
}

TEST(LinkTiming, AWholeSendThenReadGivesTheMemoryBackInWireTimePlusLatency) {
    const Nanos sendWire = 255 * 34 * kByte; // 9.03 s
    const Nanos readWire = 256 * 19 * kByte; // 5.07 s
    struct Case {
        std::uint8_t latencyMs;
        // Each round trip starts on a tick and ends on the first tick after its bytes.
        Micros send;
        Micros read;
    };
    for (const auto c : {Case{2, 255 * Micros{36ms}, 256 * Micros{20ms}},
                         Case{16, 255 * Micros{48ms}, 256 * Micros{32ms}}}) {
        PacedRig rig;
        rig.connectGreetAndHandshake(c.latencyMs, wire::kSendHandshake);
        const Micros send = rig.sendAll();
        EXPECT_EQ(send, c.send) << int{c.latencyMs};
        EXPECT_GT(Nanos{send}, sendWire);
        EXPECT_LT(Nanos{send}, sendWire + 255 * std::chrono::milliseconds{c.latencyMs});
        ASSERT_TRUE(rig.unit.clock().has_value());
        EXPECT_EQ(rig.unit.clock()->year, 2024);
        rig.pc.close();

        rig.connectGreetAndHandshake(c.latencyMs, wire::kReadHandshake);
        std::vector<Bytes> packets;
        const Micros read = rig.readAll(packets);
        EXPECT_EQ(read, c.read) << int{c.latencyMs};
        EXPECT_GT(Nanos{read}, readWire);
        EXPECT_LT(Nanos{read}, readWire + 256 * std::chrono::milliseconds{c.latencyMs});
        ASSERT_EQ(packets.size(), 256u);
        for (std::uint16_t address = 0; address <= wire::kLastImageBlock; address += 16) {
            const Bytes expected = (address == 3040 || address == 3056)
                                       ? frame(address, std::uint8_t{0})
                                       : blockFrame(address);
            EXPECT_EQ(packets[address / 16], expected) << address;
        }
    }
}

TEST(LinkTiming, RawBytesFromTheUnitKeepTheLineAndTheTimer) {
    PacedRig rig;
    rig.unit.faults().noGreeting = true;
    rig.pc.connect(16);
    rig.clock.advance(1ms);
    const Bytes raw = bytesOf("RTW53");
    rig.unit.sendRaw(raw, Nanos{rig.clock.now()});
    EXPECT_EQ(rig.pc.read(5), raw);
    EXPECT_EQ(rig.clock.now(), Micros{16ms}) << "on the wire until 6.2 ms, then the first tick";
}

TEST(LinkTiming, InstantMovesEveryByteAtOnce) {
    PacedRig rig(Pacing::Instant);
    rig.connectGreetAndHandshake(16, wire::kSendHandshake);
    EXPECT_EQ(rig.clock.now(), EmulatedUnit::kDefaultGreetingDelay);
    EXPECT_EQ(rig.sendAll(), Micros{0});
}

} // namespace
} // namespace rtw::sim
