#include "link/tftdichip.h"
#include "RecordingD2xx.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <stdexcept>
#include <string>

namespace rtw {
namespace {

using test::RecordingD2xx;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kChip = "FT232R USB UART";

// Expects the operation to raise exactly this message and the library to hear nothing.
void expectMisuse(RecordingD2xx& library, const std::function<void()>& operation,
                  const std::string& message) {
    const std::size_t before = library.calls.size();
    try {
        operation();
        ADD_FAILURE() << "no exception, expected " << message;
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), message);
    }
    EXPECT_EQ(library.calls.size(), before) << message;
}

TEST(Tftdichip, NewPortIsClosedAndMakesNoCall) {
    RecordingD2xx library;
    tftdichip port(library);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.handle(), nullptr);
    EXPECT_THAT(library.calls, IsEmpty());
}

TEST(Tftdichip, OpenCloseAndReopen) {
    RecordingD2xx library;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    EXPECT_TRUE(port.isOpen());
    port.closeDevice();
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    EXPECT_THAT(library.calls, ElementsAre("OpenEx FT232R USB UART 2 -> #1", "Close #1",
                                           "OpenEx FT232R USB UART 2 -> #2"));
}

TEST(Tftdichip, FailedOpenLeavesThePortClosed) {
    RecordingD2xx library;
    library.attached = false;
    tftdichip port(library);
    EXPECT_FALSE(port.openDeviceByDescription(kChip));
    EXPECT_FALSE(port.isOpen());
    expectMisuse(
        library, [&] { port.closeDevice(); }, "tftdichip.closeDevice: Not open");
}

TEST(Tftdichip, MisuseOfOpenAndClose) {
    RecordingD2xx library;
    tftdichip port(library);
    expectMisuse(
        library, [&] { port.closeDevice(); }, "tftdichip.closeDevice: Not open");

    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    const ftdi::FT_HANDLE handle = port.handle();
    expectMisuse(
        library, [&] { static_cast<void>(port.openDeviceByDescription(kChip)); },
        "tftdichip.openDeviceByDescription: Already open");
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.handle(), handle);

    port.closeDevice();
    expectMisuse(
        library, [&] { port.closeDevice(); }, "tftdichip.closeDevice: Not open");
}

TEST(Tftdichip, CloseIgnoresTheLibrarysStatus) {
    RecordingD2xx library;
    library.fail("Close", ftdi::FT_IO_ERROR);
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    port.closeDevice();
    EXPECT_FALSE(port.isOpen());
}

TEST(Tftdichip, PresenceProbeLeavesNothingOpenAndThePortAsItWas) {
    RecordingD2xx library;
    tftdichip port(library);
    EXPECT_TRUE(port.isDevicePresent(kChip));
    EXPECT_EQ(library.openHandles(), 0);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.handle(), nullptr);

    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    const ftdi::FT_HANDLE handle = port.handle();
    EXPECT_TRUE(port.isDevicePresent(kChip));
    EXPECT_EQ(library.openHandles(), 1);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.handle(), handle);
    EXPECT_THAT(library.calls, ElementsAre("OpenEx FT232R USB UART 2 -> #1", "Close #1",
                                           "OpenEx FT232R USB UART 2 -> #2",
                                           "OpenEx FT232R USB UART 2 -> #3", "Close #3"));
}

TEST(Tftdichip, PresenceProbeIsTheStatusOfTheOpen) {
    RecordingD2xx library;
    library.fail("Close", ftdi::FT_IO_ERROR);
    tftdichip port(library);
    EXPECT_TRUE(port.isDevicePresent(kChip));
    EXPECT_FALSE(port.isDevicePresent("USB Serial Converter"));
    library.attached = false;
    EXPECT_FALSE(port.isDevicePresent(kChip));
    EXPECT_THAT(library.callNames(), ElementsAre("OpenEx", "Close", "OpenEx", "OpenEx"));
}

TEST(Tftdichip, BaudRateCodes) {
    constexpr std::array<std::uint32_t, 14> rates = {300,    600,    1200,   2400,  4800,
                                                     9600,   14400,  19200,  38400, 57600,
                                                     115200, 230400, 460800, 921600};
    RecordingD2xx library;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    for (std::uint8_t code = 0; code < rates.size(); ++code) {
        EXPECT_TRUE(port.setBaudRate(BaudRateCode{code}));
        EXPECT_EQ(library.calls.back(), "SetBaudRate #1 " + std::to_string(rates[code]));
    }
    for (std::uint8_t code : {14, 255}) {
        expectMisuse(
            library, [&] { static_cast<void>(port.setBaudRate(BaudRateCode{code})); },
            "tftdichip.setBaudRate: Invalid baud rate");
    }
}

