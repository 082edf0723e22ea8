// The unit's side of the protocol, byte by byte, without line timing.
#include "sim/EmulatedUnit.h"

#include "SimTestHelpers.h"

#include <gtest/gtest.h>

#include <chrono>

namespace rtw::sim {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::bytesOf;
using testing::dataOf;
using testing::frame;
using testing::joined;

class UnitTest : public ::testing::Test {
protected:
    // Starts a session at 0 and drops the greeting.
    void open() {
        unit.startSession(Nanos{0});
        (void)unit.takeEmissions();
    }
    Bytes feed(const Bytes& bytes, Nanos at = Nanos{1s}) {
        for (const auto byte : bytes) {
            unit.receive(byte, at);
        }
        return joined(unit.takeEmissions());
    }
    Bytes feed(std::uint8_t byte, Nanos at = Nanos{1s}) { return feed(Bytes{byte}, at); }
    // Opens a session and completes the send handshake.
    void openForSend() {
        open();
        ASSERT_EQ(feed(wire::kSendHandshake).at(0), wire::kSendHandshakeAnswer);
    }

    EmulatedUnit unit;
};

Bytes answer(std::uint8_t first) {
    Bytes out(wire::kHandshakeAnswerSize, 0x00);
    out[0] = first;
    return out;
}

TEST_F(UnitTest, GreetsOnceShortlyAfterEachSession) {
    unit.startSession(Nanos{5ms});
    const auto out = unit.takeEmissions();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes, bytesOf(wire::kGreeting));
    EXPECT_EQ(out[0].earliest, Nanos{5ms} + EmulatedUnit::kDefaultGreetingDelay);
    EXPECT_TRUE(unit.takeEmissions().empty());

    unit.startSession(Nanos{1s});
    EXPECT_EQ(joined(unit.takeEmissions()), bytesOf(wire::kGreeting));
    EXPECT_EQ(unit.stats().greetings, 2);
}

TEST_F(UnitTest, GreetingFaults) {
    unit.faults().noGreeting = true;
    unit.startSession(Nanos{0});
    EXPECT_TRUE(unit.takeEmissions().empty());

    unit.faults() = Faults{};
    unit.faults().greeting = "RTW53zeX";
    unit.startSession(Nanos{0});
    EXPECT_EQ(joined(unit.takeEmissions()), bytesOf("RTW53zeX"));

    unit.faults() = Faults{};
    unit.faults().lateGreeting = 3s;
    unit.startSession(Nanos{1s});
    EXPECT_EQ(unit.takeEmissions().at(0).earliest, Nanos{4s});

    unit.faults() = Faults{};
    unit.faults().splitGreeting = true;
    unit.startSession(Nanos{0});
    const auto split = unit.takeEmissions();
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].bytes, bytesOf("RTW53"));
    EXPECT_EQ(split[1].bytes, bytesOf("zem"));
    EXPECT_EQ(split[1].earliest - split[0].earliest, Nanos{unit.faults().splitGap});
}

TEST_F(UnitTest, SendStoresEchoesAndSetsTheClock) {
    openForSend();
    const Bytes first = frame(0x0000, "\x0a"
                                      "0123456789");
    EXPECT_EQ(feed(first), dataOf(first));
    const Bytes last = frame(0x0FF0, std::uint8_t{0x5A});
    EXPECT_EQ(feed(last), dataOf(last));
    EXPECT_EQ(unit.image().block(0x0000).data[0], 0x0A);
    EXPECT_EQ(unit.image().memory()[4095], 0x5A);

    EXPECT_FALSE(unit.clock().has_value());
    const Bytes clock = frame(wire::kClockBlock, "24/03/05,07:09");
    EXPECT_EQ(feed(clock), dataOf(clock));
    ASSERT_TRUE(unit.clock().has_value());
    EXPECT_EQ(unit.clock()->year, 2024);
    EXPECT_EQ(unit.clock()->month, 3);
    EXPECT_EQ(unit.clock()->day, 5);
    EXPECT_EQ(unit.clock()->hour, 7);
    EXPECT_EQ(unit.clock()->minute, 9);
    EXPECT_EQ(unit.stats().sendsCompleted, 1);
    EXPECT_EQ(unit.receivedFrames().size(), 3u);
    EXPECT_EQ(unit.receivedFrames().back().address, wire::kClockBlock);
}

