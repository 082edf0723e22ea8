// The emulated unit as the programmer and rtwctl attach it, on the machine's clock.
#include "sim/EmulatedLink.h"

#include "PcSide.h"
#include "SimTestHelpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace rtw::sim {
namespace {

using testing::Bytes;
using testing::bytesOf;
using testing::frame;

void connectAndGreet(testing::PcSide& pc) {
    pc.connect();
    ASSERT_EQ(pc.read(8), bytesOf(wire::kGreeting));
}

// A Send of one block.
void sendBlock(testing::PcSide& pc, const Bytes& block) {
    connectAndGreet(pc);
    pc.write({wire::kSendHandshake});
    ASSERT_EQ(pc.read(16).at(0), wire::kSendHandshakeAnswer);
    ASSERT_TRUE(pc.sendFrame(block));
    pc.close();
}

// The first packet of a Read: the block at address 0.
Bytes firstPacket(testing::PcSide& pc) {
    connectAndGreet(pc);
    pc.write({wire::kReadHandshake});
    EXPECT_EQ(pc.read(16).at(0), wire::kReadHandshakeAnswer);
    pc.write({wire::kAck});
    Bytes packet = pc.read(18);
    pc.close();
    return packet;
}

const Bytes kBlock = frame(0x0000, "\x03"
                                   "112");

class EmulatedLinkTest : public ::testing::TestWithParam<Pacing> {
protected:
    std::unique_ptr<ftdi::D2xxApi> link = makeEmulatedLink(GetParam());
    testing::PcSide pc{*link};
};

std::string pacingName(const ::testing::TestParamInfo<Pacing>& param) {
    return param.param == Pacing::Paced ? "Paced" : "Instant";
}

INSTANTIATE_TEST_SUITE_P(BothPacings, EmulatedLinkTest,
                         ::testing::Values(Pacing::Instant, Pacing::Paced), pacingName);

TEST_P(EmulatedLinkTest, OneUnitForEveryOpenOfTheLink) {
    sendBlock(pc, kBlock);
    EXPECT_EQ(firstPacket(pc), kBlock) << "a Read gives back what the Send wrote";
}

TEST_P(EmulatedLinkTest, EachLinkHasItsOwnUnit) {
    sendBlock(pc, kBlock);
    ASSERT_EQ(pc.open(), ftdi::FT_OK);
    const std::unique_ptr<ftdi::D2xxApi> other = makeEmulatedLink(GetParam());
    testing::PcSide second(*other);
    EXPECT_EQ(firstPacket(second), frame(0x0000, std::uint8_t{0}))
        << "opens while the first is held, and its memory is empty";
    pc.close();
}

TEST(EmulatedLinkPacing, PacedBytesTakeTheirTimeOnTheLine) {
    const std::unique_ptr<ftdi::D2xxApi> link = makeEmulatedLink(Pacing::Paced);
    testing::PcSide pc(*link);
    pc.connect();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(pc.read(8), bytesOf(wire::kGreeting));
    // Ten bits a byte at 9600 baud: the greeting cannot be there sooner.
    const auto wireTime = std::chrono::microseconds(8 * 10 * 1'000'000 / wire::kBaudRate);
    EXPECT_GE(std::chrono::steady_clock::now() - start, wireTime);
    pc.close();
}

} // namespace
} // namespace rtw::sim