TEST(Tftdichip, DataCharacteristicsCodes) {
    struct Case {
        std::uint8_t wordLength, stopBits, parity;
        std::string call;
    };
    const Case cases[] = {
        {0, 0, 0, "SetDataCharacteristics #1 8 0 0"}, {0, 1, 0, "SetDataCharacteristics #1 8 2 0"},
        {1, 0, 1, "SetDataCharacteristics #1 7 0 1"}, {0, 0, 2, "SetDataCharacteristics #1 8 0 2"},
        {0, 0, 3, "SetDataCharacteristics #1 8 0 3"}, {1, 1, 4, "SetDataCharacteristics #1 7 2 4"},
    };
    RecordingD2xx library;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    for (const Case& c : cases) {
        EXPECT_TRUE(port.setDataCharacteristics(WordLength{c.wordLength}, StopBits{c.stopBits},
                                                Parity{c.parity}));
        EXPECT_EQ(library.calls.back(), c.call);
    }
}

TEST(Tftdichip, DataCharacteristicsMisuseNamesTheFirstBadCode) {
    struct Case {
        std::uint8_t wordLength, stopBits, parity;
        const char* message;
    };
    const Case cases[] = {
        {2, 2, 5, "tftdichip.setDataCharacteristics: Invalid wordLength"},
        {0, 2, 5, "tftdichip.setDataCharacteristics: Invalid stopBits"},
        {0, 0, 5, "tftdichip.setDataCharacteristics: Invalid parity"},
        {1, 1, 255, "tftdichip.setDataCharacteristics: Invalid parity"},
    };
    RecordingD2xx library;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    for (const Case& c : cases) {
        expectMisuse(
            library,
            [&] {
                static_cast<void>(port.setDataCharacteristics(
                    WordLength{c.wordLength}, StopBits{c.stopBits}, Parity{c.parity}));
            },
            c.message);
    }
}

TEST(Tftdichip, FlowControlCodes) {
    RecordingD2xx library;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    const char* expected[] = {"SetFlowControl #1 0x0000 17 19", "SetFlowControl #1 0x0100 17 19",
                              "SetFlowControl #1 0x0200 17 19", "SetFlowControl #1 0x0400 17 19"};
    for (std::uint8_t code = 0; code < 4; ++code) {
        EXPECT_TRUE(port.setFlowControl(FlowControl{code}, 17, 19));
        EXPECT_EQ(library.calls.back(), expected[code]);
    }
    expectMisuse(
        library, [&] { static_cast<void>(port.setFlowControl(FlowControl{4}, 0, 0)); },
        "tftdichip.setFlowControl: Invalid flowcontrol");
}

TEST(Tftdichip, EveryOperationReportsTheLibrarysStatus) {
    struct Case {
        const char* call;
        std::function<bool(tftdichip&)> operation;
    };
    std::uint32_t count = 0;
    std::array<std::uint8_t, 4> bytes{};
    const Case cases[] = {
        {"SetBaudRate", [](tftdichip& p) { return p.setBaudRate(kBaud9600); }},
        {"SetDataCharacteristics",
         [](tftdichip& p) {
             return p.setDataCharacteristics(kEightDataBits, kOneStopBit, kNoParity);
         }},
        {"SetFlowControl", [](tftdichip& p) { return p.setFlowControl(kNoFlowControl, 0, 0); }},
        {"SetTimeouts", [](tftdichip& p) { return p.setTimeouts(500, 1000); }},
        {"ResetDevice", [](tftdichip& p) { return p.resetDevice(); }},
        {"SetLatencyTimer", [](tftdichip& p) { return p.setLatencyTimer(2); }},
        {"Read", [&](tftdichip& p) { return p.read(bytes.data(), 4, count); }},
        {"Write", [&](tftdichip& p) { return p.write(bytes.data(), 4, count); }},
    };
    for (const Case& c : cases) {
        for (const ftdi::FT_STATUS status :
             {ftdi::FT_OK, ftdi::FT_IO_ERROR, ftdi::FT_OTHER_ERROR}) {
            RecordingD2xx library;
            if (status != ftdi::FT_OK) {
                library.fail(c.call, status);
            }
            tftdichip port(library);
            ASSERT_TRUE(port.openDeviceByDescription(kChip));
            EXPECT_EQ(c.operation(port), status == ftdi::FT_OK) << c.call << " " << status;
            EXPECT_EQ(library.callNames().back(), c.call);
            EXPECT_TRUE(port.isOpen());
        }
    }
}

