// The Send transfer against the emulated unit on a fake clock.
#include "TransferFakes.h"
#include "protocol/TransferSteps.h"

#include "protocol/ConfigImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace rtw::test {
namespace {

std::array<std::uint8_t, wire::kMemorySize> memoryOf(const DeviceConfig& config) {
    ConfigImage image;
    for (const ImageBlock& block : EncodeImage(config)) {
        image.store(block);
    }
    return image.memory();
}

std::string sendNoAnswer() {
    return cp("Das Wählgerät antwortet nicht. Die Konfiguration wurde nicht vollständig "
              "gesendet!");
}

// How often each address was written, in the order the frames went out.
int framesAt(const sim::EmulatedUnit& unit, std::uint16_t address) {
    const auto& frames = unit.receivedFrames();
    return static_cast<int>(std::count_if(
        frames.begin(), frames.end(), [&](const ImageBlock& b) { return b.address == address; }));
}

struct ConfigCase {
    const char* name;
    DeviceConfig config;
};

TEST(SendTransfer, WritesEveryImageBlockAndTheClock) {
    const ConfigCase cases[] = {{"sample", sampleConfig()}, {"cleared", DeviceConfig()}};
    for (const ConfigCase& c : cases) {
        SCOPED_TRACE(c.name);
        TransferRig rig;
        EXPECT_EQ(rig.send(c.config), TransferResult::Done);
        EXPECT_TRUE(rig.messages.shown.empty());
        EXPECT_TRUE(rig.endedClean());

        EXPECT_EQ(rig.unit.image().memory(), memoryOf(c.config));
        std::vector<ImageBlock> expected = EncodeImage(c.config);
        expected.push_back(EncodeClockBlock(rig.localTime));
        EXPECT_EQ(rig.unit.receivedFrames(), expected); // each once, in address order
        ASSERT_TRUE(rig.unit.clock().has_value());
        EXPECT_EQ(EncodeClockBlock(*rig.unit.clock()), EncodeClockBlock(rig.localTime));
    }
}

TEST(SendTransfer, DialogPhasesGaugeAndPump) {
    TransferRig rig;
    ASSERT_EQ(rig.send(sampleConfig()), TransferResult::Done);

    const EventLog opening = {"show",
                              "window disabled",
                              "timer started",
                              "caption Sende Daten",
                              "gauge hidden",
                              "cancel shown",
                              "label Enwarte ich Antwort...",
                              "timer stopped",
                              "cancel hidden",
                              "gauge shown",
                              "gauge 0",
                              "label Sende Daten.Bitte warten..."};
    ASSERT_GE(rig.log.size(), opening.size());
    EXPECT_EQ(EventLog(rig.log.begin(), rig.log.begin() + opening.size()), opening);
    const EventLog closing = {"hide", "window enabled"};
    EXPECT_EQ(EventLog(rig.log.end() - 2, rig.log.end()), closing);

    // The gauge follows every image block once and stays full for the clock block.
    std::vector<int> expected = {0};
    for (int a = 0; a <= wire::kLastImageBlock; a += 16) {
        if (a != wire::kUnusedBlock1 && a != wire::kUnusedBlock2) {
            expected.push_back(a);
        }
    }
    EXPECT_EQ(rig.view.gaugeValues, expected);
    // Once each in the greeting wait and the handshake, twice per block attempt.
    EXPECT_EQ(rig.host.pumps, 2 + 2 * 255);
}

TEST(SendTransfer, InvalidConfigurationIsRefusedBeforeConnecting) {
    TransferRig rig;
    DeviceConfig config;
    config.setText("spinCAS", "24");
    config.setText("spinDELAY1", "");
    EXPECT_EQ(rig.send(config), TransferResult::Invalid);

    ASSERT_EQ(rig.messages.shown.size(), 1U);
    const std::string& text = rig.messages.shown[0].text;
    const std::string header = cp("Die Konfiguration kann nicht gesendet werden:");
    EXPECT_EQ(text.substr(0, header.size()), header);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text; // one line per problem
    EXPECT_EQ(rig.backend.operationCount(), 0);
    EXPECT_EQ(rig.log.size(), 1U); // the message alone: no dialog, no window change
}

struct RepeatCase {
    const char* name;
    std::uint16_t address;
    std::function<void(sim::Faults&)> fault;
};

struct RetryCase {
    const char* name;
    std::uint16_t address;
    std::function<void(sim::Faults&)> fault;
    int framesAtAddress; // whole frames the unit got; a frame cut short is not one
};

TEST(SendTransfer, FaultyEchoOrShortWriteRepeatsTheSameFrame) {
    const RetryCase cases[] = {
        {"corrupt echo", 16,
         [](sim::Faults& f) {
             f.echoFaults.push_back({16, 1, sim::EchoFaultKind::Corrupt});
         },
         2},
        {"short echo in an SMS area", 0x0C80,
         [](sim::Faults& f) {
             f.echoFaults.push_back({0x0C80, 1, sim::EchoFaultKind::Short, 10});
         },
         2},
        // Write call 1 is the handshake byte, so call 5 carries the block at 48.
        {"write taken in part", 48,
         [](sim::Faults& f) {
             f.partialWrites.push_back({5, 1, 10});
         },
         1},
        {"clock block echo", wire::kClockBlock,
         [](sim::Faults& f) {
             f.echoFaults.push_back({wire::kClockBlock, 1, sim::EchoFaultKind::Corrupt});
         },
         2},
    };
    for (const RetryCase& c : cases) {
        SCOPED_TRACE(c.name);
        TransferRig rig;
        c.fault(rig.backend.faults());
        const DeviceConfig config = sampleConfig();
        EXPECT_EQ(rig.send(config), TransferResult::Done);
        EXPECT_TRUE(rig.messages.shown.empty());
        EXPECT_EQ(rig.unit.image().memory(), memoryOf(config));
        EXPECT_EQ(framesAt(rig.unit, c.address), c.framesAtAddress);
        if (c.address <= wire::kLastImageBlock) {
            const auto& g = rig.view.gaugeValues;
            EXPECT_EQ(std::count(g.begin(), g.end(), c.address), 2); // shown again on repeat
        }
    }
}

TEST(SendTransfer, UnitThatStopsAnsweringEndsTheSend) {
    const RepeatCase cases[] = {
        {"every echo of one block wrong", 0x100,
         [](sim::Faults& f) {
             f.echoFaults.push_back({0x100, 0, sim::EchoFaultKind::Corrupt});
         }},
        {"every clock echo short", wire::kClockBlock,
         [](sim::Faults& f) {
             f.echoFaults.push_back({wire::kClockBlock, 0, sim::EchoFaultKind::Short, 3});
         }},
        {"silent after 30 blocks", 30 * 16, [](sim::Faults& f) { f.stopAnsweringAfter = 30; }},
    };
    for (const RepeatCase& c : cases) {
        SCOPED_TRACE(c.name);
        TransferRig rig;
        c.fault(rig.backend.faults());
        EXPECT_EQ(rig.send(sampleConfig()), TransferResult::NoAnswer);
        ASSERT_EQ(rig.messages.shown.size(), 1U);
        EXPECT_EQ(rig.messages.shown[0].text, sendNoAnswer());
        EXPECT_FALSE(rig.messages.shown[0].portHeld);
        EXPECT_FALSE(rig.messages.shown[0].dialogVisible);
        EXPECT_TRUE(rig.messages.shown[0].mainEnabled);
        EXPECT_TRUE(rig.endedClean());
        // The block was tried exactly as often as the limit allows, and nothing after it.
        if (c.address <= wire::kLastImageBlock) {
            const auto& g = rig.view.gaugeValues;
            EXPECT_EQ(std::count(g.begin(), g.end(), c.address), wire::kMaxBlockAttempts);
            EXPECT_EQ(g.back(), c.address);
        } else {
            EXPECT_EQ(framesAt(rig.unit, c.address), wire::kMaxBlockAttempts);
        }
    }
}

TEST(SendTransfer, WritesRefusedInARowEndTheSend) {
    TransferRig rig;
    rig.backend.faults().partialWrites.push_back({5, wire::kMaxBlockAttempts, 0});
    EXPECT_EQ(rig.send(sampleConfig()), TransferResult::NoAnswer);
    EXPECT_EQ(rig.messages.shown.size(), 1U);
    EXPECT_TRUE(rig.endedClean());
    // Each attempt waits out the write and the read time-out, nothing longer.
    EXPECT_LE(rig.elapsed(), wire::kMaxBlockAttempts * 1500ms + 1s);
}

TEST(SendTransfer, RepeatedClockBlockCarriesTheNewMinute) {
    TransferRig rig;
    rig.backend.faults().echoFaults.push_back({wire::kClockBlock, 1, sim::EchoFaultKind::Corrupt});
    int reads = 0;
    rig.context.clock = [&] {
        ++reads;
        return reads == 1 ? LocalDateTime{2024, 3, 5, 7, 9} : LocalDateTime{2024, 3, 5, 7, 10};
    };
    EXPECT_EQ(rig.send(sampleConfig()), TransferResult::Done);
    EXPECT_EQ(reads, 2);
    ASSERT_TRUE(rig.unit.clock().has_value());
    EXPECT_EQ(rig.unit.clock()->minute, 10);
}

// A dialog that breaks half-way: the exception still leaves nothing open.
class ThrowingView final : public ProgressView {
public:
    explicit ThrowingView(TransferRig& rig)
        : ProgressView(rig.link, rig.flags, rig.host), m_inner(rig.view) {}
    void show() override { m_inner.show(); }
    void hide() override { m_inner.hide(); }
    void setCaption(std::string_view t) override { m_inner.setCaption(t); }
    void setLabel(std::string_view t) override { m_inner.setLabel(t); }
    void setGaugeVisible(bool v) override { m_inner.setGaugeVisible(v); }
    void setGaugeValue(int value) override {
        if (value == 0x200) {
            throw std::runtime_error("repaint failed");
        }
        m_inner.setGaugeValue(value);
    }
    void setCancelVisible(bool v) override { m_inner.setCancelVisible(v); }

private:
    FakeView& m_inner;
};

TEST(SendTransfer, ExceptionStillClosesHidesAndEnables) {
    TransferRig rig;
    ThrowingView view(rig);
    TransferContext context{rig.link, rig.flags, view, rig.host, rig.messages, rig.context.clock};
    EXPECT_THROW(static_cast<void>(btnSendClick(context, sampleConfig())), std::runtime_error);
    EXPECT_TRUE(rig.endedClean());
}

TEST(SendTransfer, BlockLongerThanSixteenBytesIsMisuse) {
    TransferRig rig;
    const std::array<std::uint8_t, 17> tooLong{};
    try {
        static_cast<void>(SendTxString(rig.context, tooLong));
        FAIL() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "SendTxString: a block holds at most 16 bytes");
    }
}

} // namespace
} // namespace rtw::test
