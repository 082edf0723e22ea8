#include "link/Connection.h"
#include "RecordingD2xx.h"
#include "RecordingSink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace rtw {
namespace {

using test::RecordingD2xx;
using test::RecordingSink;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::vector<std::string> kProbeAndOpen = {"OpenEx FT232R USB UART 2 -> #1", "Close #1",
                                                "OpenEx FT232R USB UART 2 -> #2",
                                                "GetDeviceInfo #2 null"};
const std::vector<std::string> kConfiguration = {"ResetDevice #2",
                                                 "SetBaudRate #2 9600",
                                                 "SetDataCharacteristics #2 8 0 0",
                                                 "SetFlowControl #2 0x0000 0 0",
                                                 "SetTimeouts #2 500 1000",
                                                 "SetLatencyTimer #2 2"};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Bench {
    RecordingD2xx chip;
    RecordingSink messages{chip};
    DeviceLink link{chip};
};

TEST(Connect, OpensChecksResetsAndConfiguresInOrder) {
    Bench bench;
    Connect(bench.link, bench.messages);
    EXPECT_TRUE(bench.link.connected);
    ASSERT_TRUE(bench.link.devicePort);
    EXPECT_TRUE(bench.link.devicePort->isOpen());
    EXPECT_THAT(bench.messages.shown, IsEmpty());
    EXPECT_THAT(bench.chip.calls, ElementsAreArray(joined(kProbeAndOpen, kConfiguration)));
    EXPECT_EQ(bench.chip.openHandles(), 1);
}

TEST(Connect, EveryFailureShowsItsMessageBeforeLettingTheChipGo) {
    struct Case {
        const char* name;
        std::function<void(RecordingD2xx&)> arrange;
        const char* message;
        std::vector<std::string> calls;
        int openWhileShown;
    };
    const std::vector<Case> cases = {
        {"no unit",
         [](RecordingD2xx& c) { c.attached = false; },
         "Nicht verbunden Wählgerät!",
         {"OpenEx FT232R USB UART 2"},
         0},
        {"no USB permission",
         [](RecordingD2xx& c) { c.fail("OpenEx", ftdi::FT_DEVICE_NOT_OPENED); },
         "Nicht verbunden Wählgerät!",
         {"OpenEx FT232R USB UART 2"},
         0},
        {"probe opens, open fails",
         [](RecordingD2xx& c) { c.fail("OpenEx", ftdi::FT_DEVICE_NOT_OPENED, 2); },
         "Verbindung vergeblich !",
         {"OpenEx FT232R USB UART 2 -> #1", "Close #1", "OpenEx FT232R USB UART 2"},
         0},
        {"info unreadable", [](RecordingD2xx& c) { c.fail("GetDeviceInfo", ftdi::FT_IO_ERROR); },
         "Beschädigt Schaltungen !", joined(kProbeAndOpen, {"Close #2"}), 1},
        {"2232H family", [](RecordingD2xx& c) { c.deviceType = ftdi::FT_DEVICE_2232H; },
         "Falsche USB-Gerät !", joined(kProbeAndOpen, {"Close #2"}), 1},
        {"BM family", [](RecordingD2xx& c) { c.deviceType = ftdi::FT_DEVICE_BM; },
         "Falsche USB-Gerät !", joined(kProbeAndOpen, {"Close #2"}), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        c.arrange(bench.chip);
        Connect(bench.link, bench.messages);
        EXPECT_FALSE(bench.link.connected);
        EXPECT_FALSE(bench.link.devicePort);
        EXPECT_EQ(bench.chip.openHandles(), 0);
        EXPECT_THAT(bench.chip.calls, ElementsAreArray(c.calls));
        ASSERT_THAT(bench.messages.texts(), ElementsAre(c.message));
        // The close, where there is one, comes only after the message was dismissed.
        const std::size_t closeAt = c.openWhileShown == 0 ? c.calls.size() : c.calls.size() - 1;
        EXPECT_EQ(bench.messages.shown[0].callsBefore, closeAt);
        EXPECT_EQ(bench.messages.shown[0].openHandles, c.openWhileShown);
    }
}

TEST(Connect, MessagesAreCp1252) {
    Bench bench;
    bench.chip.attached = false;
    Connect(bench.link, bench.messages);
    ASSERT_EQ(bench.messages.shown.size(), 1U);
    EXPECT_EQ(bench.messages.shown[0].cp1252, "Nicht verbunden W\xE4hlger\xE4t!");
}

TEST(Connect, FailedResetIsToldAndTheConnectionGoesOn) {
    Bench bench;
    bench.chip.fail("ResetDevice", ftdi::FT_IO_ERROR);
    Connect(bench.link, bench.messages);
    EXPECT_TRUE(bench.link.connected);
    EXPECT_THAT(bench.chip.calls, ElementsAreArray(joined(kProbeAndOpen, kConfiguration)));
    ASSERT_THAT(bench.messages.texts(), ElementsAre("reset error?"));
    // Shown right after the reset, before the line is configured.
    EXPECT_EQ(bench.messages.shown[0].callsBefore, kProbeAndOpen.size() + 1);
}

TEST(Connect, ConfigurationResultsAreIgnored) {
    Bench bench;
    for (const char* call : {"SetBaudRate", "SetDataCharacteristics", "SetFlowControl",
                             "SetTimeouts", "SetLatencyTimer"}) {
        bench.chip.fail(call, ftdi::FT_NOT_SUPPORTED);
    }
    Connect(bench.link, bench.messages);
    EXPECT_TRUE(bench.link.connected);
    EXPECT_THAT(bench.messages.shown, IsEmpty());
    EXPECT_THAT(bench.chip.calls, ElementsAreArray(joined(kProbeAndOpen, kConfiguration)));
}

TEST(Connect, WhileConnectedClosesTheOldPortFirst) {
    Bench bench;
    Connect(bench.link, bench.messages);
    bench.chip.calls.clear();
    Connect(bench.link, bench.messages);
    EXPECT_TRUE(bench.link.connected);
    EXPECT_EQ(bench.chip.openHandles(), 1);
    ASSERT_FALSE(bench.chip.calls.empty());
    EXPECT_EQ(bench.chip.calls[0], "Close #2");
    EXPECT_EQ(bench.chip.calls[1], "OpenEx FT232R USB UART 2 -> #3");
    EXPECT_EQ(bench.chip.calls.back(), "SetLatencyTimer #4 2");
}

TEST(Connect, APortLeftOpenAfterCancelIsClosedNotLost) {
    Bench bench;
    Connect(bench.link, bench.messages);
    bench.link.connected = false; // Cancel clears the flag and leaves the port alone
    Connect(bench.link, bench.messages);
    EXPECT_TRUE(bench.link.connected);
    EXPECT_EQ(bench.chip.openHandles(), 1);
}

TEST(Connect, WrongChipThenTheUnitConnectsWithoutRestart) {
    Bench bench;
    bench.chip.deviceType = ftdi::FT_DEVICE_2232C;
    Connect(bench.link, bench.messages);
    EXPECT_FALSE(bench.link.connected);
    bench.chip.deviceType = ftdi::FT_DEVICE_232R;
    Connect(bench.link, bench.messages);
    EXPECT_TRUE(bench.link.connected);
    EXPECT_THAT(bench.messages.texts(), ElementsAre("Falsche USB-Gerät !"));
}

TEST(Disconnect, ClosesAndDropsThePort) {
    Bench bench;
    Connect(bench.link, bench.messages);
    bench.chip.calls.clear();
    Disconnect(bench.link);
    EXPECT_FALSE(bench.link.connected);
    EXPECT_FALSE(bench.link.devicePort);
    EXPECT_THAT(bench.chip.calls, ElementsAre("Close #2"));
    EXPECT_EQ(bench.chip.openHandles(), 0);
}

TEST(Disconnect, AfterCancelClosesNormally) {
    Bench bench;
    Connect(bench.link, bench.messages);
    bench.link.connected = false;
    Disconnect(bench.link);
    EXPECT_FALSE(bench.link.devicePort);
    EXPECT_EQ(bench.chip.openHandles(), 0);
}

TEST(Disconnect, WithoutAPortOnlyClearsTheFlag) {
    Bench bench;
    bench.link.connected = true;
    Disconnect(bench.link);
    EXPECT_FALSE(bench.link.connected);
    EXPECT_THAT(bench.chip.calls, IsEmpty());
}

} // namespace
} // namespace rtw
