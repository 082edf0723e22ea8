#include "link/AutoBackend.h"
#include "RecordingD2xx.h"
#include "RecordingSink.h"
#include "link/Backends.h"
#include "link/Connection.h"
#include "link/PosixSerial.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

namespace rtw {
namespace {

using link::AutoBackend;
using link::BackendFactory;
using test::RecordingD2xx;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

char kChip[] = "FT232R USB UART";

// A way to the unit that hands out a fake chip the test keeps watching.
struct FakeWay {
    RecordingD2xx* chip = nullptr; // the fake once made
    int made = 0;
    bool installed = true;
    bool attached = true;

    BackendFactory factory() {
        return [this]() -> std::unique_ptr<ftdi::D2xxApi> {
            ++made;
            if (!installed) {
                return nullptr;
            }
            auto fake = std::make_unique<RecordingD2xx>();
            fake->attached = attached;
            chip = fake.get();
            return fake;
        };
    }
};

TEST(AutoBackend, TheFirstWayThatOpensKeepsTheDevice) {
    FakeWay vendor;
    vendor.installed = false;
    FakeWay libftdi;
    libftdi.attached = false; // looks, finds nothing
    FakeWay tty;
    AutoBackend automatic({vendor.factory(), libftdi.factory(), tty.factory()});
    EXPECT_EQ(vendor.made + libftdi.made + tty.made, 0); // nothing made before it is needed

    ftdi::FT_HANDLE h = nullptr;
    ASSERT_EQ(automatic.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &h), ftdi::FT_OK);
    ASSERT_NE(tty.chip, nullptr);
    EXPECT_EQ(automatic.FT_SetBaudRate(h, 9600), ftdi::FT_OK);
    std::uint32_t count = 0;
    const std::array<std::uint8_t, 1> byte = {0x60};
    EXPECT_EQ(automatic.FT_Write(h, byte.data(), 1, &count), ftdi::FT_OK);
    EXPECT_EQ(automatic.FT_Close(h), ftdi::FT_OK);
    EXPECT_THAT(libftdi.chip->calls, ElementsAre("OpenEx FT232R USB UART 2"));
    EXPECT_THAT(tty.chip->calls, ElementsAre("OpenEx FT232R USB UART 2 -> #1",
                                             "SetBaudRate #1 9600", "Write #1 1", "Close #1"));

    // A closed handle belongs to nobody.
    EXPECT_EQ(automatic.FT_SetBaudRate(h, 9600), ftdi::FT_INVALID_HANDLE);
    EXPECT_EQ(automatic.FT_Close(h), ftdi::FT_INVALID_HANDLE);

    // Each way is made once; a missing library is not looked for again.
    ASSERT_EQ(automatic.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &h), ftdi::FT_OK);
    EXPECT_EQ(vendor.made, 1);
    EXPECT_EQ(libftdi.made, 1);
    EXPECT_EQ(tty.made, 1);
}

TEST(AutoBackend, NoWayFindsTheUnit) {
    FakeWay libftdi;
    libftdi.attached = false;
    AutoBackend automatic({libftdi.factory()});
    ftdi::FT_HANDLE h = nullptr;
    EXPECT_EQ(automatic.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &h),
              ftdi::FT_DEVICE_NOT_FOUND);
    AutoBackend none({});
    EXPECT_EQ(none.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &h), ftdi::FT_DEVICE_NOT_FOUND);
}

TEST(AutoBackend, ConnectWhenNothingCanLookSaysNotConnected) {
    FakeWay vendor;
    vendor.installed = false;
    FakeWay libftdi;
    libftdi.installed = false;
    AutoBackend automatic({vendor.factory(), libftdi.factory()});
    RecordingD2xx unused;
    test::RecordingSink messages(unused);
    DeviceLink link(automatic);
    Connect(link, messages);
    EXPECT_FALSE(link.connected);
    EXPECT_THAT(messages.texts(), ElementsAre("Nicht verbunden Wählgerät!"));
}

TEST(AutoBackend, ConnectGoesThroughTheWayThatFoundTheUnit) {
    FakeWay vendor;
    vendor.attached = false;
    FakeWay libftdi;
    AutoBackend automatic({vendor.factory(), libftdi.factory()});
    RecordingD2xx unused;
    test::RecordingSink messages(unused);
    DeviceLink link(automatic);
    Connect(link, messages);
    EXPECT_TRUE(link.connected);
    EXPECT_THAT(messages.shown, IsEmpty());
    EXPECT_EQ(libftdi.chip->calls.back(), "SetLatencyTimer #2 2");
    Disconnect(link);
    EXPECT_EQ(libftdi.chip->openHandles(), 0);
}

TEST(ChooseBackend, OneDecisionForEveryWay) {
    RecordingD2xx* emulated = nullptr;
    LinkOptions options;
    options.serialPath = "/dev/ttyUSB0";
    options.emulatedUnit = [&]() -> std::unique_ptr<ftdi::D2xxApi> {
        auto unit = std::make_unique<RecordingD2xx>();
        emulated = unit.get();
        return unit;
    };
    const auto chosen = chooseBackend(options);
    EXPECT_EQ(chosen.get(), emulated);

    options.emulatedUnit = nullptr;
    EXPECT_NE(dynamic_cast<link::PosixSerial*>(chooseBackend(options).get()), nullptr);
    options.serialPath.clear();
    EXPECT_NE(dynamic_cast<AutoBackend*>(chooseBackend(options).get()), nullptr);
}

} // namespace
} // namespace rtw
