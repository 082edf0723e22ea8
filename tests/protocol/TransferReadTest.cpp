// The Read transfer against the emulated unit on a fake clock.
#include "ImageTestSupport.h"
#include "TransferFakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace rtw::test {
namespace {

std::string readNoAnswer() {
    return cp("Das Wählgerät antwortet nicht. Die Konfiguration wurde nicht gelesen!");
}

// The unit's memory as a Send of config leaves it.
void loadUnit(sim::EmulatedUnit& unit, const DeviceConfig& config) {
    ConfigImage image;
    for (const ImageBlock& block : EncodeImage(config)) {
        image.store(block);
    }
    unit.loadMemory(image.memory());
}

TEST(ReadTransfer, SendThenReadGivesTheConfigurationBack) {
    TransferRig rig;
    const DeviceConfig sent = sampleConfig();
    ASSERT_EQ(rig.send(sent), TransferResult::Done);

    DeviceConfig received;
    EXPECT_EQ(rig.read(received), TransferResult::Done);
    EXPECT_EQ(differences(received, sent), "");
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_TRUE(rig.endedClean());
}

TEST(ReadTransfer, DialogPhasesAcknowledgesGaugeAndPump) {
    TransferRig rig;
    DeviceConfig config;
    ASSERT_EQ(rig.read(config), TransferResult::Done);

    const EventLog opening = {"show",
                              "window disabled",
                              "timer started",
                              "caption Laden Daten",
                              "gauge hidden",
                              "cancel shown",
                              "label Enwarte ich Antwort...",
                              "timer stopped",
                              "cancel hidden",
                              "gauge 0",
                              "gauge shown",
                              "label Laden Daten.Bitte warten..."};
    ASSERT_GE(rig.log.size(), opening.size());
    EXPECT_EQ(EventLog(rig.log.begin(), rig.log.begin() + opening.size()), opening);
    const EventLog closing = {"hide", "window enabled"};
    EXPECT_EQ(EventLog(rig.log.end() - 2, rig.log.end()), closing);

    // One acknowledge after the handshake, one per packet; the Read stops after 4080.
    // The unit counts the acknowledges that asked for a packet; the gauge shows the one
    // after the last packet too.
    EXPECT_EQ(rig.unit.stats().packetsSent, 256);
    EXPECT_EQ(rig.unit.stats().acksReceived, 256);
    // 0 as the data phase opens and after the first acknowledge, then each packet's address.
    std::vector<int> expected = {0, 0};
    for (int a = 0; a <= wire::kLastImageBlock; a += 16) {
        expected.push_back(a);
    }
    EXPECT_EQ(rig.view.gaugeValues, expected);
    // Greeting, handshake, then once per packet read and once per acknowledge.
    EXPECT_EQ(rig.host.pumps, 2 + 256 + 257);
}

TEST(ReadTransfer, ConfigurationChangesOnlyOnceTheLastPacketIsIn) {
    TransferRig rig;
    loadUnit(rig.unit, sampleConfig());
    DeviceConfig config;
    int changes = 0;
    config.addObserver([&](const FieldChange&) {
        ++changes;
        EXPECT_EQ(rig.unit.stats().packetsSent, 256);
    });
    EXPECT_EQ(rig.read(config), TransferResult::Done);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(differences(config, sampleConfig()), "");
}

struct ReadFailure {
    const char* name;
    std::function<void(sim::Faults&)> fault;
};

TEST(ReadTransfer, UnitThatStopsSendingLeavesTheConfigurationAsItWas) {
    // Write call 1 is the handshake byte, call 2 the first acknowledge.
    const ReadFailure cases[] = {
        {"silent after 40 packets", [](sim::Faults& f) { f.stopAnsweringAfter = 40; }},
        {"short packet in an SMS area",
         [](sim::Faults& f) {
             f.packetFaults.push_back({0x0C10, sim::PacketFaultKind::Short});
         }},
        {"packet split over two reads",
         [](sim::Faults& f) {
             f.packetFaults.push_back({0x0500, sim::PacketFaultKind::Split});
         }},
        {"acknowledge refused every time",
         [](sim::Faults& f) {
             f.partialWrites.push_back({20, wire::kMaxAckAttempts, 0});
         }},
        {"last packet short",
         [](sim::Faults& f) {
             f.packetFaults.push_back({wire::kLastImageBlock, sim::PacketFaultKind::Short});
         }},
    };
    for (const ReadFailure& c : cases) {
        SCOPED_TRACE(c.name);
        TransferRig rig;
        loadUnit(rig.unit, sampleConfig());
        c.fault(rig.backend.faults());
        DeviceConfig config;
        config.setText("editPOV1_1", "777");
        const DeviceConfig before(config);
        int changes = 0;
        config.addObserver([&](const FieldChange&) { ++changes; });

        EXPECT_EQ(rig.read(config), TransferResult::NoAnswer);
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(differences(config, before), "");
        ASSERT_EQ(rig.messages.shown.size(), 1U);
        EXPECT_EQ(rig.messages.shown[0].text, readNoAnswer());
        EXPECT_FALSE(rig.messages.shown[0].portHeld);
        EXPECT_FALSE(rig.messages.shown[0].dialogVisible);
        EXPECT_TRUE(rig.messages.shown[0].mainEnabled);
        EXPECT_TRUE(rig.endedClean());
        // About the limit's worth of read or write time-outs, not more.
        EXPECT_LE(rig.elapsed(), wire::kMaxPacketReads * 1000ms + 2s);
    }
}

TEST(ReadTransfer, RefusedAcknowledgeIsWrittenAgain) {
    TransferRig rig;
    loadUnit(rig.unit, sampleConfig());
    rig.backend.faults().partialWrites.push_back({20, 3, 0});
    DeviceConfig config;
    EXPECT_EQ(rig.read(config), TransferResult::Done);
    EXPECT_EQ(rig.unit.stats().acksReceived, 256); // no packet was asked for twice
    EXPECT_EQ(differences(config, sampleConfig()), "");
}

TEST(ReadTransfer, ShortPacketIsDroppedAndNotAcknowledged) {
    TransferRig rig;
    loadUnit(rig.unit, sampleConfig());
    // The unit sends the packet at 0x200 cut to 17 bytes, then repeats nothing: the Read
    // must not acknowledge the stump, and so it ends without the rest.
    rig.backend.faults().packetFaults.push_back({0x200, sim::PacketFaultKind::Short, 17});
    DeviceConfig config;
    EXPECT_EQ(rig.read(config), TransferResult::NoAnswer);
    EXPECT_EQ(rig.unit.stats().acksReceived, 1 + 0x200 / 16);
    EXPECT_EQ(rig.view.gaugeValues.back(), 0x200 - 16);
}

} // namespace
} // namespace rtw::test