TEST_F(UnitTest, MalformedClockTextIsEchoedButLeavesTheClock) {
    openForSend();
    (void)feed(frame(wire::kClockBlock, "24/03/05,07:09"));
    for (const auto* text :
         {"24/13/05,07:09", "24-03-05,07:09", "24/03/05,24:00", "2a/03/05,07:09"}) {
        const Bytes bad = frame(wire::kClockBlock, text);
        EXPECT_EQ(feed(bad), dataOf(bad)) << text;
        EXPECT_EQ(unit.clock()->month, 3) << text;
    }
}

TEST_F(UnitTest, BlocksOutsideTheMemoryAreEchoedNotStored) {
    openForSend();
    const auto before = unit.image().memory();
    const Bytes outside = frame(0x1000, std::uint8_t{0xEE});
    EXPECT_EQ(feed(outside), dataOf(outside));
    EXPECT_EQ(unit.image().memory(), before);
}

TEST_F(UnitTest, ReadSendsEveryBlockInOrderOnePerAcknowledge) {
    for (std::size_t i = 0; i < wire::kMemorySize; ++i) {
        unit.image().memory()[i] = static_cast<std::uint8_t>(i / wire::kBlockSize);
    }
    open();
    EXPECT_EQ(feed(wire::kReadHandshake), answer(wire::kReadHandshakeAnswer));
    for (std::uint16_t address = 0; address <= wire::kLastImageBlock; address += 16) {
        const Bytes packet = feed(wire::kAck);
        ASSERT_EQ(packet.size(), wire::kFrameSize);
        EXPECT_EQ(packet[0] << 8 | packet[1], address);
        EXPECT_EQ(packet[17], static_cast<std::uint8_t>(address / 16));
    }
    EXPECT_TRUE(feed(wire::kAck).empty()) << "the last acknowledge of a Read ends it";
    EXPECT_EQ(unit.stats().readsCompleted, 1);

    EXPECT_EQ(feed(wire::kReadHandshake), answer(wire::kReadHandshakeAnswer));
    EXPECT_EQ(feed(wire::kAck).at(1), 0x00) << "a new handshake starts at block 0";
}

TEST_F(UnitTest, UnexpectedBytesAreIgnored) {
    open();
    EXPECT_TRUE(feed(Bytes{wire::kAck, 0x00, 0x42, 0xFF}).empty()) << "no transfer open";

    EXPECT_EQ(feed(wire::kReadHandshake), answer(wire::kReadHandshakeAnswer));
    EXPECT_TRUE(feed(Bytes{0x00, 0x06, 0xFF}).empty()) << "only acknowledges move a Read";
    EXPECT_EQ(feed(wire::kAck).size(), wire::kFrameSize);

    EXPECT_EQ(feed(wire::kSendHandshake), answer(wire::kSendHandshakeAnswer))
        << "a handshake byte between packets starts a new transfer";
    const Bytes block = frame(0x0100, std::uint8_t{0x11});
    EXPECT_EQ(feed(block), dataOf(block));
}

TEST_F(UnitTest, AFrameCutShortIsDroppedAfterAGap) {
    openForSend();
    const Bytes block = frame(0x0200, std::uint8_t{0x33});
    EXPECT_TRUE(feed(Bytes(block.begin(), block.begin() + 7), Nanos{1s}).empty());
    EXPECT_EQ(feed(block, Nanos{2s}), dataOf(block));
    EXPECT_EQ(unit.receivedFrames().size(), 1u);
}

TEST_F(UnitTest, ClosedOrNewSessionForgetsTheTransfer) {
    openForSend();
    unit.endSession();
    EXPECT_TRUE(feed(frame(0x0000, std::uint8_t{1})).empty());
    open();
    EXPECT_TRUE(feed(frame(0x0000, std::uint8_t{1})).empty()) << "no handshake in this session";
    EXPECT_EQ(unit.stats().sessions, 2);
}

TEST_F(UnitTest, HandshakeAnswerFaults) {
    unit.faults().wrongHandshakeAnswers = 2;
    unit.faults().shortHandshakeAnswers = 1;
    for (const auto handshake : {wire::kSendHandshake, wire::kReadHandshake}) {
        open();
        EXPECT_EQ(feed(handshake).at(0), 0x15);
        EXPECT_TRUE(feed(frame(0x0010, std::uint8_t{1})).empty()) << "still no transfer";
        EXPECT_EQ(feed(handshake).at(0), 0x15);
        EXPECT_EQ(feed(handshake).size(), 10u);
        EXPECT_EQ(feed(handshake).size(), wire::kHandshakeAnswerSize);
    }
}

