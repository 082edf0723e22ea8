#include "link/LibFtdi.h"
#include "FakeFtdi.h"
#include "RecordingSink.h"
#include "link/Connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace rtw {
namespace {

using link::FtdiChip;
using link::LibFtdi;
using test::FakeUsbBus;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

char kChip[] = "FT232R USB UART";

struct LibFtdiBench {
    FakeUsbBus bus;
    LibFtdi library{bus.factory(), bus.clock()};

    ftdi::FT_HANDLE open() {
        ftdi::FT_HANDLE handle = nullptr;
        EXPECT_EQ(library.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &handle), ftdi::FT_OK);
        bus.calls.clear();
        return handle;
    }
};

TEST(LibFtdi, OpensTheDeviceWithTheDescriptionAmongTheChipsIds) {
    LibFtdiBench bench;
    bench.bus.devices = {{true, "USB Serial Converter", "X1"},
                         {false, "", ""}, // no permission to ask it
                         {true, "FT232R USB UART", "A9XK3TQ1"}};
    ftdi::FT_HANDLE handle = nullptr;
    ASSERT_EQ(bench.library.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &handle), ftdi::FT_OK);
    EXPECT_THAT(bench.bus.calls, ElementsAre("findAll 0403 6001", "open 2"));

    std::uint32_t type = 0;
    std::uint32_t id = 0;
    std::array<char, 17> serial{};
    std::array<char, 65> description{};
    ASSERT_EQ(bench.library.FT_GetDeviceInfo(handle, &type, &id, serial.data(), description.data(),
                                             nullptr),
              ftdi::FT_OK);
    EXPECT_EQ(type, ftdi::FT_DEVICE_232R);
    EXPECT_EQ(id, 0x04036001U);
    EXPECT_STREQ(serial.data(), "A9XK3TQ1");
    EXPECT_STREQ(description.data(), "FT232R USB UART");

    EXPECT_EQ(bench.library.FT_Close(handle), ftdi::FT_OK);
    EXPECT_EQ(bench.bus.calls.back(), "close");
    EXPECT_EQ(bench.bus.liveContexts, 0);
}

TEST(LibFtdi, ChipFamilyFromTheChipType) {
    const std::pair<FtdiChip, std::uint32_t> cases[] = {
        {FtdiChip::AM, 1},     {FtdiChip::BM, 0},      {FtdiChip::FT2232C, 4},
        {FtdiChip::R, 5},      {FtdiChip::FT2232H, 6}, {FtdiChip::FT4232H, 7},
        {FtdiChip::FT232H, 8}, {FtdiChip::FT230X, 9},  {static_cast<FtdiChip>(42), 3},
    };
    for (const auto& [chip, type] : cases) {
        EXPECT_EQ(link::deviceTypeOf(chip), type) << static_cast<int>(chip);
    }
}

TEST(LibFtdi, OpenFailures) {
    struct Case {
        const char* name;
        std::function<void(FakeUsbBus&)> arrange;
        ftdi::FT_STATUS status;
    };
    const Case cases[] = {
        {"no USB stack", [](FakeUsbBus& b) { b.usbAvailable = false; }, ftdi::FT_DEVICE_NOT_FOUND},
        {"search fails", [](FakeUsbBus& b) { b.findResult = -3; }, ftdi::FT_DEVICE_NOT_FOUND},
        {"no such chip", [](FakeUsbBus& b) { b.devices.clear(); }, ftdi::FT_DEVICE_NOT_FOUND},
        {"other description",
         [](FakeUsbBus& b) {
             b.devices = {{true, "FT232R USB UART ", "X"}};
         },
         ftdi::FT_DEVICE_NOT_FOUND},
        {"no permission",
         [](FakeUsbBus& b) {
             b.devices = {{false, "", ""}};
         },
         ftdi::FT_DEVICE_NOT_FOUND},
        {"busy", [](FakeUsbBus& b) { b.openResult = -5; }, ftdi::FT_DEVICE_NOT_OPENED},
    };
    for (const Case& c : cases) {
        LibFtdiBench bench;
        c.arrange(bench.bus);
        ftdi::FT_HANDLE handle = nullptr;
        EXPECT_EQ(bench.library.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &handle), c.status)
            << c.name;
        EXPECT_EQ(bench.bus.liveContexts, 0) << c.name;
    }
    LibFtdiBench bench;
    ftdi::FT_HANDLE handle = nullptr;
    EXPECT_EQ(bench.library.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_SERIAL_NUMBER, &handle),
              ftdi::FT_INVALID_PARAMETER);
}

