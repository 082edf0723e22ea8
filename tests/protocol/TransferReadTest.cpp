// The Read transfer against the emulated unit on a fake clock.
#include "ImageTestSupport.h"
#include "TransferFakes.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

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

struct PacketOrderCase {
    const char* name;
    std::vector<ImageBlock> packets;
    std::function<void(DeviceConfig&)> change; // what the Read makes of the configuration
    int packetsTaken;
};

// The unit chooses the order and the set of packets; the Read ends after the first one at
// 4080 or above, and fields whose blocks did not come keep their values.
TEST(ReadTransfer, TakesPacketsInTheUnitsOrderUntilOneAtTheEnd) {
    std::vector<ImageBlock> someBlocks = {
        textBlockAt(0, "123"),
        blockAt(3024, {1, 5, 0x12, 3, 4, 6, 9, 19}),
        blockAt(0x0C00, {5, 'H', 'a', 'l', 'l', 'o', ' ', 'W'}),
    };
    for (std::uint16_t a = 0x0C10; a <= 0x0C70; a += 16) {
        someBlocks.push_back(blockAt(a, {}));
    }
    someBlocks.push_back(blockAt(4080, {9, 9})); // an area's last block with none open
    const PacketOrderCase cases[] = {
        {"clock block first", {blockAt(0x8080, {'2', '4', '/'})}, [](DeviceConfig&) {}, 1},
        {"some blocks, then the last", someBlocks,
         [](DeviceConfig& c) {
             c.setText("editPOV1_1", "123");
             c.setSelected("rbVST1_2", true);
             c.setSelected("rbVST2_1", true);
             const std::pair<const char*, const char*> numbers[] = {
                 {"spinINTERVAL", "5"}, {"spinCAS", "12"},   {"SpinCASRELE1", "3"},
                 {"SpinCASRELE2", "4"}, {"spinKREDIT", "6"}, {"spinDELAY1", "10"},
                 {"spinDELAY2", "20"},
             };
             for (const auto& [field, text] : numbers) {
                 c.setText(field, text);
             }
             c.setText("memoSMSV1", "Hallo");
         },
         11},
        {"the end before other packets",
         {textBlockAt(16, "2"), blockAt(4090, {}), textBlockAt(0, "late")},
         [](DeviceConfig& c) { c.setText("editPOV1_2", "2"); },
         2},
    };
    for (const PacketOrderCase& t : cases) {
        SCOPED_TRACE(t.name);
        TransferRig rig;
        std::size_t next = 0;
        rig.script.nextPacket = [&]() -> std::optional<ImageBlock> {
            if (next == t.packets.size()) {
                return std::nullopt;
            }
            return t.packets[next++];
        };
        DeviceConfig config = sampleConfig();
        DeviceConfig expected = sampleConfig();
        t.change(expected);

        EXPECT_EQ(rig.read(config), TransferResult::Done);
        EXPECT_EQ(differences(config, expected), "");
        EXPECT_EQ(next, static_cast<std::size_t>(t.packetsTaken));
        EXPECT_EQ(rig.script.acks, 1 + t.packetsTaken); // one after the handshake, one each
        EXPECT_TRUE(rig.messages.shown.empty());
        EXPECT_TRUE(rig.endedClean());
    }
}

TEST(ReadTransfer, UnitThatNeverReachesTheEndIsGivenUpOn) {
    TransferRig rig;
    rig.script.nextPacket = [] { return std::optional<ImageBlock>(textBlockAt(0, "1")); };
    DeviceConfig config = sampleConfig();
    EXPECT_EQ(rig.read(config), TransferResult::NoAnswer);
    EXPECT_EQ(differences(config, sampleConfig()), "");
    EXPECT_EQ(rig.script.acks, 1 + wire::kMaxReadPackets);
    ASSERT_EQ(rig.messages.shown.size(), 1U);
    EXPECT_EQ(rig.messages.shown[0].text, readNoAnswer());
    EXPECT_TRUE(rig.endedClean());
}

} // namespace
} // namespace rtw::test