TEST_F(UnitTest, EchoFaultsHitTheChosenFrameAndAttempt) {
    unit.faults().echoFaults = {{0x0020, 1, EchoFaultKind::Corrupt, 0},
                                {0x0030, 0, EchoFaultKind::Short, 10}};
    openForSend();
    const Bytes a = frame(0x0020, std::uint8_t{0x41});
    Bytes corrupted = dataOf(a);
    corrupted[0] ^= 0xFF;
    EXPECT_EQ(feed(a), corrupted);
    EXPECT_EQ(feed(a), dataOf(a)) << "the second attempt is echoed right";

    const Bytes b = frame(0x0030, std::uint8_t{0x42});
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(feed(b), Bytes(10, 0x42));
    }
    EXPECT_EQ(unit.image().memory()[0x30], 0x42) << "the unit got the frame";
    const Bytes c = frame(0x0040, std::uint8_t{0x43});
    EXPECT_EQ(feed(c), dataOf(c));
}

TEST_F(UnitTest, StopsAnsweringAfterNFramesOrPackets) {
    unit.faults().stopAnsweringAfter = 2;
    openForSend();
    EXPECT_EQ(feed(frame(0x0000, std::uint8_t{1})).size(), 16u);
    EXPECT_EQ(feed(frame(0x0010, std::uint8_t{1})).size(), 16u);
    EXPECT_TRUE(feed(frame(0x0020, std::uint8_t{1})).empty());
    EXPECT_TRUE(feed(wire::kSendHandshake).empty()) << "silent until the port opens again";
    EXPECT_EQ(unit.image().memory()[0x20], 0x00);

    open();
    EXPECT_EQ(feed(wire::kReadHandshake).size(), 16u);
    EXPECT_EQ(feed(wire::kAck).size(), 18u);
    EXPECT_EQ(feed(wire::kAck).size(), 18u);
    EXPECT_TRUE(feed(wire::kAck).empty());
}

TEST_F(UnitTest, SilentFromTheStartOrOnceTheLimitIsReachedEvenForHandshakes) {
    unit.faults().stopAnsweringAfter = 0;
    open();
    EXPECT_TRUE(feed(wire::kSendHandshake).empty());
    EXPECT_TRUE(feed(wire::kReadHandshake).empty());

    unit.faults().stopAnsweringAfter = 1;
    openForSend();
    EXPECT_EQ(feed(frame(0x0000, std::uint8_t{1})).size(), 16u);
    EXPECT_TRUE(feed(wire::kReadHandshake).empty()) << "the one answer was the echo";
}

TEST_F(UnitTest, RawBytesGoOutAsSentAndLeaveTheProtocolAlone) {
    const Bytes raw{wire::kSendHandshakeAnswer, 0x00, 0xAA, 0xFF};
    unit.sendRaw(raw, Nanos{1s});
    EXPECT_TRUE(unit.takeEmissions().empty()) << "no session";

    openForSend();
    unit.sendRaw(raw, Nanos{2s});
    const auto out = unit.takeEmissions();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes, raw);
    EXPECT_EQ(out[0].earliest, Nanos{2s});
    const Bytes block = frame(0x0010, std::uint8_t{0x22});
    EXPECT_EQ(feed(block, Nanos{2s}), dataOf(block)) << "still in the send";
}

TEST_F(UnitTest, EveryReceivedByteIsLoggedOnceIgnoredOnesIncluded) {
    unit.receive(0x42, Nanos{0});
    open();
    (void)feed(Bytes{wire::kAck, wire::kReadHandshake, wire::kAck});
    EXPECT_EQ(unit.takeReceivedBytes(),
              (Bytes{0x42, wire::kAck, wire::kReadHandshake, wire::kAck}));
    EXPECT_TRUE(unit.takeReceivedBytes().empty());
    (void)feed(0x01);
    unit.clearLog();
    EXPECT_TRUE(unit.takeReceivedBytes().empty());
}

TEST_F(UnitTest, PacketFaults) {
    unit.faults().packetFaults = {{0x0010, PacketFaultKind::Short, 17},
                                  {0x0020, PacketFaultKind::Split, 10}};
    open();
    (void)feed(wire::kReadHandshake);
    EXPECT_EQ(feed(wire::kAck).size(), 18u);
    EXPECT_EQ(feed(wire::kAck).size(), 17u);
    unit.receive(wire::kAck, Nanos{1s});
    const auto split = unit.takeEmissions();
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].bytes.size(), 10u);
    EXPECT_EQ(split[1].bytes.size(), 8u);
    EXPECT_EQ(split[1].earliest, Nanos{1s} + unit.faults().splitGap);
    EXPECT_EQ(feed(wire::kAck).at(1), 0x30);
}

} // namespace
} // namespace rtw::sim