TEST(LibFtdi, ConnectConfiguresTheChipThroughLibftdi) {
    FakeUsbBus bus;
    LibFtdi library(bus.factory(), bus.clock());
    DeviceLink link(library);
    struct Silent : MessageSink {
        std::vector<std::string> texts;
        void showMessage(std::string_view text) override { texts.emplace_back(text); }
    } messages;
    Connect(link, messages);
    EXPECT_TRUE(link.connected);
    EXPECT_THAT(messages.texts, IsEmpty());
    // The reset and the line settings go out under libftdi's own USB time-outs, which
    // also bound those control requests; only Connect's time-outs replace them.
    EXPECT_THAT(bus.calls, ElementsAre("findAll 0403 6001", "open 0", "close", "findAll 0403 6001",
                                       "open 0", "usbReset", "setFlowControl 0", "setBaudrate 9600",
                                       "setLineProperty 8 0 0", "setFlowControl 0",
                                       "setUsbTimeouts 500 1000", "setLatencyTimer 2"));
    Disconnect(link);
    EXPECT_EQ(bus.calls.back(), "close");
    EXPECT_EQ(bus.liveContexts, 0);
}

TEST(LibFtdi, LineCallsTranslateOrRefuse) {
    LibFtdiBench bench;
    const ftdi::FT_HANDLE h = bench.open();
    EXPECT_EQ(bench.library.FT_SetDataCharacteristics(h, 7, 2, 4), ftdi::FT_OK);
    EXPECT_EQ(bench.library.FT_SetFlowControl(h, 0x0100, 0, 0), ftdi::FT_OK);
    EXPECT_EQ(bench.library.FT_SetFlowControl(h, 0x0400, 17, 19), ftdi::FT_OK);
    EXPECT_THAT(bench.bus.calls, ElementsAre("setLineProperty 7 2 4", "setFlowControl 256",
                                             "setFlowControlXonXoff 17 19"));
    bench.bus.calls.clear();
    EXPECT_EQ(bench.library.FT_SetDataCharacteristics(h, 9, 0, 0), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(bench.library.FT_SetDataCharacteristics(h, 8, 1, 0), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(bench.library.FT_SetDataCharacteristics(h, 8, 0, 5), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(bench.library.FT_SetFlowControl(h, 0x0300, 0, 0), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(bench.library.FT_SetBaudRate(h, 0), ftdi::FT_INVALID_BAUD_RATE);
    EXPECT_THAT(bench.bus.calls, IsEmpty());

    bench.bus.failingResult = -1;
    EXPECT_EQ(bench.library.FT_SetBaudRate(h, 9600), ftdi::FT_IO_ERROR);
    EXPECT_EQ(bench.library.FT_ResetDevice(h), ftdi::FT_IO_ERROR);
    EXPECT_EQ(bench.library.FT_SetLatencyTimer(h, 2), ftdi::FT_IO_ERROR);
}

TEST(LibFtdi, ReadGathersEarlyReturnsUntilAllHaveArrived) {
    LibFtdiBench bench;
    const ftdi::FT_HANDLE h = bench.open();
    ASSERT_EQ(bench.library.FT_SetTimeouts(h, 500, 1000), ftdi::FT_OK);
    bench.bus.arrive({1, 2, 3, 4, 5});
    bench.bus.arrive({});
    bench.bus.arrive({6, 7, 8, 9, 10, 11});
    bench.bus.arrive({12, 13, 14, 15, 16, 17, 18}); // more than asked: the rest stays queued
    std::array<std::uint8_t, 16> buffer{};
    std::uint32_t count = 0;
    const auto start = bench.bus.now;
    ASSERT_EQ(bench.library.FT_Read(h, buffer.data(), 16, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 16U);
    EXPECT_EQ(buffer[15], 16);
    EXPECT_EQ(bench.bus.now - start, 4 * bench.bus.latency);

    ASSERT_EQ(bench.library.FT_Read(h, buffer.data(), 2, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 2U);
    EXPECT_EQ(buffer[0], 17);
}

TEST(LibFtdi, ReadEndsAtItsOwnDeadline) {
    LibFtdiBench bench;
    const ftdi::FT_HANDLE h = bench.open();
    ASSERT_EQ(bench.library.FT_SetTimeouts(h, 500, 1000), ftdi::FT_OK);
    EXPECT_EQ(bench.bus.calls.back(), "setUsbTimeouts 500 1000");
    bench.bus.arrive({'R', 'T', 'W', '5', '3'});
    std::array<std::uint8_t, 16> buffer;
    buffer.fill(0x20);
    std::uint32_t count = 0;
    const auto start = bench.bus.now;
    ASSERT_EQ(bench.library.FT_Read(h, buffer.data(), 16, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 5U);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "RTW53           ");
    const auto waited = bench.bus.now - start;
    EXPECT_GE(waited, std::chrono::milliseconds(500));
    EXPECT_LT(waited, std::chrono::milliseconds(500) + 2 * bench.bus.latency);
}

TEST(LibFtdi, ReadWithoutTimeoutTakesOneTransfer) {
    LibFtdiBench bench;
    const ftdi::FT_HANDLE h = bench.open();
    bench.bus.arrive({1, 2});
    bench.bus.arrive({3});
    std::array<std::uint8_t, 8> buffer{};
    std::uint32_t count = 0;
    ASSERT_EQ(bench.library.FT_Read(h, buffer.data(), 8, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 2U);
}

TEST(LibFtdi, UnpluggedChipFailsTheReadWithWhatCameBefore) {
    LibFtdiBench bench;
    const ftdi::FT_HANDLE h = bench.open();
    ASSERT_EQ(bench.library.FT_SetTimeouts(h, 500, 1000), ftdi::FT_OK);
    bench.bus.arrive({1, 2, 3});
    bench.bus.readFailureAfter = 1;
    std::array<std::uint8_t, 8> buffer{};
    std::uint32_t count = 0;
    EXPECT_EQ(bench.library.FT_Read(h, buffer.data(), 8, &count), ftdi::FT_IO_ERROR);
    EXPECT_EQ(count, 3U);
}

TEST(LibFtdi, WriteReportsWhatWentOut) {
    LibFtdiBench bench;
    const ftdi::FT_HANDLE h = bench.open();
    const std::array<std::uint8_t, 3> bytes = {0xAA, 0x0B, 0xC0};
    std::uint32_t count = 99;
    ASSERT_EQ(bench.library.FT_Write(h, bytes.data(), 3, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 3U);
    EXPECT_THAT(bench.bus.written, ElementsAre(0xAA, 0x0B, 0xC0));
    bench.bus.failingResult = -1;
    EXPECT_EQ(bench.library.FT_Write(h, bytes.data(), 3, &count), ftdi::FT_IO_ERROR);
    EXPECT_EQ(count, 0U);
}

TEST(LibFtdi, UnknownHandlesAreRefused) {
    LibFtdiBench bench;
    const ftdi::FT_HANDLE h = bench.open();
    ASSERT_EQ(bench.library.FT_Close(h), ftdi::FT_OK);
    std::uint32_t count = 0;
    std::array<std::uint8_t, 1> byte{};
    EXPECT_EQ(bench.library.FT_Close(h), ftdi::FT_INVALID_HANDLE);
    EXPECT_EQ(bench.library.FT_Read(h, byte.data(), 1, &count), ftdi::FT_INVALID_HANDLE);
    EXPECT_EQ(bench.library.FT_Write(h, byte.data(), 1, &count), ftdi::FT_INVALID_HANDLE);
    EXPECT_EQ(bench.library.FT_SetBaudRate(h, 9600), ftdi::FT_INVALID_HANDLE);
    EXPECT_EQ(bench.library.FT_SetLatencyTimer(h, 2), ftdi::FT_INVALID_HANDLE);
}

} // namespace
} // namespace rtw
