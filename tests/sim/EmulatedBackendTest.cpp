// The emulated unit behind the D2XX-shaped seam, on a fake clock without line time.
#include "sim/EmulatedBackend.h"

#include "PcSide.h"
#include "SimTestHelpers.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace rtw::sim {
namespace {

using namespace std::chrono_literals;
using ftdi::FT_HANDLE;
using ftdi::FT_STATUS;
using testing::Bytes;
using testing::bytesOf;
using testing::dataOf;
using testing::frame;

class BackendTest : public ::testing::Test {
protected:
    FakeClock clock;
    EmulatedUnit unit;
    EmulatedBackend port{unit, clock};
    testing::PcSide pc{port};

    // Connects and takes the greeting.
    void connectAndGreet() {
        pc.connect();
        ASSERT_EQ(pc.read(8), bytesOf(wire::kGreeting));
    }
};

TEST_F(BackendTest, OpensOnlyByTheUnitsDescriptionOrSerialNumber) {
    struct Case {
        std::uint32_t flags;
        std::string name;
        FT_STATUS status;
    };
    const Case cases[] = {
        {ftdi::FT_OPEN_BY_DESCRIPTION, "FT232R USB UART", ftdi::FT_OK},
        {ftdi::FT_OPEN_BY_SERIAL_NUMBER, EmulatedBackend::kSerialNumber, ftdi::FT_OK},
        {ftdi::FT_OPEN_BY_DESCRIPTION, "FT232R USB UAR", ftdi::FT_DEVICE_NOT_FOUND},
        {ftdi::FT_OPEN_BY_DESCRIPTION, "ft232r usb uart", ftdi::FT_DEVICE_NOT_FOUND},
        {ftdi::FT_OPEN_BY_SERIAL_NUMBER, "FT232R USB UART", ftdi::FT_DEVICE_NOT_FOUND},
        {ftdi::FT_OPEN_BY_LOCATION, "FT232R USB UART", ftdi::FT_DEVICE_NOT_FOUND},
    };
    for (auto c : cases) {
        FT_HANDLE handle = nullptr;
        EXPECT_EQ(port.FT_OpenEx(c.name.data(), c.flags, &handle), c.status) << c.name;
        EXPECT_EQ(port.isOpen(), c.status == ftdi::FT_OK);
        if (port.isOpen()) {
            EXPECT_EQ(port.FT_Close(handle), ftdi::FT_OK);
        }
    }
}

TEST_F(BackendTest, OneHandleAtATimeAndClosedHandlesAreInvalid) {
    ASSERT_EQ(pc.open(), ftdi::FT_OK);
    const FT_HANDLE first = pc.handle();
    testing::PcSide other(port);
    EXPECT_EQ(other.open(), ftdi::FT_DEVICE_NOT_OPENED);
    pc.close();
    EXPECT_FALSE(port.isOpen());
    std::uint32_t count = 7;
    std::uint8_t byte = 0;
    EXPECT_EQ(port.FT_Read(first, &byte, 1, &count), ftdi::FT_INVALID_HANDLE);
    EXPECT_EQ(port.FT_Close(first), ftdi::FT_INVALID_HANDLE);
    ASSERT_EQ(pc.open(), ftdi::FT_OK);
    EXPECT_NE(pc.handle(), first);
}

TEST_F(BackendTest, ReportsAnFt232r) {
    ASSERT_EQ(pc.open(), ftdi::FT_OK);
    std::uint32_t type = 0;
    std::uint32_t id = 0;
    char serial[17] = {};
    char description[65] = {};
    ASSERT_EQ(port.FT_GetDeviceInfo(pc.handle(), &type, &id, serial, description, nullptr),
              ftdi::FT_OK);
    EXPECT_EQ(type, ftdi::FT_DEVICE_232R);
    EXPECT_EQ(id, 0x04036001u);
    EXPECT_STREQ(serial, EmulatedBackend::kSerialNumber);
    EXPECT_STREQ(description, "FT232R USB UART");

    port.faults().deviceType = ftdi::FT_DEVICE_2232C;
    ASSERT_EQ(port.FT_GetDeviceInfo(pc.handle(), &type, &id, serial, description, nullptr),
              ftdi::FT_OK);
    EXPECT_EQ(type, ftdi::FT_DEVICE_2232C);
}

TEST_F(BackendTest, ReadReturnsWhenNBytesArrivedOrTheTimeOutRanOut) {
    pc.connect();
    const auto start = clock.now();
    EXPECT_EQ(pc.read(8), bytesOf(wire::kGreeting));
    EXPECT_EQ(clock.now() - start, EmulatedUnit::kDefaultGreetingDelay);

    EXPECT_TRUE(pc.read(16).empty());
    EXPECT_EQ(clock.now() - start, EmulatedUnit::kDefaultGreetingDelay + 500ms);
}

TEST_F(BackendTest, AShortReadFillsOnlyTheStartOfTheBuffer) {
    unit.faults().greeting = "RTW53";
    pc.connect();
    Bytes buffer(16, 0xEE);
    std::uint32_t count = 0;
    const auto start = clock.now();
    ASSERT_EQ(port.FT_Read(pc.handle(), buffer.data(), 16, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 5), bytesOf("RTW53"));
    EXPECT_EQ(Bytes(buffer.begin() + 5, buffer.end()), Bytes(11, 0xEE));
    EXPECT_EQ(clock.now() - start, 500ms);
}

TEST_F(BackendTest, AConnectionGetsExactlyOneGreeting) {
    pc.connect();
    EXPECT_EQ(pc.read(16), bytesOf(wire::kGreeting));
}

// The greeting wait as a transfer runs it: reads of 8 bytes until one brings all 8 or
// 2000 ms have passed. Which reads the greeting faults give it, and what the last brought.
TEST_F(BackendTest, GreetingFaultsAsTheGreetingWaitSeesThem) {
    struct Case {
        const char* name;
        void (*set)(Faults&);
        std::vector<std::size_t> reads;
        bool greeted;
    };
    const Case cases[] = {
        {"healthy", [](Faults&) {}, {8}, true},
        {"none", [](Faults& f) { f.noGreeting = true; }, {0, 0, 0, 0}, false},
        {"wrong", [](Faults& f) { f.greeting = "RTW53zeX"; }, {8}, false},
        {"seven bytes", [](Faults& f) { f.greeting = "RTW53ze"; }, {7, 0, 0, 0}, false},
        {"split", [](Faults& f) { f.splitGreeting = true; }, {5, 3, 0, 0}, false},
        {"late", [](Faults& f) { f.lateGreeting = 2500ms; }, {0, 0, 0, 0}, false},
        {"a little late", [](Faults& f) { f.lateGreeting = 700ms; }, {0, 8}, true},
    };
    for (const auto& c : cases) {
        FakeClock fake;
        EmulatedUnit fresh;
        c.set(fresh.faults());
        EmulatedBackend device(fresh, fake);
        testing::PcSide side(device);
        side.connect();
        const auto start = fake.now();
        std::vector<std::size_t> reads;
        Bytes last;
        do {
            last = side.read(8);
            reads.push_back(last.size());
        } while (last.size() < 8 && fake.now() - start < 2000ms);
        EXPECT_EQ(reads, c.reads) << c.name;
        EXPECT_EQ(last == bytesOf(wire::kGreeting), c.greeted) << c.name;
    }
}

TEST_F(BackendTest, ResetPurgesAndGreetsAgain) {
    pc.connect();
    clock.advance(100ms); // the greeting waits unread
    ASSERT_EQ(port.FT_ResetDevice(pc.handle()), ftdi::FT_OK);
    const auto reset = clock.now();
    EXPECT_EQ(pc.read(16), bytesOf(wire::kGreeting));
    EXPECT_EQ(port.resetCount(), 2);
    EXPECT_EQ(unit.stats().sessions, 4) << "probe, open, two resets";
    EXPECT_GE(clock.now() - reset, EmulatedUnit::kDefaultGreetingDelay);
}

TEST_F(BackendTest, MemorySurvivesClosingThePort) {
    connectAndGreet();
    pc.write({wire::kSendHandshake});
    ASSERT_EQ(pc.read(16).at(0), wire::kSendHandshakeAnswer);
    const Bytes block = frame(0x0000, "\x05"
                                      "12345");
    ASSERT_TRUE(pc.sendFrame(block));
    pc.close();

    connectAndGreet();
    pc.write({wire::kReadHandshake});
    ASSERT_EQ(pc.read(16).at(0), wire::kReadHandshakeAnswer);
    pc.write({wire::kAck});
    EXPECT_EQ(pc.read(18), block);
}

TEST_F(BackendTest, KeepsTheLineSettingsAndRefusesInvalidOnes) {
    pc.connect();
    const PortSettings& settings = port.portSettings();
    EXPECT_EQ(settings.baudRate, 9600u);
    EXPECT_EQ(settings.readTimeoutMs, 500u);
    EXPECT_EQ(settings.writeTimeoutMs, 1000u);
    EXPECT_EQ(settings.latencyTimerMs, 2);

    const FT_HANDLE h = pc.handle();
    EXPECT_EQ(port.FT_SetFlowControl(h, 0x0100, 0x11, 0x13), ftdi::FT_OK);
    EXPECT_EQ(settings.flowControl, 0x0100);
    EXPECT_EQ(port.FT_ResetDevice(h), ftdi::FT_OK);
    EXPECT_EQ(settings.flowControl, 0) << "a reset turns flow control off";
    EXPECT_EQ(settings.baudRate, 9600u) << "and keeps the rest";

    EXPECT_EQ(port.FT_SetDataCharacteristics(h, 6, 0, 0), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(port.FT_SetDataCharacteristics(h, 8, 1, 0), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(port.FT_SetDataCharacteristics(h, 8, 0, 5), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(port.FT_SetLatencyTimer(h, 1), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(settings.latencyTimerMs, 2);
}

TEST_F(BackendTest, AnotherLineSpeedReachesNothing) {
    connectAndGreet();
    ASSERT_EQ(port.FT_SetBaudRate(pc.handle(), 19200), ftdi::FT_OK);
    pc.write({wire::kSendHandshake});
    EXPECT_TRUE(pc.read(16).empty());
    ASSERT_EQ(port.FT_SetBaudRate(pc.handle(), 9600), ftdi::FT_OK);
    pc.write({wire::kSendHandshake});
    EXPECT_EQ(pc.read(16).size(), 16u);
}

TEST_F(BackendTest, ReadingForEverWithoutATimeOutIsMisuse) {
    ASSERT_EQ(pc.open(), ftdi::FT_OK);
    EXPECT_EQ(pc.read(8), bytesOf(wire::kGreeting)) << "no time-out: waits for the bytes";
    std::uint8_t byte = 0;
    std::uint32_t count = 0;
    EXPECT_THROW((void)port.FT_Read(pc.handle(), &byte, 1, &count), std::logic_error);
}

TEST_F(BackendTest, DeviceFaults) {
    unit.faults().noDevice = true;
    EXPECT_EQ(pc.open(), ftdi::FT_DEVICE_NOT_FOUND);

    unit.faults() = Faults{};
    unit.faults().openFailsFrom = 3; // FT_OpenEx calls: 1 found no device, 2 works, 3 fails
    ASSERT_EQ(pc.open(), ftdi::FT_OK);
    pc.close();
    EXPECT_EQ(pc.open(), ftdi::FT_DEVICE_NOT_OPENED);
    EXPECT_FALSE(port.isOpen());

    unit.faults() = Faults{};
    unit.faults().deviceInfoFails = true;
    ASSERT_EQ(pc.open(), ftdi::FT_OK);
    std::uint32_t type = 0;
    std::uint32_t id = 0;
    EXPECT_NE(port.FT_GetDeviceInfo(pc.handle(), &type, &id, nullptr, nullptr, nullptr),
              ftdi::FT_OK);
    pc.close();
}

TEST_F(BackendTest, AFailedResetChangesNothing) {
    unit.faults().resetFails = true;
    ASSERT_EQ(pc.open(), ftdi::FT_OK);
    ASSERT_EQ(port.FT_SetTimeouts(pc.handle(), 500, 1000), ftdi::FT_OK);
    clock.advance(100ms);
    EXPECT_NE(port.FT_ResetDevice(pc.handle()), ftdi::FT_OK);
    EXPECT_EQ(port.resetCount(), 0);
    EXPECT_EQ(pc.read(8), bytesOf(wire::kGreeting)) << "the greeting of the open is still there";
}

TEST_F(BackendTest, APartialWriteTakesTheWriteTimeOutAndTheUnitResynchronises) {
    unit.faults().partialWrites = {{2, 1, 5}};
    connectAndGreet();
    pc.write({wire::kSendHandshake});
    ASSERT_EQ(pc.read(16).size(), 16u);
    const Bytes block = frame(0x0040, std::uint8_t{0x77});
    const auto start = clock.now();
    EXPECT_EQ(pc.write(block), 5u);
    EXPECT_EQ(clock.now() - start, 1000ms);
    EXPECT_TRUE(pc.read(16).empty()) << "no frame, no echo";
    EXPECT_TRUE(pc.sendFrame(block)) << "the next write goes through whole";
    EXPECT_EQ(unit.receivedFrames().size(), 1u);
}

TEST_F(BackendTest, UnpluggedEveryCallFails) {
    connectAndGreet();
    unit.faults().unplugAfterOperations = port.operationCount() + 1;
    pc.write({wire::kSendHandshake});
    EXPECT_TRUE(pc.read(16, ftdi::FT_IO_ERROR).empty());
    EXPECT_EQ(pc.write({wire::kSendHandshake}, ftdi::FT_IO_ERROR), 0u);
    const auto now = clock.now();
    EXPECT_EQ(port.FT_SetTimeouts(pc.handle(), 500, 1000), ftdi::FT_IO_ERROR);
    EXPECT_EQ(clock.now(), now) << "a failing call does not wait";
    EXPECT_EQ(port.FT_Close(pc.handle()), ftdi::FT_IO_ERROR);
    EXPECT_FALSE(port.isOpen()) << "the handle is given back all the same";
    EXPECT_EQ(pc.open(), ftdi::FT_DEVICE_NOT_FOUND);

    unit.faults().unplugAfterOperations.reset();
    connectAndGreet();
}

} // namespace
} // namespace rtw::sim