TEST(Tftdichip, TimeoutsAndLatencyPassThrough) {
    RecordingD2xx library;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    EXPECT_TRUE(port.setTimeouts(500, 1000));
    EXPECT_TRUE(port.setLatencyTimer(2));
    EXPECT_THAT(library.calls, ElementsAre("OpenEx FT232R USB UART 2 -> #1",
                                           "SetTimeouts #1 500 1000", "SetLatencyTimer #1 2"));
}

TEST(Tftdichip, DeviceInfoFoldsUnknownFamilies) {
    struct Case {
        std::uint32_t libraryType;
        std::uint8_t reported;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3},   {4, 4},
                          {5, 5}, {6, 3}, {9, 3}, {200, 3}, {0xFFFFFFFF, 3}};
    for (const Case& c : cases) {
        RecordingD2xx library;
        library.deviceType = c.libraryType;
        tftdichip port(library);
        ASSERT_TRUE(port.openDeviceByDescription(kChip));
        DeviceType type{};
        std::uint16_t productId = 0;
        std::uint16_t vendorId = 0;
        std::string serial;
        std::string text;
        ASSERT_TRUE(port.getDeviceInfo(type, productId, vendorId, serial, text));
        EXPECT_EQ(static_cast<int>(type), c.reported) << c.libraryType;
    }
}

TEST(Tftdichip, DeviceInfoSplitsTheIdAndReadsTheTexts) {
    RecordingD2xx library;
    library.deviceId = 0x12345678;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    DeviceType type{};
    std::uint16_t productId = 0;
    std::uint16_t vendorId = 0;
    std::string serial;
    std::string text;
    ASSERT_TRUE(port.getDeviceInfo(type, productId, vendorId, serial, text));
    EXPECT_EQ(vendorId, 0x1234);
    EXPECT_EQ(productId, 0x5678);
    EXPECT_EQ(serial, "A9XK3TQ1");
    EXPECT_EQ(text, "FT232R USB UART");
    EXPECT_EQ(library.calls.back(), "GetDeviceInfo #1 null");

    library.fail("GetDeviceInfo", ftdi::FT_IO_ERROR);
    EXPECT_FALSE(port.getDeviceInfo(type, productId, vendorId, serial, text));
}

TEST(Tftdichip, DeviceInfoStaysInsideItsBuffersWhenTheLibraryFillsThem) {
    RecordingD2xx library;
    library.overfillInfo = true; // writes 17 and 65 bytes, no terminator
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    DeviceType type{};
    std::uint16_t productId = 0;
    std::uint16_t vendorId = 0;
    std::string serial;
    std::string text;
    ASSERT_TRUE(port.getDeviceInfo(type, productId, vendorId, serial, text));
    EXPECT_EQ(serial, std::string(17, 'S'));
    EXPECT_EQ(text, std::string(65, 'D'));
}

TEST(Tftdichip, ReadOfSixteenWhenFiveArriveLeavesTheRestAsItWas) {
    RecordingD2xx library;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    library.toPc = {'R', 'T', 'W', '5', '3'};
    std::array<std::uint8_t, 16> buffer;
    buffer.fill(0x20);
    std::uint32_t count = 99;
    EXPECT_TRUE(port.read(buffer.data(), 16, count));
    EXPECT_EQ(count, 5U);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "RTW53           ");
    EXPECT_EQ(library.calls.back(), "Read #1 16");
}

TEST(Tftdichip, WriteReportsTheCount) {
    RecordingD2xx library;
    tftdichip port(library);
    ASSERT_TRUE(port.openDeviceByDescription(kChip));
    const std::array<std::uint8_t, 2> frame = {0xAA, 0x60};
    std::uint32_t count = 0;
    EXPECT_TRUE(port.write(frame.data(), 2, count));
    EXPECT_EQ(count, 2U);
    EXPECT_THAT(library.fromPc, ElementsAre(0xAA, 0x60));
}

TEST(Tftdichip, ReleasingAnOpenPortMakesNoCall) {
    RecordingD2xx library;
    {
        tftdichip port(library);
        ASSERT_TRUE(port.openDeviceByDescription(kChip));
    }
    EXPECT_THAT(library.calls, ElementsAre("OpenEx FT232R USB UART 2 -> #1"));
    EXPECT_EQ(library.openHandles(), 1);
}

} // namespace
} // namespace rtw
